#pragma once
// Where a dialog or box goes on the screen: centred over its owner or the work area, and kept
// inside the work area. Used by every window of the launcher; free of Windows so it can be tested.

namespace launcher {

// A rectangle in screen coordinates; right and bottom lie just outside it.
struct ScreenRect {
  long left = 0, top = 0, right = 0, bottom = 0;
};

struct ScreenPoint {
  long x = 0, y = 0;
};

// Where a window of `width` x `height` goes when it is centred over `area` (its owner, or the
// work area) and then moved as little as needed to lie inside `workArea`; a window larger than
// the work area keeps its top left corner inside it, so its caption stays reachable.
ScreenPoint centredPosition(const ScreenRect& area, long width, long height, const ScreenRect& workArea);

}  // namespace launcher
