#pragma once
// Builds bencoded bytes for tests and benchmarks:
//   Dict({{"name", Str("a")}, {"length", Int(5)}})

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace seedlens::test {

inline std::string Str(std::string_view Bytes) { return std::to_string(Bytes.size()) + ":" + std::string(Bytes); }
inline std::string Int(std::int64_t Value) { return "i" + std::to_string(Value) + "e"; }

inline std::string List(const std::vector<std::string>& Items) {
    std::string out = "l";
    for (const std::string& item : Items) out += item;
    return out + "e";
}

// Members are written in the order given: tests need unsorted and repeated keys.
inline std::string Dict(const std::vector<std::pair<std::string, std::string>>& Members) {
    std::string out = "d";
    for (const auto& [key, value] : Members) out += Str(key) + value;
    return out + "e";
}

}  // namespace seedlens::test
