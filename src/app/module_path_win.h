#pragma once
// The launcher's own path, as Windows gives it: the start of everything the launcher finds.

#include <windows.h>

#include <optional>
#include <string>

#include "base/message_owner_win.h"

namespace launcher {

// The launcher's own full path, however long. When Windows cannot give it, the user is told with
// IDS_SYSTEM_CALL_FAILED and IDS_OWN_PATH_UNAVAILABLE, and the start cannot go on.
std::optional<std::u16string> launcherModulePath(const MessageOwner& messageOwner);

}  // namespace launcher
