#pragma once
// Dispatch on dictionary keys through a table: every key a walk knows, and
// what it does with the value, stand together in one place.

#include <string_view>

#include "bencode/bencoded.h"

namespace seedlens {

template <typename Walk>
struct KeyAction {
    std::string_view Key;
    void (Walk::*Act)(const TBEncoded&);
};

// Keys are short and most rows differ in length or first byte: compared in
// line, they cost a few instructions, not a call to memcmp per row.
inline bool SameKey(std::string_view Header, std::string_view Key) {
    if (Header.size() != Key.size()) return false;
    for (std::size_t i = 0; i < Key.size(); ++i)
        if (Header[i] != Key[i]) return false;
    return true;
}

// Runs the action of the first row whose key equals Entry's, byte for byte;
// false when no row matches.
template <typename Walk, std::size_t Rows>
bool DispatchKey(Walk& Walker, const KeyAction<Walk> (&Table)[Rows], const TBEncodedData& Entry) {
    for (const KeyAction<Walk>& row : Table) {
        if (SameKey(Entry.Header, row.Key)) {
            (Walker.*row.Act)(Entry.Data);
            return true;
        }
    }
    return false;
}

}  // namespace seedlens
