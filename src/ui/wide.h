#pragma once
// The core keeps text as char16_t, the Windows API as wchar_t; on Windows both are UTF-16 code
// units, so the conversion is a cast.

#include <string>
#include <string_view>

namespace qlp {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "the Windows program needs 16-bit wchar_t");

inline const wchar_t* wide(const std::u16string& s) {
    return reinterpret_cast<const wchar_t*>(s.c_str());
}
inline const wchar_t* wide(const char16_t* s) {
    return reinterpret_cast<const wchar_t*>(s);
}
inline std::wstring toWide(std::u16string_view s) {
    return std::wstring(reinterpret_cast<const wchar_t*>(s.data()), s.size());
}
inline std::u16string toU16(std::wstring_view s) {
    return std::u16string(reinterpret_cast<const char16_t*>(s.data()), s.size());
}

} // namespace qlp
