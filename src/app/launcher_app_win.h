#pragma once
// The application object: the one long-lived object of the launcher, created by the entry
// point, which runs initialize, then run when that succeeded, then always cleanup.

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "base/message_owner_win.h"
#include "app/companion_decision.h"
#include "app/secondary_main_server_win.h"
#include "instance/single_instance_win.h"
#include "jvm/class_data_archive_win.h"
#include "jvm/java_host.h"
#include "jvm/java_vm.h"
#include "jvm/vm_option_assembly_win.h"
#include "runtime/runtime_search.h"
#include "settings/launcher_settings.h"
#include "settings/settings_paths.h"
#include "ui/splash_screen_win.h"

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
  // Makes this the first instance or a second one that has handed its arguments on, when the
  // settings ask for single instance; false when the arguments cannot be handed on.
  bool setUpSingleInstance();
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
  // Shows the splash image of the settings, unless the arguments ask for none.
  void startSplash();
  // Settles the chosen runtime: what its release file adds, and whether the companion executable
  // runs instead (see companion_decision.h).
  void settleRuntime(RuntimeLocation location);
  CompanionFacts companionFacts() const;

  // The launcher's own path, folder and settings file, found once at the start.
  LaunchContext context;
  // The runtime chosen: its jvm.dll's full path (empty until one is found), where it was found,
  // and what its key or release file says of it.
  RuntimeLocation runtime;
  // The arguments for the Java program's main, in order.
  std::vector<std::u16string> arguments;
  // Owner of error message boxes and dialogs: the splash window while it lives. Read when a box
  // opens, never copied before.
  MessageOwner messageOwner;
  LauncherSettings settings;
  // What starts the program (a class, a jar or a module), settled once the settings are read.
  MainTarget target;
  // True when the companion executable is to run instead of a VM in this process.
  bool relaunchThroughPair = false;
  // True when another launcher started this one as its companion.
  bool startedAsCompanion = false;
  // The VM's options, the main thread's stack size and the output and error files.
  VmSetup vmSetup;
  // Entry points of the loaded runtime, and the one VM while it exists.
  JavaRuntimeEntryPoints runtimeEntryPoints;
  JavaVmState javaVm;
  // The class-data archive this start keeps, if any.
  ClassDataArchiveStart archive;
  // The runtime's splash or the launcher's own window, while one is shown.
  SplashScreen splash{messageOwner};
  // The splash image taken out of the executable jar, removed once no splash shows it.
  std::u16string jarSplashFile;
  // Serves forwarded starts while this is the first instance; outlives the single instance.
  SecondaryMainServer secondaryMainServer;
  SingleInstance singleInstance;
};

}  // namespace launcher
