#include "base/ansi_text_win.h"

#include <windows.h>

#include "base/wide.h"

namespace launcher {

std::string toThreadAnsi(std::u16string_view text) {
  if (text.empty()) return {};
  std::u16string source(text);
  int length = ::WideCharToMultiByte(CP_THREAD_ACP, 0, as_wcstr(source), static_cast<int>(source.size()), nullptr, 0,
                                     nullptr, nullptr);
  if (length <= 0) return {};
  std::string converted(static_cast<size_t>(length), '\0');
  ::WideCharToMultiByte(CP_THREAD_ACP, 0, as_wcstr(source), static_cast<int>(source.size()), converted.data(), length,
                        nullptr, nullptr);
  return converted;
}

namespace {

std::u16string fromAnsi(UINT codePage, std::string_view text) {
  if (text.empty()) return {};
  int length = ::MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  if (length <= 0) return {};
  std::u16string converted(static_cast<size_t>(length), u'\0');
  ::MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), as_writable_wcstr(converted), length);
  return converted;
}

}  // namespace

std::u16string fromThreadAnsi(std::string_view text) { return fromAnsi(CP_THREAD_ACP, text); }

std::u16string fromSystemAnsi(std::string_view text) { return fromAnsi(CP_ACP, text); }

std::optional<std::u16string> ansiSafePath(std::u16string_view path) {
  auto survives = [](std::u16string_view text) { return fromThreadAnsi(toThreadAnsi(text)) == text; };
  if (survives(path)) return std::u16string(path);
  std::u16string full(path);
  DWORD size = ::GetShortPathNameW(as_wcstr(full), nullptr, 0);
  if (size == 0) return std::nullopt;
  std::u16string shortPath(size, u'\0');
  DWORD length = ::GetShortPathNameW(as_wcstr(full), as_writable_wcstr(shortPath), size);
  if (length == 0 || length >= size) return std::nullopt;
  shortPath.resize(length);
  if (!survives(shortPath)) return std::nullopt;
  return shortPath;
}

}  // namespace launcher
