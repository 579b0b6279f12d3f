#pragma once
// One file of a torrent: its path elements and its size.

#include <cstdint>
#include <string>
#include <vector>

namespace seedlens {

class TTorrentSubFile {
public:
    // Appends one path element (UTF-8); the new element goes last.
    void Add(std::string Element) { FPath.push_back(std::move(Element)); }

    // Element at Index, from 0; empty for an index outside the path.
    const std::string& Path(std::int32_t Index) const;
    // The last element; empty when there is none.
    std::string FileName() const;
    // Every element but the last, each followed by a backslash.
    std::string PathName() const;
    std::string FullPath() const { return PathName() + FileName(); }

    std::int64_t Size() const { return FSize; }
    void SetSize(std::int64_t Size) { FSize = Size; }
    std::int32_t Count() const { return static_cast<std::int32_t>(FPath.size()); }
    // Bytes of memory the path holds, filled or not.
    std::size_t HeldBytes() const {
        std::size_t bytes = FPath.capacity() * sizeof(std::string);
        for (const std::string& element : FPath) bytes += element.capacity();
        return bytes;
    }

private:
    std::vector<std::string> FPath;
    std::int64_t FSize = 0;
};

}  // namespace seedlens
