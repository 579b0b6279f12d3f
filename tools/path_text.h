#pragma once
// A path as the text the command passes on: its bytes on POSIX, UTF-8 on
// Windows (what std::filesystem's u8string gives on each).

#include <filesystem>
#include <string>

namespace seedlens::tool {

inline std::string PathText(const std::filesystem::path& Path) {
    const auto text = Path.u8string();
    return std::string(text.begin(), text.end());
}

}  // namespace seedlens::tool
