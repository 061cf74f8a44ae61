#pragma once
// Handing the start to the companion executable (the launcher of the other architecture), and
// knowing when this launcher is that companion.

#include <windows.h>

#include <string>

#include "base/message_owner_win.h"

namespace launcher {

// Whether this launcher was started by another one as its companion. The mark is taken out of the
// environment at once, so that programs the Java application starts do not inherit it.
bool takeCompanionMark();

// Starts the companion executable `pairProduct` (a full path) in the launcher's place, with this
// process's own command line exactly as it came and marked as a companion, and returns the exit
// code for the launcher: the companion's own when `waitForExitCode` is set, else 0 at once. A
// companion that cannot be started is named to the user with the system's reason, and gives -1.
int startPairProduct(const MessageOwner& messageOwner, const std::u16string& pairProduct, bool waitForExitCode);

}  // namespace launcher
