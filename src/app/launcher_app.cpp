#include "app/launcher_app.h"

#include "app/command_line_win.h"
#include "app/module_path.h"
#include "app/pair_relaunch.h"
#include "base/error_box.h"
#include "base/wide.h"
#include "jvm/java_environment_win.h"
#include "resources/resource_ids.h"
#include "runtime/java_version.h"
#include "runtime/pe_image_file.h"
#include "runtime/windows_runtime_environment.h"
#include "settings/settings_files.h"
#include "settings/settings_paths.h"

namespace launcher {
namespace {
LauncherApp* theApp = nullptr;
}  // namespace

LauncherApp* currentLauncherApp() { return theApp; }

LauncherApp::LauncherApp() { theApp = this; }

LauncherApp::~LauncherApp() {
  if (theApp == this) theApp = nullptr;
}

bool LauncherApp::initialize() {
  arguments = readCommandLine();
  if (!readSettings()) return false;
  // Relative paths in the settings (a relative "JRE Path", say) are meant relative to the
  // launcher's folder, whatever folder the user started it from; so this comes before the
  // runtime search.
  if (settings.overrideWorkingDir) applyWorkingDirOverride();
  return locateRuntime();
}

bool LauncherApp::locateRuntime() {
  std::optional<std::u16string> launcherFolder = launcherFolderPath(messageOwner);
  WindowsRuntimeEnvironment machine;
  RuntimeLocation location = locateRuntimeStages(machine, settings, launcherFolder);
  jvmDllPath = location.jvmDllPath;
  switch (location.source) {
    case RuntimeSource::jrePath:
      // A runtime named by path may be of either architecture.
      updatePairRelaunch();
      return true;
    case RuntimeSource::besideLauncher:
    case RuntimeSource::registry:
      return true;
    case RuntimeSource::registry64:
      // Found only among the 64-bit registrations: this process cannot load it.
      relaunchThroughPair = true;
      return true;
    case RuntimeSource::none:
      break;
  }
  return askForRuntimeFolder();
}

bool LauncherApp::askForRuntimeFolder() {
  VersionRangeText range = describeVersionRange(settings.minimumVersion, settings.maximumVersion);
  UINT message = settings.jvmType == 1 ? IDS_NO_SERVER_RUNTIME : IDS_NO_RUNTIME;
  // The dialog that lets the user browse for a runtime folder will take this message; until then
  // the user reads it in a box and the launch ends as a cancelled dialog ends it.
  showError(messageOwner, message, {loadFormattedText(range.textId, range.args)});
  return false;
}

bool LauncherApp::readSettings() {
  std::u16string path;
  if (!settingsFilePath(messageOwner, path)) return false;
  ProfileSettingsSource source(messageOwner, path);
  if (!readSettingsFrom(source, settings)) {
    showError(messageOwner, IDS_MAIN_CLASS_MISSING);
    return false;
  }
  return true;
}

void LauncherApp::applyWorkingDirOverride() {
  std::optional<std::u16string> modulePath = launcherModulePath(messageOwner);
  if (!modulePath) return;
  std::optional<std::u16string> folder = launcherFolderOf(*modulePath);
  if (folder) ::SetCurrentDirectoryW(as_wcstr(*folder));
}

void LauncherApp::updatePairRelaunch() {
  relaunchThroughPair = needsPairRelaunch(settings.pairProduct, jvmDllPath);
}

int LauncherApp::run() {
  if (relaunchThroughPair) return startPairProduct(settings.pairProduct, settings.pairReturnCode);
  std::optional<std::u16string> launcherFolder = launcherFolderPath(messageOwner);
  prepareJavaEnvironment(jvmDllPath, settings, launcherFolder, vmSetup.vmOptions);
  // Loading the runtime and starting Java are not part of this launcher yet; it must not claim a
  // start it did not make.
  return -1;
}

void LauncherApp::cleanup() {}

}  // namespace launcher
