#pragma once
// Creating the folders on the way to a file before the file is opened, for drive paths
// (C:\...), UNC paths (\\server\share\...) and paths with the long-path prefix "\\?\". The file
// system is reached through FolderOps, so the walk and its clean-up can be run on a fake one.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace launcher {

// The few Windows error codes the walk tells apart.
inline constexpr std::uint32_t kErrorAlreadyExists = 183;

// What the walk needs of the file system.
class FolderOps {
 public:
  virtual ~FolderOps() = default;
  // True when a directory search for exactly `path` finds an entry (file or folder).
  virtual bool entryExists(std::u16string_view path) = 0;
  // Creates the folder `path`: 0 on success, otherwise the system's error code (183 when
  // something of that name is already there).
  virtual std::uint32_t createFolder(std::u16string_view path) = 0;
  // Removes the folder `path`, which succeeds only when it is empty.
  virtual bool removeFolder(std::u16string_view path) = 0;
};

// True for \\server...: more than two characters, two backslashes, and no "?" as the third,
// which would make it the long-path prefix.
bool isUncPath(std::u16string_view path);

// True when `path` is absolute (isAbsolutePath: it names its drive or server) and an entry of
// exactly that name exists; a relative path is taken as missing without a look-up.
bool pathExists(std::u16string_view path, FolderOps& ops);

// The root (C:, \\server, \\?\C:, \\?\UNC, or for a relative path its first component) followed
// by the components; a path that begins with a single backslash gives the components alone.
// Empty components between two backslashes are kept; nothing follows a trailing backslash.
std::vector<std::u16string> splitPathComponents(std::u16string_view path);

// `path` as it must reach the system for removal: 260 characters or more need the long-path
// prefix, which is added unless it is already there.
std::u16string withLongPathPrefixForRemoval(std::u16string_view path);

// Creates the missing folders above the last component of `path`, which is never created.
// 0 when the path already exists or every folder before its last component exists afterwards;
// otherwise the system's error code. On a local path the first level that cannot be created
// stops the walk, and the level above it is removed again only if this call created it and it is
// empty; a folder that existed before is never removed. On a UNC path failures are passed over,
// since the server and share levels cannot be created.
std::uint32_t ensureParentFolders(std::u16string_view path, FolderOps& ops);

}  // namespace launcher
