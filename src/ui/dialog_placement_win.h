#pragma once
// Where the launcher's dialogs open: centred over their owner when the user can see it,
// otherwise over the work area of the monitor nearest to them, and always inside that work area.

#include <windows.h>

namespace launcher {

void centreDialog(HWND dialog);

}  // namespace launcher
