// The bencode reader over arbitrary bytes: it must accept or refuse, never
// crash, leak or read outside the input; an accepted tree must be walkable.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "bencode/bencode_tree.h"

namespace {
// Visits every node, checking what the reader promises of each.
std::size_t Walk(const seedlens::TBEncoded& Node, std::string_view Bytes) {
    const auto size = static_cast<std::int64_t>(Bytes.size());
    std::size_t count = 1;
    if (Node.IsDictionary() &&
        (Node.StreamStartPos() < 0 || Node.StreamEndPos() > size || Node.StreamEndPos() - Node.StreamStartPos() < 2 ||
         Bytes[static_cast<std::size_t>(Node.StreamStartPos())] != 'd' ||
         Bytes[static_cast<std::size_t>(Node.StreamEndPos() - 1)] != 'e'))
        __builtin_trap();
    const std::string_view text = Node.StringData();
    if (!text.empty() && (text.data() < Bytes.data() || text.data() + text.size() > Bytes.data() + Bytes.size()))
        __builtin_trap();
    for (const seedlens::TBEncodedData& entry : Node.ListData()) count += Walk(entry.Data, Bytes);
    return count;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
    const std::string_view bytes(reinterpret_cast<const char*>(Data), Size);
    seedlens::MemoryStream stream(bytes);
    try {
        seedlens::TBEncodedTree tree(stream);
        if (Walk(tree.Root(), bytes) != tree.NodeCount()) __builtin_trap();
        static_cast<void>(tree.Root().IsCanonical());
        if (stream.Position() > stream.Size()) __builtin_trap();
    } catch (const std::exception&) {
    }
    return 0;
}
