// Entry point of the launcher: one application object, initialize, run, cleanup, exit code.

#include <windows.h>

#include "app/launcher_app.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  launcher::LauncherApp app;
  int exitCode = -1;
  ::SetThreadLocale(::GetSystemDefaultLCID());
  if (app.initialize()) exitCode = app.run();
  app.cleanup();
  return exitCode;
}
