#pragma once
// A seekable view of bytes held in memory: the whole loaded file.
// Positions are offsets from the first byte, so they are file offsets.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace seedlens {

class MemoryStream {
public:
    MemoryStream() = default;
    explicit MemoryStream(std::span<const std::byte> bytes) : FBytes(bytes) {}
    explicit MemoryStream(std::string_view bytes)
        : FBytes(reinterpret_cast<const std::byte*>(bytes.data()), bytes.size()) {}
    // The stream only views its bytes: a temporary would be gone at once.
    explicit MemoryStream(std::string&&) = delete;

    // Copies up to Count bytes into Buffer and returns how many were copied.
    std::size_t Read(void* Buffer, std::size_t Count);

    enum class Origin { Beginning, Current };
    // Moves the position; it is clamped to the stream's bounds.
    std::int64_t Seek(std::int64_t Offset, Origin From);

    std::int64_t Position() const { return static_cast<std::int64_t>(FPosition); }
    std::int64_t Size() const { return static_cast<std::int64_t>(FBytes.size()); }

    // The bytes from the current position to the end.
    std::span<const std::byte> Remaining() const { return FBytes.subspan(FPosition); }
    // The bytes between two stream positions; empty if the span lies outside.
    std::span<const std::byte> Slice(std::int64_t Start, std::int64_t End) const;
    std::span<const std::byte> Bytes() const { return FBytes; }

private:
    std::span<const std::byte> FBytes;
    std::size_t FPosition = 0;
};

}  // namespace seedlens
