#pragma once
// Windows' wide strings and ours: both 16-bit units, so a view converts in
// place. Only the Windows implementations include this.

#include <string>
#include <string_view>

namespace seedlens::platform {

inline const wchar_t* AsWide(const char16_t* Text) { return reinterpret_cast<const wchar_t*>(Text); }
inline wchar_t* AsWide(char16_t* Text) { return reinterpret_cast<wchar_t*>(Text); }
inline int Length(std::size_t Count) { return Count > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<int>(Count); }

}  // namespace seedlens::platform
