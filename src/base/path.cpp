#include "base/path.h"

namespace launcher {

std::u16string_view folderOf(std::u16string_view path) {
  const std::size_t slash = path.rfind(u'\\');
  return slash == std::u16string_view::npos ? std::u16string_view() : path.substr(0, slash);
}

std::u16string_view fileNameOf(std::u16string_view path) {
  const std::size_t slash = path.find_last_of(u"\\/");
  return slash == std::u16string_view::npos ? path : path.substr(slash + 1);
}

std::u16string withTrailingBackslash(std::u16string_view folder) {
  std::u16string result(folder);
  if (result.empty() || result.back() != u'\\') result.push_back(u'\\');
  return result;
}

std::u16string joinPath(std::u16string_view folder, std::u16string_view name) {
  std::u16string result = withTrailingBackslash(folder);
  result.append(name);
  return result;
}

bool isAbsolutePath(std::u16string_view path) {
  return (path.size() >= 2 && path[1] == u':') || path.starts_with(u"\\\\");
}

std::u16string_view withoutLastComponents(std::u16string_view path, int count) {
  for (int i = 0; i < count; ++i) {
    const std::size_t slash = path.rfind(u'\\');
    if (slash == std::u16string_view::npos) break;
    path = path.substr(0, slash);
  }
  return path;
}

}  // namespace launcher
