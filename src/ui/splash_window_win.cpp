#include "ui/splash_window_win.h"

#include <objidl.h>
#include <gdiplus.h>

#include "base/module_win.h"
#include "base/wide.h"
#include "ui/splash_rules.h"

namespace launcher {
namespace {

namespace gdip = Gdiplus::DllExports;

constexpr wchar_t kClassName[] = L"SplashScreenWindow";

// GDI+ through its flat interface, loaded from the system folder on first use so that the
// launcher imports nothing beyond the system's own libraries, and started once for the process.
// The pointer types are those of the system's own declarations, calling convention included.
class GdiPlus {
 public:
  decltype(&gdip::GdipCreateBitmapFromFile) createBitmapFromFile = nullptr;
  decltype(&gdip::GdipGetImageWidth) getImageWidth = nullptr;
  decltype(&gdip::GdipGetImageHeight) getImageHeight = nullptr;
  decltype(&gdip::GdipDisposeImage) disposeImage = nullptr;
  decltype(&gdip::GdipCreateFromHDC) createFromHdc = nullptr;
  decltype(&gdip::GdipDeleteGraphics) deleteGraphics = nullptr;
  decltype(&gdip::GdipSetInterpolationMode) setInterpolationMode = nullptr;
  decltype(&gdip::GdipCreateImageAttributes) createImageAttributes = nullptr;
  decltype(&gdip::GdipSetImageAttributesWrapMode) setImageAttributesWrapMode = nullptr;
  decltype(&gdip::GdipDisposeImageAttributes) disposeImageAttributes = nullptr;
  decltype(&gdip::GdipDrawImageRectRectI) drawImageRectRectI = nullptr;

  // The process's session; null when GDI+ cannot be loaded or started. Safe against a
  // concurrent first use.
  static const GdiPlus* session() {
    static GdiPlus instance;
    return instance.token_ != 0 ? &instance : nullptr;
  }

  GdiPlus(const GdiPlus&) = delete;
  GdiPlus& operator=(const GdiPlus&) = delete;
  ~GdiPlus() {
    if (token_ != 0) shutdown_(token_);
  }

 private:
  GdiPlus() {
    wchar_t system[MAX_PATH];
    UINT length = ::GetSystemDirectoryW(system, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return;
    std::wstring path = std::wstring(system, length) + L"\\gdiplus.dll";
    module_.reset(::LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH));
    if (!module_) return;
    auto startup = bind<decltype(&Gdiplus::GdiplusStartup)>("GdiplusStartup");
    shutdown_ = bind<decltype(&Gdiplus::GdiplusShutdown)>("GdiplusShutdown");
    bool complete = startup && shutdown_ &&
                    (createBitmapFromFile = bind<decltype(createBitmapFromFile)>("GdipCreateBitmapFromFile")) &&
                    (getImageWidth = bind<decltype(getImageWidth)>("GdipGetImageWidth")) &&
                    (getImageHeight = bind<decltype(getImageHeight)>("GdipGetImageHeight")) &&
                    (disposeImage = bind<decltype(disposeImage)>("GdipDisposeImage")) &&
                    (createFromHdc = bind<decltype(createFromHdc)>("GdipCreateFromHDC")) &&
                    (deleteGraphics = bind<decltype(deleteGraphics)>("GdipDeleteGraphics")) &&
                    (setInterpolationMode = bind<decltype(setInterpolationMode)>("GdipSetInterpolationMode")) &&
                    (createImageAttributes = bind<decltype(createImageAttributes)>("GdipCreateImageAttributes")) &&
                    (setImageAttributesWrapMode =
                         bind<decltype(setImageAttributesWrapMode)>("GdipSetImageAttributesWrapMode")) &&
                    (disposeImageAttributes = bind<decltype(disposeImageAttributes)>("GdipDisposeImageAttributes")) &&
                    (drawImageRectRectI = bind<decltype(drawImageRectRectI)>("GdipDrawImageRectRectI"));
    if (!complete) return;
    // Version 1, no debug callback, the background thread kept, external codecs allowed.
    Gdiplus::GdiplusStartupInput input(nullptr, FALSE, FALSE);
    ULONG_PTR token = 0;
    if (startup(&token, &input, nullptr) == Gdiplus::Ok) token_ = token;
  }

  template <typename Fn>
  Fn bind(const char* name) const {
    return moduleFunction<Fn>(module_.get(), name);
  }

  UniqueModule module_;
  decltype(&Gdiplus::GdiplusShutdown) shutdown_ = nullptr;
  ULONG_PTR token_ = 0;
};

// The decoded image, for as long as the window is being made.
class SplashPicture {
 public:
  SplashPicture(const GdiPlus& gdiPlus, std::u16string_view path) : gdiPlus_(gdiPlus) {
    std::u16string file(path);
    if (gdiPlus_.createBitmapFromFile(as_wcstr(file), &bitmap_) != Gdiplus::Ok) bitmap_ = nullptr;
    UINT width = 0, height = 0;
    if (bitmap_ && gdiPlus_.getImageWidth(bitmap_, &width) == Gdiplus::Ok &&
        gdiPlus_.getImageHeight(bitmap_, &height) == Gdiplus::Ok) {
      width_ = static_cast<int>(width);
      height_ = static_cast<int>(height);
    }
  }
  SplashPicture(const SplashPicture&) = delete;
  SplashPicture& operator=(const SplashPicture&) = delete;
  ~SplashPicture() {
    if (bitmap_) gdiPlus_.disposeImage(bitmap_);
  }

  int width() const { return width_; }
  int height() const { return height_; }

  // A bitmap compatible with the screen holding the image drawn at `width` x `height`, scaled
  // smoothly when that is not its natural size. Areas the image leaves transparent show the
  // window colour, as the class's background would.
  UniqueGdiObject render(int width, int height) const {
    HDC screen = ::GetDC(nullptr);
    if (!screen) return {};
    UniqueGdiObject bitmap(::CreateCompatibleBitmap(screen, width, height));
    UniqueMemoryDc memory(::CreateCompatibleDC(screen));
    ::ReleaseDC(nullptr, screen);
    if (!bitmap || !memory) return {};
    HGDIOBJ previous = ::SelectObject(memory.get(), bitmap.get());
    RECT all{0, 0, width, height};
    ::FillRect(memory.get(), &all, ::GetSysColorBrush(COLOR_WINDOW));
    Gdiplus::GpGraphics* graphics = nullptr;
    if (gdiPlus_.createFromHdc(memory.get(), &graphics) == Gdiplus::Ok) {
      gdiPlus_.setInterpolationMode(graphics, Gdiplus::InterpolationModeHighQualityBicubic);
      Gdiplus::GpImageAttributes* attributes = nullptr;
      if (gdiPlus_.createImageAttributes(&attributes) == Gdiplus::Ok) {
        gdiPlus_.setImageAttributesWrapMode(attributes, Gdiplus::WrapModeTileFlipXY, 0xFF000000, FALSE);
      } else {
        attributes = nullptr;
      }
      gdiPlus_.drawImageRectRectI(graphics, bitmap_, 0, 0, width, height, 0, 0, width_, height_,
                                  Gdiplus::UnitPixel, attributes, nullptr, nullptr);
      if (attributes) gdiPlus_.disposeImageAttributes(attributes);
      gdiPlus_.deleteGraphics(graphics);
    }
    ::SelectObject(memory.get(), previous);
    return bitmap;
  }

 private:
  const GdiPlus& gdiPlus_;
  Gdiplus::GpBitmap* bitmap_ = nullptr;
  int width_ = 0;
  int height_ = 0;
};

// The scale of the primary monitor, where the window is centred, in percent: what a process that
// is aware of each monitor's scale reads from the screen.
unsigned screenScalePercent() {
  HDC screen = ::GetDC(nullptr);
  int dpi = screen ? ::GetDeviceCaps(screen, LOGPIXELSX) : 0;
  if (screen) ::ReleaseDC(nullptr, screen);
  return splashScalePercent(dpi > 0 ? static_cast<unsigned>(dpi) : 96);
}

// The image at `path` drawn `scalePercent` of its natural size into `bitmap`; false when it
// cannot be read or drawn.
bool drawPicture(const GdiPlus& gdiPlus, std::u16string_view path, unsigned scalePercent, UniqueGdiObject& bitmap,
                 int& width, int& height) {
  SplashPicture picture(gdiPlus, path);
  if (picture.width() <= 0 || picture.height() <= 0) return false;
  width = scaledSplashSize(picture.width(), scalePercent);
  height = scaledSplashSize(picture.height(), scalePercent);
  bitmap = picture.render(width, height);
  return static_cast<bool>(bitmap);
}

}  // namespace

HWND SplashWindow::create(std::u16string_view imagePath, bool withShadow, MessageOwner& owner) {
  WNDCLASSEXW description{};
  description.cbSize = sizeof(description);
  description.style = CS_DBLCLKS | CS_SAVEBITS | (withShadow ? CS_DROPSHADOW : 0);
  description.lpfnWndProc = windowProc;
  description.hInstance = ::GetModuleHandleW(nullptr);
  description.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  description.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1));
  description.lpszClassName = kClassName;
  if (!::RegisterClassExW(&description) && ::GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
    // A system without drop shadows refuses the class that asks for one.
    description.style &= ~static_cast<UINT>(CS_DROPSHADOW);
    if (!withShadow || (!::RegisterClassExW(&description) && ::GetLastError() != ERROR_CLASS_ALREADY_EXISTS)) {
      return nullptr;
    }
  }

  const GdiPlus* gdiPlus = GdiPlus::session();
  if (!gdiPlus) return nullptr;
  // On a scaled monitor a variant made for its scale ("splash@150pct.png", "splash@2x.png") is
  // shown as it is; else the image is scaled smoothly, so that it covers the same share of the
  // screen as at 100 %. An image that cannot be read shows nothing; no window at all then, so no
  // box is owned by an invisible one.
  const unsigned scale = screenScalePercent();
  int width = 0, height = 0;
  bool drawn = false;
  for (const std::u16string& variant : splashImageVariants(imagePath, scale)) {
    if ((drawn = drawPicture(*gdiPlus, variant, 100, bitmap_, width, height))) break;
  }
  if (!drawn && !drawPicture(*gdiPlus, imagePath, scale > 100 ? scale : 100, bitmap_, width, height)) return nullptr;

  SplashOrigin origin =
      splashWindowOrigin(::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN), width, height);
  owner_ = &owner;
  HWND window = ::CreateWindowExW(WS_EX_TOOLWINDOW, kClassName, nullptr, WS_POPUP, origin.left, origin.top, width,
                                  height, nullptr, nullptr, ::GetModuleHandleW(nullptr), this);
  if (!window) return nullptr;
  window_.reset(window);
  owner.set(window);
  return window;
}

LRESULT CALLBACK SplashWindow::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  SplashWindow* self = nullptr;
  if (message == WM_NCCREATE) {
    self = static_cast<SplashWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->handle_ = window;
    ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  } else {
    self = reinterpret_cast<SplashWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
  }
  return self ? self->handleMessage(message, wParam, lParam) : ::DefWindowProcW(window, message, wParam, lParam);
}

LRESULT SplashWindow::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      onPaint();
      return 0;
    case WM_ERASEBKGND:
      // The bitmap covers the whole window; the class background would only flicker.
      return 1;
    case WM_NCDESTROY: {
      HWND window = handle_;
      onNcDestroy();
      return ::DefWindowProcW(window, message, wParam, lParam);
    }
    default:
      return ::DefWindowProcW(handle_, message, wParam, lParam);
  }
}

void SplashWindow::onPaint() {
  PAINTSTRUCT paint{};
  HDC target = ::BeginPaint(handle_, &paint);
  BITMAP size{};
  if (target && ::GetObjectW(bitmap_.get(), sizeof(size), &size) == sizeof(size)) {
    UniqueMemoryDc memory(::CreateCompatibleDC(target));
    if (memory) {
      HGDIOBJ previous = ::SelectObject(memory.get(), bitmap_.get());
      ::BitBlt(target, 0, 0, size.bmWidth, size.bmHeight, memory.get(), 0, 0, SRCCOPY);
      ::SelectObject(memory.get(), previous);
    }
  }
  ::EndPaint(handle_, &paint);
}

void SplashWindow::onNcDestroy() {
  // Gone by whatever path (the launcher's end, a close request, Alt+F4): from now on boxes have
  // no owner, and nothing destroys the handle a second time.
  if (owner_) owner_->clear(handle_);
  ::SetWindowLongPtrW(handle_, GWLP_USERDATA, 0);
  (void)window_.release();
  handle_ = nullptr;
}

}  // namespace launcher
