#pragma once
// The dialog that shows the stack trace of an exception the Java program's main let escape, and
// asks whether to let the program finish (OK) or end it at once (Cancel).

#include <windows.h>

#include <string>

#include "ui/modal_dialog_win.h"

namespace launcher {

class FailureDialog : public ModalDialog<FailureDialog> {
 public:
  explicit FailureDialog(std::u16string text) : text_(std::move(text)) {}

  // Shows the dialog modally, owned by `owner`; IDOK or IDCANCEL (also for the close box and Esc,
  // and when the dialog cannot be shown at all).
  INT_PTR show(HWND owner);

 private:
  friend class ModalDialog<FailureDialog>;
  INT_PTR handle(UINT message, WPARAM wParam, LPARAM lParam);

  void onInitDialog();
  void onSize(int width, int height);
  void onGetMinMaxInfo(MINMAXINFO* info) const;
  void onCommand(int id);

  std::u16string text_;
  HWND sizeGrip_ = nullptr;
  // The client size when the dialog opened; controls keep their distance to the right and bottom
  // edges measured from it.
  SIZE openedClient_{};
  SIZE openedWindow_{};
  struct Placement {
    int id;
    RECT rect;  // in client coordinates, as laid out when the dialog opened
  };
  Placement placements_[7]{};
};

}  // namespace launcher
