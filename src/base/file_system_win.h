#pragma once
// The file system as the launcher asks it: names matching a pattern, whether a file exists or can
// be read, a small file's bytes, full paths, and whether two paths name one file.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace launcher {

// The names of the files and folders matching `pattern` (FindFirstFileW/FindNextFileW), in the
// order the file system lists them.
std::vector<std::u16string> findFileNames(std::u16string_view pattern);

// Whether a file or folder of that name exists (a find-first-file succeeds).
bool pathFound(std::u16string_view path);

// 0 when the file can be opened for reading, else the system's error code (2 for a missing file,
// 5 when access is denied).
std::uint32_t fileReadError(std::u16string_view path);

// The bytes of a small file; nothing when it cannot be read or holds more than `maxBytes`.
std::optional<std::string> readSmallFile(std::u16string_view path, size_t maxBytes);

// `path` as a full path (GetFullPathNameW): "." and ".." resolved, "/" read as "\". A relative
// path is taken against the current folder, so callers anchor it first. The path as given when
// the system cannot say.
std::u16string fullPathName(std::u16string_view path);

// Whether the two paths name one file: the same volume and file index, so a short name, another
// spelling or a second link to the file counts. When either cannot be opened, their full paths
// are compared without regard to ASCII case.
bool isSameFile(std::u16string_view a, std::u16string_view b);

}  // namespace launcher
