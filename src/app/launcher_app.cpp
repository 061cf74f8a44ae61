#include "app/launcher_app.h"

#include <algorithm>

#include "app/module_path.h"
#include "base/error_box.h"
#include "resources/resource_ids.h"
#include "settings/profile_file.h"
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

bool LauncherApp::initialize() { return readSettings(); }

bool LauncherApp::readSettings() {
  std::optional<std::u16string> modulePath = launcherModulePath(messageOwner);
  if (!modulePath) return false;
  std::optional<std::u16string> settingsPath = settingsPathForModule(*modulePath);
  if (!settingsPath) return false;

  ProfileFile settings(*settingsPath);
  mainClass = settings.readLayered(u"Java Runtime Environment", u"Main Class");
  if (mainClass.empty()) {
    showError(messageOwner, IDS_MAIN_CLASS_MISSING);
    return false;
  }
  std::replace(mainClass.begin(), mainClass.end(), u'.', u'/');
  return true;
}

int LauncherApp::run() {
  // Finding and starting a Java runtime is not part of this launcher yet; it must not claim a
  // start it did not make.
  return -1;
}

void LauncherApp::cleanup() {}

}  // namespace launcher
