#pragma once
// A set of enumeration members held in one byte, each member a bit value.

#include <cstdint>
#include <initializer_list>

namespace seedlens {

template <typename Kind>
class FlagSet {
public:
    constexpr FlagSet() = default;
    constexpr FlagSet(std::initializer_list<Kind> Members) {
        for (Kind member : Members) Include(member);
    }

    constexpr bool Has(Kind Member) const { return (FBits & Bit(Member)) != 0; }
    constexpr void Include(Kind Member) { FBits = static_cast<std::uint8_t>(FBits | Bit(Member)); }
    constexpr void Exclude(Kind Member) { FBits = static_cast<std::uint8_t>(FBits & ~Bit(Member)); }
    constexpr std::uint8_t Bits() const { return FBits; }
    constexpr bool Empty() const { return FBits == 0; }
    friend constexpr bool operator==(FlagSet, FlagSet) = default;

private:
    static constexpr std::uint8_t Bit(Kind Member) { return static_cast<std::uint8_t>(Member); }
    std::uint8_t FBits = 0;
};

}  // namespace seedlens
