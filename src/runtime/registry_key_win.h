#pragma once
// One open registry key, read-only, in the registry view the search asks for.

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/handle_owners_win.h"

namespace launcher {

class RegistryKey {
 public:
  // Opens `root`\`path` (HKEY_LOCAL_MACHINE unless told otherwise) for reading; in the 64-bit
  // view when `view64` is set, else in the process's own. A key that cannot be opened leaves an
  // object that yields nothing.
  RegistryKey(std::u16string_view path, bool view64, HKEY root = HKEY_LOCAL_MACHINE);

  bool isOpen() const { return static_cast<bool>(key_); }

  // The subkeys' names in the order the registry gives them.
  std::vector<std::u16string> subkeyNames() const;

  // A string value up to its first NUL; nothing when it is missing or has no data. The value's
  // type is not checked: installers have written JavaHome in more than one form.
  std::optional<std::u16string> readString(std::u16string_view valueName) const;

 private:
  UniqueKey key_;
};

// The text of the string value `valueName` of HKEY_CURRENT_USER\`keyPath`, when it is a string of
// at most `maxLength` characters; nothing for a missing key or value, another type, or a longer
// text. Data without its closing NUL is read up to its end and no further.
std::optional<std::u16string> readShortUserString(std::u16string_view keyPath, std::u16string_view valueName,
                                                  size_t maxLength);

}  // namespace launcher
