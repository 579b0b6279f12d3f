#include "tools/terminal_text.h"

#include <cstdio>

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

// The length of the well-formed UTF-8 sequence at the start of Text, or 0.
std::size_t SequenceLength(std::string_view Text) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(Text[i]); };
    const unsigned lead = byte(0);
    std::size_t length = 0;
    unsigned low = 0x80, high = 0xBF;  // allowed range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) length = 2;
    else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;  // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return 0;
    }
    if (Text.size() < length || byte(1) < low || byte(1) > high) return 0;
    for (std::size_t i = 2; i < length; ++i)
        if (byte(i) < 0x80 || byte(i) > 0xBF) return 0;
    return length;
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
        const std::size_t length = SequenceLength(Utf8);
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
