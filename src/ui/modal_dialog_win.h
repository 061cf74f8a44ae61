#pragma once
// A modal dialog from the executable's resources, in the shape of every window of the launcher:
// the static dialog procedure stores the object at WM_INITDIALOG and hands each message to its
// `handle`, which calls one `OnXxx` per message it handles.

#include <windows.h>

namespace launcher {

// `Dialog` derives from ModalDialog<Dialog> and has
// `INT_PTR handle(UINT message, WPARAM wParam, LPARAM lParam)` (a friend may keep it private).
template <typename Dialog>
class ModalDialog {
 protected:
  // Runs dialog resource `resourceId` owned by `owner`; DialogBoxParamW's result.
  INT_PTR runModal(HWND owner, int resourceId) {
    return ::DialogBoxParamW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(resourceId), owner, dialogProc,
                             reinterpret_cast<LPARAM>(static_cast<Dialog*>(this)));
  }

  // The dialog's window while it is shown.
  HWND window_ = nullptr;

 private:
  static INT_PTR CALLBACK dialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Dialog* self = nullptr;
    if (message == WM_INITDIALOG) {
      self = reinterpret_cast<Dialog*>(lParam);
      self->window_ = window;
      ::SetWindowLongPtrW(window, DWLP_USER, lParam);
    } else {
      self = reinterpret_cast<Dialog*>(::GetWindowLongPtrW(window, DWLP_USER));
    }
    return self ? self->handle(message, wParam, lParam) : FALSE;
  }
};

}  // namespace launcher
