#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace launcher {

// `text` with its %NAME% references replaced by the process environment's values, by the rules
// of base/env_expand.h and without a length limit; the text as written when a variable cannot be
// read consistently.
std::u16string expandEnvironment(std::u16string_view text);

// The value of environment variable `name`; empty when it is not set. A value longer than
// `maxLength` characters counts as not set, so a cut value is never used as a path.
std::u16string environmentValue(std::u16string_view name, size_t maxLength);

// The names of the files and folders matching `pattern` (FindFirstFileW/FindNextFileW), in the
// order the file system lists them.
std::vector<std::u16string> findFileNames(std::u16string_view pattern);

// Whether a file or folder of that name exists (a find-first-file succeeds).
bool pathFound(std::u16string_view path);

}  // namespace launcher
