#pragma once
// The small path rules the launcher applies to Windows paths held as UTF-16 text. They look only
// at the text, never at the file system, so "C:\a" and "C:\a\" stay different paths here.

#include <string>
#include <string_view>

namespace launcher {

// `path` up to, not including, its last "\"; empty when it has none (or only a leading one).
// Only "\" counts: the module path the system reports never holds "/".
std::u16string_view folderOf(std::u16string_view path);

// `path` after its last "\" or "/", since Windows accepts either in a path a person typed; the
// whole path when it has neither, and empty when it ends in one.
std::u16string_view fileNameOf(std::u16string_view path);

// `folder` with a "\" at its end unless it already has one; an empty folder gives "\".
std::u16string withTrailingBackslash(std::u16string_view folder);

// `name` inside `folder`: withTrailingBackslash(folder) followed by `name`, so a folder given
// with its trailing "\" does not double it.
std::u16string joinPath(std::u16string_view folder, std::u16string_view name);

// True for a path that names its drive ("C:..." , "c:" alone included) or begins with "\\" (a
// server, or the long-path prefix "\\?\"); a path rooted at "\" alone depends on the current
// drive and is not absolute.
bool isAbsolutePath(std::u16string_view path);

// `path` as a path inside `folder` (the launcher's, say), whatever the current folder: an absolute
// path as it is, one rooted at "\" or "/" on the folder's drive or share, any other joined to the
// folder. "/" counts as "\" throughout, as Windows reads it. A path naming a drive but no root
// ("D:app") is left as it is, and so is everything when the folder is empty.
std::u16string anchoredPath(std::u16string_view folder, std::u16string_view path);

// `path` less its last `count` components, each cut at the last "\" (which goes too). Cutting
// stops at a path without a "\", which stays as it is: "jvm.dll" less one component is "jvm.dll".
std::u16string_view withoutLastComponents(std::u16string_view path, int count);

}  // namespace launcher
