#include "ui/failure_dialog_win.h"

#include "base/wide.h"
#include "resources/resource_ids.h"
#include "ui/dialog_placement_win.h"

namespace launcher {
namespace {

enum Anchor { kGrowWidth = 1, kGrowHeight = 2, kMoveRight = 4, kMoveDown = 8 };

struct ControlAnchor {
  int id;
  int anchor;
};

// How each control follows a resize; the others stay where they are.
constexpr ControlAnchor kAnchors[] = {
    {IDC_FAILURE_TEXT, kGrowWidth | kGrowHeight},  {IDC_FAILURE_FRAME, kGrowWidth | kGrowHeight},
    {IDC_FAILURE_HEADING, kGrowWidth},             {IDC_FAILURE_HINT_OK, kGrowWidth | kMoveDown},
    {IDC_FAILURE_HINT_CANCEL, kGrowWidth | kMoveDown}, {IDOK, kMoveRight | kMoveDown},
    {IDCANCEL, kMoveRight | kMoveDown},
};
static_assert(sizeof(kAnchors) / sizeof(kAnchors[0]) == 7);

RECT clientRectOf(HWND control, HWND parent) {
  RECT rect{};
  ::GetWindowRect(control, &rect);
  ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

}  // namespace

INT_PTR FailureDialog::show(HWND owner) {
  INT_PTR result = runModal(owner, IDD_FAILURE);
  return result == IDOK ? IDOK : IDCANCEL;
}

INT_PTR FailureDialog::handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      onInitDialog();
      // Focus on OK rather than on the text, which would open with all of it selected.
      ::SetFocus(::GetDlgItem(window_, IDOK));
      return FALSE;
    case WM_SIZE:
      onSize(LOWORD(lParam), HIWORD(lParam));
      return TRUE;
    case WM_GETMINMAXINFO:
      onGetMinMaxInfo(reinterpret_cast<MINMAXINFO*>(lParam));
      return TRUE;
    case WM_COMMAND:
      onCommand(LOWORD(wParam));
      return TRUE;
    case WM_CLOSE:
      ::EndDialog(window_, IDCANCEL);
      return TRUE;
  }
  return FALSE;
}

void FailureDialog::onInitDialog() {
  HWND text = ::GetDlgItem(window_, IDC_FAILURE_TEXT);
  ::SetWindowTextW(text, as_wcstr(text_));
  ::SendMessageW(text, EM_SETREADONLY, TRUE, 0);

  RECT client{}, frame{};
  ::GetClientRect(window_, &client);
  ::GetWindowRect(window_, &frame);
  openedClient_ = {client.right, client.bottom};
  openedWindow_ = {frame.right - frame.left, frame.bottom - frame.top};
  for (size_t i = 0; i < sizeof(kAnchors) / sizeof(kAnchors[0]); ++i) {
    placements_[i] = {kAnchors[i].id, clientRectOf(::GetDlgItem(window_, kAnchors[i].id), window_)};
  }

  // The grip sits in the lower right corner and follows it.
  int gripSize = ::GetSystemMetrics(SM_CXVSCROLL);
  sizeGrip_ = ::CreateWindowExW(0, L"SCROLLBAR", nullptr, WS_CHILD | WS_VISIBLE | SBS_SIZEGRIP | SBS_SIZEBOXBOTTOMRIGHTALIGN,
                                client.right - gripSize, client.bottom - gripSize, gripSize, gripSize, window_,
                                nullptr, ::GetModuleHandleW(nullptr), nullptr);
  centreDialog(window_);
}

void FailureDialog::onSize(int width, int height) {
  if (openedClient_.cx == 0) return;  // before WM_INITDIALOG measured the layout
  int dx = width - openedClient_.cx, dy = height - openedClient_.cy;
  HDWP positions = ::BeginDeferWindowPos(8);
  for (size_t i = 0; i < sizeof(kAnchors) / sizeof(kAnchors[0]); ++i) {
    const RECT& r = placements_[i].rect;
    int anchor = kAnchors[i].anchor;
    int x = r.left + ((anchor & kMoveRight) ? dx : 0);
    int y = r.top + ((anchor & kMoveDown) ? dy : 0);
    int w = (r.right - r.left) + ((anchor & kGrowWidth) ? dx : 0);
    int h = (r.bottom - r.top) + ((anchor & kGrowHeight) ? dy : 0);
    HWND control = ::GetDlgItem(window_, placements_[i].id);
    if (positions) positions = ::DeferWindowPos(positions, control, nullptr, x, y, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  if (sizeGrip_ && positions) {
    RECT grip{};
    ::GetWindowRect(sizeGrip_, &grip);
    int gw = grip.right - grip.left, gh = grip.bottom - grip.top;
    positions = ::DeferWindowPos(positions, sizeGrip_, nullptr, width - gw, height - gh, gw, gh,
                                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
  if (positions) ::EndDeferWindowPos(positions);
  ::InvalidateRect(window_, nullptr, TRUE);
}

void FailureDialog::onGetMinMaxInfo(MINMAXINFO* info) const {
  // The size it opened with is the smallest it may become.
  if (openedWindow_.cx == 0) return;
  info->ptMinTrackSize = {openedWindow_.cx, openedWindow_.cy};
}

void FailureDialog::onCommand(int id) {
  if (id == IDOK || id == IDCANCEL) ::EndDialog(window_, id);
}

}  // namespace launcher
