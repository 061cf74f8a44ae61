#include "settings/profile_file_win.h"

#include <windows.h>

#include "base/wide.h"
#include "settings/profile_read.h"

namespace launcher {

std::optional<std::u16string> ProfileFile::readPlain(std::u16string_view section, std::u16string_view key) const {
  std::u16string sectionText(section), keyText(key);
  return readGrowing([&](char16_t* buffer, size_t size) -> size_t {
    return ::GetPrivateProfileStringW(as_wcstr(sectionText), as_wcstr(keyText), L"",
                                      as_writable_wcstr(buffer), static_cast<DWORD>(size),
                                      as_wcstr(path_));
  });
}

std::optional<std::u16string> ProfileFile::readLayered(std::u16string_view section, std::u16string_view key,
                                                       bool tokenList) const {
  std::optional<std::u16string> own = readPlain(section, key);
  if (!own || !own->empty()) return own;
  return layeredRead(own, readPlain(plusSectionName(section), key), tokenList);
}

}  // namespace launcher
