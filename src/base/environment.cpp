#include "base/environment.h"

#include <windows.h>

#include "base/wide.h"
#include "base/win_owners.h"

namespace launcher {

std::u16string expandEnvironment(std::u16string_view text) {
  std::u16string source(text);
  DWORD size = ::ExpandEnvironmentStringsW(as_wcstr(source), nullptr, 0);
  if (size == 0) return source;
  std::u16string expanded(size, u'\0');
  DWORD written = ::ExpandEnvironmentStringsW(as_wcstr(source), as_writable_wcstr(expanded), size);
  // The value may have grown between the two calls; then the first text is as good as any.
  if (written == 0 || written > size) return source;
  expanded.resize(written - 1);
  return expanded;
}

std::u16string environmentValue(std::u16string_view name, size_t maxLength) {
  std::u16string nameText(name);
  std::u16string value(maxLength + 1, u'\0');
  DWORD length = ::GetEnvironmentVariableW(as_wcstr(nameText), as_writable_wcstr(value),
                                           static_cast<DWORD>(value.size()));
  if (length == 0 || length > maxLength) return {};
  value.resize(length);
  return value;
}

std::vector<std::u16string> findFileNames(std::u16string_view pattern) {
  std::vector<std::u16string> names;
  std::u16string patternText(pattern);
  WIN32_FIND_DATAW data;
  UniqueFindHandle find(::FindFirstFileW(as_wcstr(patternText), &data));
  if (!find) return names;
  do {
    names.emplace_back(as_u16view(data.cFileName));
  } while (::FindNextFileW(find.get(), &data));
  return names;
}

bool pathFound(std::u16string_view path) {
  std::u16string pathText(path);
  WIN32_FIND_DATAW data;
  UniqueFindHandle find(::FindFirstFileW(as_wcstr(pathText), &data));
  return static_cast<bool>(find);
}

}  // namespace launcher
