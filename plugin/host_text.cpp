#include "plugin/host_text.h"

#include <algorithm>
#include <cstring>

#include "platform/code_pages.h"

namespace seedlens {

namespace {
// No UTF-8 sequence, nor ill-formed part of one, is longer than this.
constexpr std::size_t kMaxSequenceBytes = 4;

bool IsHighSurrogate(char16_t Unit) { return Unit >= 0xD800 && Unit <= 0xDBFF; }
}  // namespace

bool WriteWideText(std::string_view Utf8, void* Buffer, std::int32_t MaxLenBytes) {
    if (Buffer == nullptr || MaxLenBytes < 2) return false;
    const std::size_t room = static_cast<std::size_t>(MaxLenBytes) / 2 - 1;  // units before the terminator
    // Each UTF-16 unit comes from at least one byte.
    const std::u16string text = platform::Utf8ToUtf16(Utf8.substr(0, std::min(Utf8.size(), room * 3 + kMaxSequenceBytes)));
    std::size_t count = std::min({text.size(), room, text.find(u'\0')});
    if (count > 0 && count < text.size() && IsHighSurrogate(text[count - 1])) --count;  // keep pairs whole
    auto* out = static_cast<char16_t*>(Buffer);
    std::memcpy(out, text.data(), count * sizeof(char16_t));
    out[count] = u'\0';
    return true;
}

bool WriteNarrowText(std::string_view Utf8, void* Buffer, std::int32_t MaxLen) {
    if (Buffer == nullptr || MaxLen < 1) return false;
    const std::size_t room = static_cast<std::size_t>(MaxLen) - 1;
    // An output byte never takes more than three input bytes: convert just those.
    const std::string text =
        platform::Utf16ToNarrow(platform::Utf8ToUtf16(Utf8.substr(0, std::min(Utf8.size(), room * 3 + kMaxSequenceBytes))));
    const std::string_view untilZero = std::string_view(text).substr(0, text.find('\0'));
    const std::size_t count = platform::NarrowCharacterBoundary(untilZero, room);
    auto* out = static_cast<char*>(Buffer);
    std::memcpy(out, untilZero.data(), count);
    out[count] = '\0';
    return true;
}

}  // namespace seedlens
