#include "ui/hyperlink_win.h"

#include <commctrl.h>
#include <shellapi.h>

#include "base/wide.h"
#include "runtime/registry_key_win.h"
#include "ui/link_rules.h"

namespace launcher {
namespace {

constexpr UINT_PTR kSubclassId = 1;
constexpr std::u16string_view kLinkSettingsKey = u"Software\\Microsoft\\Internet Explorer\\Settings";

// The font selected into a device context for as long as it lives, then the one before it.
class SelectedFont {
 public:
  SelectedFont(HDC dc, HGDIOBJ font) : dc_(dc), previous_(::SelectObject(dc, font)) {}
  SelectedFont(const SelectedFont&) = delete;
  SelectedFont& operator=(const SelectedFont&) = delete;
  ~SelectedFont() { ::SelectObject(dc_, previous_); }

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

// One painting of a window, from BeginPaint to EndPaint.
class PaintScope {
 public:
  explicit PaintScope(HWND window) : window_(window) { dc_ = ::BeginPaint(window, &paint_); }
  PaintScope(const PaintScope&) = delete;
  PaintScope& operator=(const PaintScope&) = delete;
  ~PaintScope() { ::EndPaint(window_, &paint_); }
  HDC dc() const { return dc_; }

 private:
  HWND window_;
  PAINTSTRUCT paint_{};
  HDC dc_;
};

std::u16string windowText(HWND window) {
  int length = ::GetWindowTextLengthW(window);
  if (length <= 0) return {};
  std::u16string text(static_cast<size_t>(length) + 1, u'\0');
  int copied = ::GetWindowTextW(window, as_writable_wcstr(text), length + 1);
  text.resize(static_cast<size_t>(copied > 0 ? copied : 0));
  return text;
}

// The user's colour for links when set and readable, else `fallback`.
COLORREF userLinkColor(std::u16string_view valueName, COLORREF fallback) {
  std::optional<std::u16string> value = readShortUserString(kLinkSettingsKey, valueName, kAnchorColorMaxLength);
  std::optional<LinkColor> color = value ? parseAnchorColor(*value) : std::nullopt;
  return color ? RGB(color->red, color->green, color->blue) : fallback;
}

}  // namespace

void Hyperlink::attach(HWND control) {
  control_ = control;
  address_ = windowText(control);
  linkColor_ = userLinkColor(u"Anchor Color", linkColor_);
  visitedColor_ = userLinkColor(u"Anchor Color Visited", visitedColor_);

  // A static control without SS_NOTIFY lets the mouse through to the dialog beneath it.
  ::SetWindowLongPtrW(control, GWL_STYLE, ::GetWindowLongPtrW(control, GWL_STYLE) | SS_NOTIFY);
  HGDIOBJ font = reinterpret_cast<HGDIOBJ>(::SendMessageW(control, WM_GETFONT, 0, 0));
  LOGFONTW description{};
  if (::GetObjectW(font ? font : ::GetStockObject(DEFAULT_GUI_FONT), sizeof(description), &description)) {
    description.lfUnderline = TRUE;
    underlinedFont_.reset(::CreateFontIndirectW(&description));
  }

  // The control is as wide as its text, so the hand and the click mean the link and nothing beside it.
  RECT rect{};
  ::GetWindowRect(control, &rect);
  ::MapWindowPoints(nullptr, ::GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
  UniqueMemoryDc measuring(::CreateCompatibleDC(nullptr));
  SIZE extent{};
  if (measuring && underlinedFont_) {
    SelectedFont selected(measuring.get(), underlinedFont_.get());
    ::GetTextExtentPoint32W(measuring.get(), as_wcstr(address_), static_cast<int>(address_.size()), &extent);
  }
  if (extent.cx > 0 && extent.cx < rect.right - rect.left) {
    ::SetWindowPos(control, nullptr, 0, 0, extent.cx, rect.bottom - rect.top,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }

  ::SetWindowSubclass(control, subclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));

  HWND dialog = ::GetParent(control);
  tooltip_.reset(::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                   CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, dialog, nullptr,
                                   ::GetModuleHandleW(nullptr), nullptr));
  if (tooltip_) {
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = dialog;
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = as_writable_wcstr(address_);  // copied by the tooltip
    ::SendMessageW(tooltip_.get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  }
}

void Hyperlink::open() {
  if (!control_ || !isOpenableWebAddress(address_)) return;
  INT_PTR result = reinterpret_cast<INT_PTR>(
      ::ShellExecuteW(::GetParent(control_), L"open", as_wcstr(address_), nullptr, nullptr, SW_SHOWNORMAL));
  // A failure says nothing of its own: the user sees the link stay as it was.
  if (result <= 32) return;
  visited_ = true;
  ::InvalidateRect(control_, nullptr, TRUE);
}

LRESULT CALLBACK Hyperlink::subclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                         DWORD_PTR self) {
  std::optional<LRESULT> result = reinterpret_cast<Hyperlink*>(self)->handle(message);
  return result ? *result : ::DefSubclassProc(window, message, wParam, lParam);
}

std::optional<LRESULT> Hyperlink::handle(UINT message) {
  switch (message) {
    case WM_PAINT:
      onPaint();
      return 0;
    case WM_SETCURSOR:
      if (onSetCursor()) return TRUE;
      break;
    case WM_NCDESTROY:
      // The static control still has its own clean-up to do.
      onNcDestroy();
      break;
  }
  return std::nullopt;
}

void Hyperlink::onPaint() {
  PaintScope paint(control_);
  RECT client{};
  ::GetClientRect(control_, &client);
  // The dialog's own background for static text, as the control would have drawn it.
  auto background = reinterpret_cast<HBRUSH>(::SendMessageW(::GetParent(control_), WM_CTLCOLORSTATIC,
                                                            reinterpret_cast<WPARAM>(paint.dc()),
                                                            reinterpret_cast<LPARAM>(control_)));
  ::FillRect(paint.dc(), &client, background ? background : ::GetSysColorBrush(COLOR_BTNFACE));
  ::SetBkMode(paint.dc(), TRANSPARENT);
  ::SetTextColor(paint.dc(), visited_ ? visitedColor_ : linkColor_);
  HGDIOBJ font = underlinedFont_.get();
  if (!font) font = reinterpret_cast<HGDIOBJ>(::SendMessageW(control_, WM_GETFONT, 0, 0));
  SelectedFont selected(paint.dc(), font);
  ::DrawTextW(paint.dc(), as_wcstr(address_), static_cast<int>(address_.size()), &client,
              DT_LEFT | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
}

bool Hyperlink::onSetCursor() {
  HCURSOR hand = ::LoadCursorW(nullptr, IDC_HAND);
  if (!hand) return false;
  ::SetCursor(hand);
  return true;
}

void Hyperlink::onNcDestroy() {
  ::RemoveWindowSubclass(control_, subclassProc, kSubclassId);
  // The tooltip belongs to the dialog, which has destroyed it before its controls.
  if (!::IsWindow(tooltip_.get())) static_cast<void>(tooltip_.release());
  tooltip_.reset();
  control_ = nullptr;
}

}  // namespace launcher
