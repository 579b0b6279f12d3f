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

// Runs the action of the first row whose key equals Entry's, byte for byte;
// false when no row matches.
template <typename Walk, std::size_t Rows>
bool DispatchKey(Walk& Walker, const KeyAction<Walk> (&Table)[Rows], const TBEncodedData& Entry) {
    for (const KeyAction<Walk>& row : Table) {
        if (Entry.Header == row.Key) {
            (Walker.*row.Act)(Entry.Data);
            return true;
        }
    }
    return false;
}

}  // namespace seedlens
