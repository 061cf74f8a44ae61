#include "jvm/java_environment_win.h"

#include <windows.h>

#include "base/ansi_text_win.h"
#include "base/environment_win.h"
#include "base/wide.h"
#include "jvm/class_path.h"
#include "jvm/java_environment.h"

namespace launcher {
namespace {

void setVariable(const char16_t* name, const std::u16string& value) {
  // A failure leaves the variable as it was; the launch goes on.
  ::SetEnvironmentVariableW(as_wcstr(name), as_wcstr(value));
}

}  // namespace

void prepareJavaEnvironment(const std::u16string& jvmDllPath, const LauncherSettings& settings,
                            std::u16string_view launcherFolder, std::vector<std::string>& vmOptions) {
  std::u16string javaHome = javaHomeFromJvmDll(jvmDllPath);
  // Set first, so that every value below may refer to them.
  setVariable(u"QV_JVM_PATH", jvmDllPath);
  setVariable(u"QV_JVM_HOME", javaHome);

  if (!settings.libraryPath.empty()) {
    // %Path% here is the Path from before the change below.
    std::u16string libraryPath =
        expandEnvironment(libraryPathText(settings.libraryPath, launcherFolder, javaHome));
    // Empty only when the expansion came out too long for a setting: then it counts as not set.
    if (!libraryPath.empty()) {
      // Folders whose names the ANSI code page lacks go by their short names where they have one.
      // The rest stay as they are, without a message: most come from the user's own Path.
      std::u16string unconvertible;
      libraryPath = convertPathList(libraryPath, ansiSafePath, unconvertible);
      vmOptions.push_back(toThreadAnsi(libraryPathOption(libraryPath)));
    }
  }

  // The runtime's bin folder goes on the search path before jvm.dll is loaded, so the DLLs it
  // needs from there are found.
  const std::u16string javaBin = javaBinFolderFromJvmDll(jvmDllPath);
  std::u16string path = expandEnvironment(processPathText(settings.systemPath, javaBin));
  // A "System Path" that expands past a setting's length counts as not set.
  if (path.empty()) path = expandEnvironment(processPathText(u"", javaBin));
  setVariable(u"Path", path);
}

}  // namespace launcher
