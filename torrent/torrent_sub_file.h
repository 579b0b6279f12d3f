#pragma once
// One file of a torrent: its path elements and its size. The first element
// is kept apart from the others: most paths, and the one file of every
// single-file torrent, have only one.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace seedlens {

class TTorrentSubFile {
public:
    // Appends one path element (UTF-8); the new element goes last.
    void Add(std::string Element);

    // Element at Index, from 0; empty for an index outside the path.
    const std::string& Path(std::int32_t Index) const;
    // The last element; empty when there is none.
    std::string FileName() const;
    // Every element but the last, each followed by a backslash.
    std::string PathName() const;
    std::string FullPath() const { return PathName() + FileName(); }

    std::int64_t Size() const { return FSize; }
    void SetSize(std::int64_t Size) { FSize = Size; }
    std::int32_t Count() const { return FCount; }
    // A padding file of a "files" list: kept in the list, but no real file.
    bool IsPadding() const { return FPadding; }
    void SetPadding(bool Padding) { FPadding = Padding; }
    // Bytes of memory the path holds, filled or not.
    std::size_t HeldBytes() const;

private:
    std::string FFirst;
    std::vector<std::string> FOthers;  // the elements after the first
    std::int32_t FCount = 0;
    std::int64_t FSize = 0;
    bool FPadding = false;
};

}  // namespace seedlens
