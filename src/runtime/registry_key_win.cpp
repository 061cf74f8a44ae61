#include "runtime/registry_key_win.h"

#include <algorithm>

#include "base/wide.h"
#include "runtime/registry_value.h"

namespace launcher {

RegistryKey::RegistryKey(std::u16string_view path, bool view64, HKEY root) {
  // The search forms key names with a closing backslash so that subkey names can be appended;
  // the registry wants the name without it.
  std::u16string name(path);
  while (!name.empty() && name.back() == u'\\') name.pop_back();
  REGSAM access = KEY_READ | (view64 ? KEY_WOW64_64KEY : 0);
  HKEY key = nullptr;
  if (::RegOpenKeyExW(root, as_wcstr(name), 0, access, &key) == ERROR_SUCCESS) key_.reset(key);
}

std::vector<std::u16string> RegistryKey::subkeyNames() const {
  std::vector<std::u16string> names;
  if (!key_) return names;
  for (DWORD index = 0;; ++index) {
    char16_t name[MAX_PATH];
    DWORD length = MAX_PATH;
    if (::RegEnumKeyExW(key_.get(), index, as_writable_wcstr(name), &length, nullptr, nullptr, nullptr, nullptr) !=
        ERROR_SUCCESS) {
      break;
    }
    names.emplace_back(name, length);
  }
  return names;
}

std::optional<std::u16string> RegistryKey::readString(std::u16string_view valueName) const {
  if (!key_) return std::nullopt;
  std::u16string value(valueName);
  DWORD bytes = 0;
  if (::RegQueryValueExW(key_.get(), as_wcstr(value), nullptr, nullptr, nullptr, &bytes) != ERROR_SUCCESS ||
      bytes == 0) {
    return std::nullopt;
  }
  std::vector<unsigned char> data(bytes);
  DWORD size = bytes;
  if (::RegQueryValueExW(key_.get(), as_wcstr(value), nullptr, nullptr, data.data(), &size) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  return stringFromRegistryData(std::span(data.data(), std::min<size_t>(size, data.size())));
}

std::optional<std::u16string> readShortUserString(std::u16string_view keyPath, std::u16string_view valueName,
                                                  size_t maxLength) {
  std::u16string path(keyPath), name(valueName);
  UniqueKey key;
  if (::RegOpenKeyExW(HKEY_CURRENT_USER, as_wcstr(path), 0, KEY_QUERY_VALUE, key.put()) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  // Room for the longest accepted text and its NUL; anything longer does not fit and is refused.
  std::u16string data(maxLength + 1, u'\0');
  DWORD type = 0, bytes = static_cast<DWORD>(data.size() * sizeof(char16_t));
  if (::RegQueryValueExW(key.get(), as_wcstr(name), nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &bytes) !=
          ERROR_SUCCESS ||
      type != REG_SZ) {
    return std::nullopt;
  }
  data.resize(bytes / sizeof(char16_t));
  if (size_t end = data.find(u'\0'); end != std::u16string::npos) data.resize(end);
  if (data.size() > maxLength) return std::nullopt;
  return data;
}

}  // namespace launcher
