// Entry point of the launcher: one application object, initialize, run, cleanup, exit code.
// Built twice: as the windowed launcher, and with LAUNCHER_CONSOLE as the console variant for
// command-line Java programs, whose messages go to standard error instead of message boxes.

#include <windows.h>

#include "app/launcher_app_win.h"
#include "base/error_box_win.h"
#include "base/text.h"
#include "base/trace.h"
#include "base/trace_win.h"

namespace {

int runLauncher() {
  // Before anything is loaded: no library is ever looked for in the folder the user happened to
  // start the launcher from. SetDllDirectoryW rather than SetDefaultDllDirectories, which would
  // also drop Path from the search, where the libraries of many Java applications' native code
  // are found.
  ::SetDllDirectoryW(L"");
  launcher::startTraceFromEnvironment();
  launcher::LauncherApp app;
  int exitCode = -1;
  ::SetThreadLocale(::GetSystemDefaultLCID());
  if (app.initialize()) exitCode = app.run();
  app.cleanup();
  if (launcher::tracing()) launcher::trace(u"exit", u"code " + launcher::signedDecimalText(exitCode));
  return exitCode;
}

}  // namespace

#ifdef LAUNCHER_CONSOLE
int wmain() {
  launcher::sendErrorsToStandardError();
  return runLauncher();
}
#else
int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) { return runLauncher(); }
#endif
