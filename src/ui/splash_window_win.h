#pragma once
// The launcher's own splash window: a borderless pop-up, exactly as large as the image, centred on
// the primary screen, with no taskbar button, painted from a bitmap drawn once. It lives on a
// thread of its own, which creates it, runs its message loop and destroys it.

#include <windows.h>

#include <string>
#include <string_view>

#include "base/message_owner_win.h"
#include "base/handle_owners_win.h"

namespace launcher {

class SplashWindow {
 public:
  SplashWindow() = default;
  SplashWindow(const SplashWindow&) = delete;
  SplashWindow& operator=(const SplashWindow&) = delete;

  // On the splash thread: decodes the image, draws it and creates the window, hidden; null when
  // there is nothing to show (the image cannot be read) or no window can be made. While the
  // window lives it owns the launcher's boxes through `owner`.
  HWND create(std::u16string_view imagePath, bool withShadow, MessageOwner& owner);
  // On the splash thread, at its end: destroys the window if it still exists.
  void destroy() { window_.reset(); }

 private:
  static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void onPaint();
  void onNcDestroy();

  UniqueWindow window_;
  HWND handle_ = nullptr;
  // The finished image, compatible with the screen.
  UniqueGdiObject bitmap_;
  MessageOwner* owner_ = nullptr;
};

}  // namespace launcher
