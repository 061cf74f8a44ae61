#include "app/launcher_app.h"

#include <type_traits>

#include "app/command_line_win.h"
#include "app/java_host_services_win.h"
#include "app/module_path.h"
#include "app/pair_relaunch.h"
#include "base/error_box.h"
#include "base/wide.h"
#include "jvm/java_environment_win.h"
#include "jvm/java_main_thread_win.h"
#include "jvm/java_runtime_win.h"
#include "resources/resource_ids.h"
#include "runtime/java_version.h"
#include "runtime/pe_image_file.h"
#include "runtime/windows_runtime_environment.h"
#include "settings/settings_files.h"

namespace launcher {
namespace {
// The VM calls these when the Java program exits or the VM aborts. The launcher has nothing to
// add there, so they return and the VM carries on with its own exit or abort.
void JNICALL onVmExit(jint) {}
void JNICALL onVmAbort() {}
static_assert(std::is_same_v<decltype(&onVmExit), VmExitHookFn>);
static_assert(std::is_same_v<decltype(&onVmAbort), VmAbortHookFn>);
}  // namespace

bool LauncherApp::initialize() {
  // Everything below needs the launcher's own path; without it the user has been told why.
  std::optional<std::u16string> modulePath = launcherModulePath(messageOwner);
  if (!modulePath) return false;
  context = launchContextFor(*modulePath);
  arguments = readCommandLine();
  if (!readSettings()) return false;
  // Relative paths in the settings (a relative "JRE Path", say) are meant relative to the
  // launcher's folder, whatever folder the user started it from; so this comes before the
  // runtime search.
  if (settings.overrideWorkingDir) applyWorkingDirOverride();
  return locateRuntime();
}

bool LauncherApp::locateRuntime() {
  WindowsRuntimeEnvironment machine;
  RuntimeLocation location = locateRuntimeStages(machine, settings.runtime, context.folderPrefix());
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
  VersionRangeText range = describeVersionRange(settings.runtime.minimumVersion, settings.runtime.maximumVersion);
  UINT message = settings.runtime.jvmType == JvmType::server ? IDS_NO_SERVER_RUNTIME : IDS_NO_RUNTIME;
  // The dialog that lets the user browse for a runtime folder will take this message; until then
  // the user reads it in a box and the launch ends as a cancelled dialog ends it.
  showError(messageOwner, message, {loadFormattedText(range.textId, range.args)});
  return false;
}

bool LauncherApp::readSettings() {
  // A launcher whose path has no "." has no settings file, and nothing to start.
  if (context.settingsFile.empty()) return false;
  ProfileSettingsSource source(context);
  if (!readSettingsFrom(source, settings)) {
    showError(messageOwner, IDS_MAIN_CLASS_MISSING);
    return false;
  }
  return true;
}

void LauncherApp::applyWorkingDirOverride() {
  if (!context.folder.empty()) ::SetCurrentDirectoryW(as_wcstr(context.folder));
}

void LauncherApp::updatePairRelaunch() {
  relaunchThroughPair = needsPairRelaunch(settings.pairProduct, jvmDllPath);
}

int LauncherApp::run() {
  if (relaunchThroughPair) return startPairProduct(settings.pairProduct, settings.pairReturnCode);
  prepareJavaEnvironment(jvmDllPath, settings, context.folderPrefix(), vmSetup.vmOptions);
  return runJava();
}

int LauncherApp::runJava() {
  if (!loadJavaRuntime(messageOwner, jvmDllPath, runtimeEntryPoints)) return -1;
  // An empty class path has been reported, and the settings after it are not applied; the VM is
  // still created with what there is.
  if (assembleVmOptions(messageOwner, context, settings, vmSetup) && !settings.extraArguments.empty()) {
    appendExtraArguments(settings.extraArguments, arguments);
  }
  const RuntimeCriteria& runtime = settings.runtime;
  JavaMainRequest request{runtimeEntryPoints,
                          vmSetup.vmOptions,
                          onVmExit,
                          onVmAbort,
                          settings.mainClass,
                          arguments,
                          settings.failureCheck,
                          runtime.vendor(RuntimeVendor::ibm).accepted || runtime.vendor(RuntimeVendor::ibm).favored,
                          vmSetup.streamFiles};
  vmSetup.mainThreadStackSize = mainThreadStackSize(vmSetup.mainThreadStackSize, runtimeEntryPoints);
  WindowsJavaHostServices services(messageOwner, nullptr);
  switch (runJavaMainThread(vmSetup.mainThreadStackSize, request, javaVm, services)) {
    case JavaMainResult::mainReturned:
      return 0;
    case JavaMainResult::mainThrew:
      // The program failed; scripts and installers that start it must see that.
      return 1;
    case JavaMainResult::launchFailed:
      break;
  }
  return -1;
}

void LauncherApp::cleanup() {
  // The Java main thread destroys the VM before it ends, so this finds none after an ordinary
  // start; it is here for a VM that a failed start would leave behind.
  destroyJavaVm(javaVm);
}

}  // namespace launcher
