#pragma once
// The class path the VM is given: the "Class Path" setting split at ";", each entry expanded, an
// absolute file taken as written, and everything else (relative entries, wildcards) listed from
// the file system, so "\lib\*.jar" names every jar of the launcher's lib folder. The expansion
// and the listing come from the caller, so the rules can be checked without Windows.

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace launcher {

// The entries of the "Class Path" setting: every ";" ends an entry, empty entries between two
// separators are kept, a final ";" adds no empty entry, and an empty value has none.
std::vector<std::u16string> splitClassPath(std::u16string_view value);

// `text` with its environment references expanded; the text as written when that fails.
using ExpandText = std::function<std::u16string(std::u16string_view text)>;
// The names (not paths) of the files and folders matching `pattern`, in the order the file system
// lists them, "." and ".." included when the pattern matches them; none when nothing matches.
using EnumerateNames = std::function<std::vector<std::u16string>(std::u16string_view pattern)>;

// The class path text for `entries`, every element followed by ";". Each entry is expanded first.
// An entry with a drive ("C:...") or a UNC path ("\\server\...") is absolute (isAbsolutePath);
// anything else is taken relative to the launcher's folder. An absolute entry without "*" is taken
// as written, whether it exists or not. Any other entry is a search pattern (a relative one under
// `launcherFolder`, which has no trailing backslash), and contributes each match as the pattern's
// folder part and the matched name; an entry that matches nothing contributes nothing. Matches
// are not filtered, so "lib\*" lists "." and ".." as well.
//
// A relative entry is joined to the launcher folder with a backslash unless it already begins
// with "\" or "/": "lib\app.jar" and "\lib\app.jar" both name the jar in the launcher's lib
// folder. An empty entry (between two ";") is the launcher folder itself, which the listing
// finds as a folder of that name. The folder part of a pattern ends at its last "\" or "/", since
// Windows accepts either.
std::u16string buildClassPath(const std::vector<std::u16string>& entries, std::u16string_view launcherFolder,
                              const ExpandText& expand, const EnumerateNames& enumerate);

// The class path with the launcher's own executable first, for an application whose jar is
// embedded in the executable ("Embedded Jar").
std::u16string prependEmbeddedJar(std::u16string_view classPath, std::u16string_view executablePath);

// `list` with each ";"-separated element passed through `convert` (to a form the runtime can
// take). An element it gives nothing for stays as written, and the first such lands in `failed`.
using ConvertPath = std::function<std::optional<std::u16string>(std::u16string_view path)>;
std::u16string convertPathList(std::u16string_view list, const ConvertPath& convert, std::u16string& failed);

// The option that hands the class path to the VM, without empty elements: the VM would read one
// (a final ";" included) as the current folder, and load classes from wherever the user started
// the launcher.
std::u16string classPathOption(std::u16string_view classPath);

}  // namespace launcher
