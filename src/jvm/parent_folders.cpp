#include "jvm/parent_folders.h"

#include "base/path.h"

namespace launcher {

namespace {

constexpr std::u16string_view kLongPathPrefix = u"\\\\?\\";
constexpr std::size_t kMaxPath = 260;

bool beginsWithSingleBackslash(std::u16string_view path) {
  return !path.empty() && path[0] == u'\\' && (path.size() < 2 || path[1] != u'\\');
}

}  // namespace

bool isUncPath(std::u16string_view path) {
  return path.size() > 2 && path[0] == u'\\' && path[1] == u'\\' && path[2] != u'?';
}

bool pathExists(std::u16string_view path, FolderOps& ops) {
  return isAbsolutePath(path) && ops.entryExists(path);
}

std::vector<std::u16string> splitPathComponents(std::u16string_view path) {
  std::u16string_view prefix;
  std::u16string_view rest = path;
  if (rest.starts_with(kLongPathPrefix)) {
    prefix = kLongPathPrefix;
    rest.remove_prefix(kLongPathPrefix.size());
  }
  // A UNC root is the server: its own two leading backslashes do not end it.
  const std::size_t rootEnd = rest.find(u'\\', isUncPath(rest) ? 2 : 0);
  std::u16string root(prefix);
  root += rest.substr(0, rootEnd);
  rest = rootEnd == std::u16string_view::npos ? std::u16string_view() : rest.substr(rootEnd + 1);

  std::vector<std::u16string> parts;
  if (!root.empty()) parts.push_back(std::move(root));
  while (!rest.empty()) {
    const std::size_t end = rest.find(u'\\');
    parts.emplace_back(rest.substr(0, end));
    if (end == std::u16string_view::npos) break;
    rest.remove_prefix(end + 1);
  }
  return parts;
}

std::u16string withLongPathPrefixForRemoval(std::u16string_view path) {
  std::u16string result;
  if (path.size() >= kMaxPath && !path.starts_with(kLongPathPrefix)) result = kLongPathPrefix;
  result += path;
  return result;
}

std::uint32_t ensureParentFolders(std::u16string_view path, FolderOps& ops) {
  if (pathExists(path, ops)) return 0;
  const bool unc = isUncPath(path);
  const std::vector<std::u16string> parts = splitPathComponents(path);
  // The root and the file itself are never created; with nothing between them there is no work.
  if (parts.size() < 3) return 0;

  // Every folder tried is a leading part of the path itself: a path that begins with a single
  // backslash is rooted on the current drive, and dropping that backslash would create its
  // folders under the working folder instead.
  std::u16string folder = beginsWithSingleBackslash(path) ? u"\\" + parts[0] : parts[0];
  bool folderCreatedHere = false;
  std::uint32_t lastCode = 0;
  for (std::size_t i = 1; i + 1 < parts.size(); ++i) {
    const std::u16string next = folder + u"\\" + parts[i];
    const std::uint32_t code = ops.createFolder(next);
    if (code != 0 && code != kErrorAlreadyExists && !unc) {
      // Only the level just above, and only if this call made it; removal fails on a folder that
      // is not empty, so nothing the user had there is lost.
      if (i > 1 && folderCreatedHere) ops.removeFolder(withLongPathPrefixForRemoval(folder));
      return code;
    }
    // The outcome of the deepest level counts: once a folder below them exists, the share and
    // server levels that could not be created have done no harm.
    lastCode = code == kErrorAlreadyExists ? 0 : code;
    folderCreatedHere = code == 0;
    folder = next;
  }
  return lastCode;
}

}  // namespace launcher
