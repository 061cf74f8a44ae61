#include "app/launcher_app.h"

#include "app/command_line_win.h"
#include "app/module_path.h"
#include "base/error_box.h"
#include "base/wide.h"
#include "resources/resource_ids.h"
#include "runtime/pe_image_file.h"
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
  // The runtime search is not part of this launcher yet: jvmDllPath stays empty, and run
  // reports that nothing was started.
  return true;
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
  // Without a runtime (jvmDllPath is empty until the search finds one) nothing can be started,
  // and the launcher must not claim a start it did not make.
  return -1;
}

void LauncherApp::cleanup() {}

}  // namespace launcher
