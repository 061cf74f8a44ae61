#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace launcher {

// The launcher's own full path. When Windows cannot give it (or it does not fit the 260
// characters the launcher's paths are made for), the user is told with message 202/208 and the
// operation that needed it fails.
std::optional<std::u16string> launcherModulePath(HWND messageOwner);

// The launcher's folder with its closing backslash; nothing when the path cannot be had (the
// user has been told) or names no folder.
std::optional<std::u16string> launcherFolderPath(HWND messageOwner);

}  // namespace launcher
