#include "ui/splash_screen_win.h"

#include "base/thread_win.h"

namespace launcher {

void SplashScreen::start(const SplashRequest& request, std::u16string_view jvmDllPath) {
  if (request.image.empty()) return;
  // Looked for whatever the preference, as the runtime's own launcher does.
  std::u16string library = splashRuntimeLibraryPath(jvmDllPath);
  if (request.preferRuntimeSplash && !library.empty() && startRuntimeSplash(library, request.image, runtimeSplash_)) {
    return;
  }
  request_ = request;
  window_ = std::make_unique<SplashWindow>();
  thread_.reset(::CreateThread(nullptr, 0, splashThread, this, 0, &threadId_));
  // Without its thread there is no splash; the launch goes on.
  if (!thread_) window_.reset();
}

DWORD WINAPI SplashScreen::splashThread(void* parameter) {
  auto* self = static_cast<SplashScreen*>(parameter);
  if (HWND window = self->window_->create(self->request_.image, self->request_.withShadow, self->owner_)) {
    ::ShowWindow(window, SW_SHOWNORMAL);
    ::UpdateWindow(window);
  }
  // Also without a window, until the launcher says quit: it ends every splash the same way.
  MSG message;
  while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
  self->window_->destroy();
  return 0;
}

void SplashScreen::closeWindow() {
  if (!window_) return;
  if (thread_) stopMessageLoopThread(thread_.get(), threadId_);
  thread_.reset();
  window_.reset();
}

}  // namespace launcher
