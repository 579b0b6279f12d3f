#pragma once
// Writing test bytes as hex: Hex("e6 97 a5").

#include <string>
#include <string_view>

namespace seedlens::test {

inline std::string Hex(std::string_view Digits) {
    std::string out;
    int high = -1;
    for (char c : Digits) {
        int v = (c >= '0' && c <= '9') ? c - '0' : (c >= 'a' && c <= 'f') ? c - 'a' + 10 : (c >= 'A' && c <= 'F') ? c - 'A' + 10 : -1;
        if (v < 0) continue;
        if (high < 0) {
            high = v;
        } else {
            out.push_back(static_cast<char>(high * 16 + v));
            high = -1;
        }
    }
    return out;
}

}  // namespace seedlens::test
