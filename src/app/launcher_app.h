#pragma once
// The application object: the one long-lived object of the launcher, created by the entry
// point, which runs initialize, then run when that succeeded, then always cleanup.

#include <windows.h>

#include <string>

namespace launcher {

class LauncherApp {
 public:
  LauncherApp();
  LauncherApp(const LauncherApp&) = delete;
  LauncherApp& operator=(const LauncherApp&) = delete;
  ~LauncherApp();

  // Reads the settings; false when the launcher must stop (exit code -1).
  bool initialize();
  // Starts the Java application and returns the process exit code.
  int run();
  // Releases what initialize and run made; safe after either failed.
  void cleanup();

 private:
  bool readSettings();

  // Owner of error message boxes: the launcher's splash window while it is shown, else none.
  HWND messageOwner = nullptr;
  // Fully qualified name of the class whose main is called, in the JNI form with "/".
  std::u16string mainClass;
};

// The application object of this process, for callbacks that cannot carry a pointer.
LauncherApp* currentLauncherApp();

}  // namespace launcher
