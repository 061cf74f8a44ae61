#pragma once

#include <string>

namespace launcher {

// Starts the companion executable `pairProduct` in the launcher's place, with this process's own
// command line exactly as it came, and returns the exit code for the launcher: the companion's
// own when `waitForExitCode` is set, else 0 at once. A companion that cannot be started gives 0.
int startPairProduct(const std::u16string& pairProduct, bool waitForExitCode);

}  // namespace launcher
