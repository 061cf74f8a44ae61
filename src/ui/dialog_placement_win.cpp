#include "ui/dialog_placement_win.h"

#include "ui/window_placement.h"

namespace launcher {
namespace {

ScreenRect screenRect(const RECT& rect) { return {rect.left, rect.top, rect.right, rect.bottom}; }

}  // namespace

void centreDialog(HWND dialog) {
  HWND owner = ::GetWindow(dialog, GW_OWNER);
  bool overOwner = owner && ::IsWindowVisible(owner) && !::IsIconic(owner);
  MONITORINFO monitor{};
  monitor.cbSize = sizeof(monitor);
  if (!::GetMonitorInfoW(::MonitorFromWindow(overOwner ? owner : dialog, MONITOR_DEFAULTTONEAREST), &monitor)) return;
  RECT area = monitor.rcWork;
  if (overOwner) ::GetWindowRect(owner, &area);
  RECT own{};
  ::GetWindowRect(dialog, &own);
  ScreenPoint at = centredPosition(screenRect(area), own.right - own.left, own.bottom - own.top,
                                   screenRect(monitor.rcWork));
  ::SetWindowPos(dialog, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace launcher
