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
  // The class path and the module path as handed to the VM, entries separated by ";".
  std::u16string classPath;
  std::u16string modulePath;
  // The executable jar, full and in a form the runtime can take; empty when there is none.
  std::u16string mainJar;
  // Where the user's own options begin in vmOptions; options put before them yield to them.
  size_t userOptionsAt = 0;
  // The user's own options as written, before their %NAME% references were expanded: they end
  // vmOptions, in this order. The trace shows these, so that no variable's value (a licence
  // key, a password) lands in a file users are asked to send.
  std::vector<std::u16string> userOptionsAsWritten;
};

// Adds the class path and module options for `target` (the jar first on the class path, the main
// module as the boot layer's root) and the user's VM parameters to `setup.vmOptions`, and
// sets the stack size and the output and error files. A class path that comes out empty with no
// main module is reported (IDS_CLASS_PATH_EMPTY) and replaced by the launcher's folder; the rest
// applies all the same. False, after IDS_JAVA_TOOL_OPTION, when the VM parameters hold an option
// of the java command that the VM would refuse: the launch ends.
bool assembleVmOptions(const MessageOwner& messageOwner, const LaunchContext& context, const LauncherSettings& settings,
                       const MainTarget& target, VmSetup& setup);

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
