#include "tools/terminal_text.h"

#include <cstdio>

#include "platform/utf_codec.h"

namespace seedlens::tool {

namespace {

void AppendHex(std::string& Out, unsigned Value) {
    char text[8];
    std::snprintf(text, sizeof text, "\\x%02x", Value);
    Out += text;
}

void AppendControl(std::string& Out, unsigned Code) {
    switch (Code) {
        case 0x07: Out += "\\a"; return;
        case 0x08: Out += "\\b"; return;
        case 0x09: Out += "\\t"; return;
        case 0x0A: Out += "\\n"; return;
        case 0x0B: Out += "\\v"; return;
        case 0x0C: Out += "\\f"; return;
        case 0x0D: Out += "\\r"; return;
        case 0x1B: Out += "\\e"; return;
        default: AppendHex(Out, Code);
    }
}

}  // namespace

std::string EscapeControls(std::string_view Utf8) {
    std::string out;
    out.reserve(Utf8.size());
    while (!Utf8.empty()) {
        const auto lead = static_cast<unsigned char>(Utf8[0]);
        if (lead < 0x80) {
            if (lead < 0x20 || lead == 0x7F) AppendControl(out, lead);
            else out += static_cast<char>(lead);
            Utf8.remove_prefix(1);
            continue;
        }
        const std::size_t length = platform::WellFormedUtf8Length(Utf8);
        if (length == 0) {
            AppendHex(out, lead);
            Utf8.remove_prefix(1);
        } else if (length == 2 && lead == 0xC2 && static_cast<unsigned char>(Utf8[1]) <= 0x9F) {
            AppendHex(out, static_cast<unsigned char>(Utf8[1]));  // C1: U+0080 to U+009F
            Utf8.remove_prefix(2);
        } else {
            out.append(Utf8.substr(0, length));
            Utf8.remove_prefix(length);
        }
    }
    return out;
}

}  // namespace seedlens::tool
