#include "plugin/host_text.h"

#include <cstring>

#include "platform/code_pages.h"

namespace seedlens {

namespace {
// The copy rule ends a text at its first zero character; in UTF-8 that is
// exactly its first zero byte.
std::string_view UntilZero(std::string_view Utf8) { return Utf8.substr(0, Utf8.find('\0')); }
}  // namespace

bool WriteWideText(std::string_view Utf8, void* Buffer, std::int32_t MaxLenBytes) {
    if (Buffer == nullptr || MaxLenBytes < 2) return false;
    const std::size_t room = static_cast<std::size_t>(MaxLenBytes) / 2 - 1;  // units before the terminator
    // The host's buffer may lie at any address: nothing here assumes it is
    // aligned for char16_t.
    const std::size_t written = platform::Utf8ToUtf16Into(UntilZero(Utf8), Buffer, room);
    constexpr char16_t kTerminator = u'\0';
    std::memcpy(static_cast<char*>(Buffer) + written * sizeof(char16_t), &kTerminator, sizeof kTerminator);
    return true;
}

bool WriteNarrowText(std::string_view Utf8, void* Buffer, std::int32_t MaxLen) {
    if (Buffer == nullptr || MaxLen < 1) return false;
    auto* out = static_cast<char*>(Buffer);
    out[platform::Utf8ToNarrowInto(UntilZero(Utf8), out, static_cast<std::size_t>(MaxLen) - 1)] = '\0';
    return true;
}

}  // namespace seedlens
