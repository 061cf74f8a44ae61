#pragma once
// The VM's options and the launch settings that go with them, assembled from the settings once
// the runtime is loaded and its environment is in place.

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "base/message_owner_win.h"
#include "settings/launcher_settings.h"
#include "settings/settings_paths.h"

namespace launcher {

struct VmSetup {
  // Option strings for the VM, in the thread's ANSI code page.
  std::vector<std::string> vmOptions;
  // Stack size of the Java main thread in bytes; 0 asks for the VM's default.
  std::uint32_t mainThreadStackSize = 0;
  // The output and error files, their environment references expanded.
  StreamFiles streamFiles;
  // The class path as handed to the VM, entries separated by ";".
  std::u16string classPath;
  // Where the user's own options begin in vmOptions; options put before them yield to them.
  size_t userOptionsAt = 0;
  // The user's own options as written, before their %NAME% references were expanded: they end
  // vmOptions, in this order. The trace shows these, so that no variable's value (a licence
  // key, a password) lands in a file users are asked to send.
  std::vector<std::u16string> userOptionsAsWritten;
};

// Adds the class path option and the user's VM parameters to `setup.vmOptions`, and sets the
// stack size and the output and error files. False when the class path comes out empty (the
// user is told with IDS_CLASS_PATH_EMPTY) and nothing else is set; the launch goes on either way.
bool assembleVmOptions(const MessageOwner& messageOwner, const LaunchContext& context, const LauncherSettings& settings,
                       VmSetup& setup);

// Puts "-Dsun.java.command=" with the main class and `arguments` (the command line's and Cmd's)
// after the class path option, before the user's own options, unless those set the property:
// jcmd, flight recordings and crash logs then name the program, as under the runtime's own
// launcher.
void addJavaCommandOption(std::u16string_view mainClass, const std::vector<std::u16string>& arguments,
                          VmSetup& setup);

// Writes one trace line per VM option: those the launcher built (class path, library path,
// archive) in full, the user's own as written, with the names of the variables expanded in them.
void traceVmOptions(const VmSetup& setup);

}  // namespace launcher
