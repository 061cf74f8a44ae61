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

namespace {

bool isSeparator(char16_t c) { return c == u'\\' || c == u'/'; }

// The drive ("C:") or share ("\\server\share") that `folder` lies on; empty when it names neither.
std::u16string_view rootOf(std::u16string_view folder) {
  if (folder.size() >= 2 && folder[1] == u':') return folder.substr(0, 2);
  if (folder.size() > 2 && isSeparator(folder[0]) && isSeparator(folder[1])) {
    size_t server = folder.find_first_of(u"\\/", 2);
    if (server == std::u16string_view::npos) return folder;
    size_t share = folder.find_first_of(u"\\/", server + 1);
    return folder.substr(0, share);
  }
  return {};
}

}  // namespace

std::u16string anchoredPath(std::u16string_view folder, std::u16string_view path) {
  if (path.empty() || folder.empty()) return std::u16string(path);
  if (path.size() >= 2 && path[1] == u':') return std::u16string(path);
  if (isSeparator(path[0])) {
    if (path.size() >= 2 && isSeparator(path[1])) return std::u16string(path);
    std::u16string rooted(rootOf(folder));
    return rooted.empty() ? std::u16string(path) : rooted.append(path);
  }
  return joinPath(folder, path);
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
