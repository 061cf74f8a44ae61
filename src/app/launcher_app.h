#pragma once
// The application object: the one long-lived object of the launcher, created by the entry
// point, which runs initialize, then run when that succeeded, then always cleanup.

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "jvm/java_host.h"
#include "jvm/java_vm.h"
#include "jvm/vm_option_assembly_win.h"
#include "settings/launcher_settings.h"
#include "settings/settings_paths.h"

namespace launcher {

class LauncherApp {
 public:
  LauncherApp() = default;
  LauncherApp(const LauncherApp&) = delete;
  LauncherApp& operator=(const LauncherApp&) = delete;

  // Finds the launcher itself, reads the command line and the settings and prepares the start;
  // false when the launcher must stop (exit code -1).
  bool initialize();
  // Starts the Java application and returns the process exit code.
  int run();
  // Releases what initialize and run made; safe after either failed.
  void cleanup();

 private:
  bool readSettings();
  // Makes "JRE Path" and "Pair Product" full paths, a relative one taken inside the launcher's
  // folder.
  void anchorSettingsPaths();
  void applyWorkingDirOverride();
  // Finds the jvm.dll to load, or that the companion must run; false when none was found and
  // the user gave up.
  bool locateRuntime();
  // Tells the user that no runtime qualifies and lets them choose the folder of one, which is
  // remembered for the next start; false when they did not (the launch ends).
  bool askForRuntimeFolder();
  // Loads the runtime, completes the options and runs the Java program; the exit code.
  int runJava();
  // Decides, for the chosen jvm.dll, whether the companion executable must run instead: only when
  // the launcher may start one and the file is an image of the companion's architecture.
  void updatePairRelaunch();
  // Whether the chosen runtime is one that must not be destroyed once main returns: one whose
  // program ends only through System.exit (IBM's), by its registry key or its release file.
  bool runtimeNeedsSleepAfterMain() const;
  // Whether a companion may be started at all: one is named, it is not this launcher itself, and
  // this launcher is not a companion already.
  bool mayStartCompanion() const;

  // The launcher's own path, folder and settings file, found once at the start.
  LaunchContext context;
  // Full path of the jvm.dll to load; empty until a runtime is found.
  std::u16string jvmDllPath;
  // The arguments for the Java program's main, in order.
  std::vector<std::u16string> arguments;
  // Owner of error message boxes. None: the launcher shows no window of its own that a box
  // could belong to.
  HWND messageOwner = nullptr;
  LauncherSettings settings;
  // True when the companion executable is to run instead of a VM in this process.
  bool relaunchThroughPair = false;
  // For a registered runtime, whose key registered it.
  std::optional<RuntimeVendor> runtimeVendor;
  // For a registered runtime, the version its key names.
  std::optional<JavaVersion> runtimeVersion;
  // True when another launcher started this one as its companion.
  bool startedAsCompanion = false;
  // The VM's options, the main thread's stack size and the output and error files.
  VmSetup vmSetup;
  // Entry points of the loaded runtime, and the one VM while it exists.
  JavaRuntimeEntryPoints runtimeEntryPoints;
  JavaVmState javaVm;
};

}  // namespace launcher
