// The bencode reader over arbitrary bytes: it must accept or refuse, never
// crash, leak or read outside the input; an accepted tree must be walkable.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "bencode/bencode_tree.h"

namespace {
// Visits every node, checking what the reader promises of each.
std::size_t Walk(const seedlens::TBEncoded& Node, std::int64_t Size) {
    std::size_t count = 1;
    if (Node.IsDictionary() && (Node.StreamStartPos() < 0 || Node.StreamEndPos() > Size ||
                                Node.StreamEndPos() - Node.StreamStartPos() < 2))
        __builtin_trap();
    for (const seedlens::TBEncodedData& entry : Node.ListData()) count += Walk(entry.Data, Size);
    return count;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
    const std::string_view bytes(reinterpret_cast<const char*>(Data), Size);
    seedlens::MemoryStream stream(bytes);
    try {
        seedlens::TBEncodedTree tree(stream);
        if (Walk(tree.Root(), stream.Size()) != tree.NodeCount()) __builtin_trap();
        if (stream.Position() > stream.Size()) __builtin_trap();
    } catch (const std::exception&) {
    }
    return 0;
}
