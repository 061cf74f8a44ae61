#pragma once
// What the Java program and its children see of the chosen runtime before the runtime is
// loaded: QV_JVM_PATH, QV_JVM_HOME, the process Path, and the native library path option.

#include <string>
#include <string_view>
#include <vector>

#include "settings/launcher_settings.h"

namespace launcher {

// Sets the environment for the runtime at `jvmDllPath` and, when "Library Path" is set, appends
// the library path option to `vmOptions`. `launcherFolder` ends in a backslash; when it is
// unknown (empty) the library path lacks that element.
void prepareJavaEnvironment(const std::u16string& jvmDllPath, const LauncherSettings& settings,
                            std::u16string_view launcherFolder, std::vector<std::string>& vmOptions);

}  // namespace launcher
