#pragma once
// The launcher keeps its text as UTF-16 in std::u16string. Windows spells the same code units
// wchar_t; these helpers are the one place where one is viewed as the other, at the Win32 call.

#include <string>
#include <string_view>

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows wide characters are UTF-16 code units");

namespace launcher {

inline const wchar_t* as_wcstr(const char16_t* text) { return reinterpret_cast<const wchar_t*>(text); }
inline const wchar_t* as_wcstr(const std::u16string& text) { return as_wcstr(text.c_str()); }
inline wchar_t* as_writable_wcstr(std::u16string& text) { return reinterpret_cast<wchar_t*>(text.data()); }
inline wchar_t* as_writable_wcstr(char16_t* text) { return reinterpret_cast<wchar_t*>(text); }

inline const char16_t* as_u16cstr(const wchar_t* text) { return reinterpret_cast<const char16_t*>(text); }
inline std::u16string_view as_u16view(const wchar_t* text, size_t length) {
  return {as_u16cstr(text), length};
}
inline std::u16string_view as_u16view(const wchar_t* text) {
  return text ? std::u16string_view(as_u16cstr(text)) : std::u16string_view();
}

}  // namespace launcher
