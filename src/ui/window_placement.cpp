#include "ui/window_placement.h"

#include <algorithm>

namespace launcher {

ScreenPoint centredPosition(const ScreenRect& area, long width, long height, const ScreenRect& workArea) {
  ScreenPoint at{area.left + (area.right - area.left - width) / 2, area.top + (area.bottom - area.top - height) / 2};
  // Right and bottom edges first, so that a window too large for the work area ends at its top left.
  at.x = std::max(std::min(at.x, workArea.right - width), workArea.left);
  at.y = std::max(std::min(at.y, workArea.bottom - height), workArea.top);
  return at;
}

}  // namespace launcher
