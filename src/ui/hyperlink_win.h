#pragma once
// A static text control of a dialog turned into a link: drawn underlined in the link colour (the
// visited colour once it has been opened), with the hand cursor over it and a tooltip naming the
// address, which is its own text. The dialog opens it when the control reports a click.

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

#include "base/handle_owners_win.h"

namespace launcher {

class Hyperlink {
 public:
  Hyperlink() = default;
  Hyperlink(const Hyperlink&) = delete;
  Hyperlink& operator=(const Hyperlink&) = delete;

  // Takes over `control`, a static text control of a dialog; the link colours come from the
  // user's settings for links where they are set.
  void attach(HWND control);
  // Opens the address with the shell; the link shows as visited when that worked.
  void open();

  bool visited() const { return visited_; }

 private:
  static LRESULT CALLBACK subclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                       DWORD_PTR self);
  // The answer to a message the link handles itself; nothing for those the static control handles.
  std::optional<LRESULT> handle(UINT message);

  void onPaint();
  bool onSetCursor();
  void onNcDestroy();

  HWND control_ = nullptr;
  std::u16string address_;
  COLORREF linkColor_ = RGB(0, 0, 255);
  COLORREF visitedColor_ = RGB(128, 0, 128);
  bool visited_ = false;
  UniqueGdiObject underlinedFont_;
  UniqueWindow tooltip_;
};

}  // namespace launcher
