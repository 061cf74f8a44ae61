#pragma once
// The splash shown while the Java runtime loads and the application starts: the runtime's own
// splash library when the settings prefer it and it can show the image, else the launcher's own
// window on a thread of its own. Each is closed when the launch fails and at the launcher's end.

#include <windows.h>

#include <memory>
#include <string>
#include <string_view>

#include "base/message_owner_win.h"
#include "base/handle_owners_win.h"
#include "ui/runtime_splash_win.h"
#include "ui/splash_window_win.h"

namespace launcher {

struct SplashRequest {
  // Full path of the image; empty for no splash.
  std::u16string image;
  bool withShadow = false;
  bool preferRuntimeSplash = false;
};

class SplashScreen {
 public:
  // Every box through `owner` closes the runtime's splash first: a failed launch reported while
  // it is shown (a runtime that does not load, say) must not sit hidden behind it.
  explicit SplashScreen(MessageOwner& owner) : owner_(owner) {
    owner.setBeforeBox([](void* self) { static_cast<SplashScreen*>(self)->closeRuntimeSplash(); }, this);
  }
  SplashScreen(const SplashScreen&) = delete;
  SplashScreen& operator=(const SplashScreen&) = delete;
  ~SplashScreen() { closeAll(); }

  // Shows the image of `request` for the runtime whose jvm.dll is `jvmDllPath`. Does not wait for
  // the window to appear.
  void start(const SplashRequest& request, std::u16string_view jvmDllPath);
  // Ends the launcher's own window and its thread, if there are any; on the thread that ends the
  // splash (the Java main thread when the launch failed, the launcher's own at its end).
  void closeWindow();
  // Tells the runtime's splash library to close, if it was shown.
  void closeRuntimeSplash() { runtimeSplash_.reset(); }
  void closeAll() {
    closeWindow();
    closeRuntimeSplash();
  }

 private:
  static DWORD WINAPI splashThread(void* parameter);

  MessageOwner& owner_;
  SplashRequest request_;
  std::unique_ptr<SplashWindow> window_;
  UniqueHandle thread_;
  DWORD threadId_ = 0;
  RuntimeSplashClose runtimeSplash_;
};

}  // namespace launcher
