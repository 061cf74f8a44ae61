#pragma once
// The `release` file in a runtime's home folder: lines of KEY="value" that say which runtime it
// is, for runtimes that no registry key describes (one named by path, or shipped beside the
// launcher).

#include <optional>
#include <string>
#include <string_view>

#include "runtime/java_version.h"

namespace launcher {

// The value of `key` in the text of a release file, without its quotes; nothing when no line sets
// it. A line is KEY=value or KEY="value"; the first line for the key counts.
std::optional<std::string> releaseValue(std::string_view releaseText, std::string_view key);

// The runtime's version as its release file states it (JAVA_VERSION); nothing when the line is
// missing or does not read as a version.
std::optional<JavaVersion> releaseJavaVersion(std::string_view releaseText);

// Whether a release file's text names IBM as the runtime's implementor, whose runtimes end the
// program only through System.exit.
bool isIbmRelease(std::string_view releaseText);

}  // namespace launcher
