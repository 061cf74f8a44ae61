#include "app/launcher_app_win.h"

#include <type_traits>

#include "app/command_line.h"
#include "app/command_line_win.h"
#include "app/java_host_services_win.h"
#include "app/module_path_win.h"
#include "app/pair_relaunch_win.h"
#include "base/ansi_text_win.h"
#include "base/file_system_win.h"
#include "base/error_box_win.h"
#include "base/path.h"
#include "base/text.h"
#include "base/trace.h"
#include "base/wide.h"
#include "jvm/class_data_archive_win.h"
#include "jvm/java_environment_win.h"
#include "jvm/java_main_thread_win.h"
#include "jvm/jar_splash_win.h"
#include "jvm/java_runtime_win.h"
#include "jvm/runtime_output.h"
#include "jvm/runtime_output_win.h"
#include "resources/resource_ids.h"
#include "runtime/java_version.h"
#include "runtime/pe_image_file_win.h"
#include "runtime/runtime_environment_win.h"
#include "settings/settings_files_win.h"
#include "ui/runtime_folder_dialog_win.h"
#include "ui/runtime_folder_rules.h"

namespace launcher {
namespace {
// Ends the process from a hook of the VM's with the code of a failed launch.
[[noreturn]] void endFailedLaunch() {
  trace(u"exit", u"code -1");
  ::ExitProcess(static_cast<UINT>(-1));
}

// The archive of the start whose VM calls the hooks below, which carry no context of their own.
ClassDataArchiveStart* hookedArchive = nullptr;

// The VM calls these when the Java program exits or the VM aborts. The exit hook comes after
// HotSpot has written a class-data archive, which is published there; then it returns and the
// VM carries on with its own exit.
void JNICALL onVmExit(jint code) {
  if (tracing()) trace(u"exit", u"the program called System.exit(" + signedDecimalText(code) + u")");
  if (hookedArchive != nullptr) hookedArchive->finish(true);
}
void JNICALL onVmAbort() {
  // The runtime aborts while it creates the VM when it cannot start ("Could not reserve enough
  // space for ... object heap"): the user reads its words from here, and the launch ends as a
  // failed one, before the runtime would end the process with a code of its own.
  const bool duringCreation = reportVmCreationAbort();
  if (hookedArchive != nullptr) hookedArchive->abandonOnAbort(duringCreation);
  if (duringCreation) endFailedLaunch();
}
static_assert(std::is_same_v<decltype(&onVmExit), VmExitHookFn>);
static_assert(std::is_same_v<decltype(&onVmAbort), VmAbortHookFn>);
constexpr std::u16string_view kSourceNames[] = {
    u"\"JRE Path\"", u"beside the launcher", u"JAVA_HOME", u"the registry",
    u"the 64-bit registry view", u"HKEY_CURRENT_USER", u"the runtime folder dialog", u"nowhere"};
static_assert(std::size(kSourceNames) == static_cast<size_t>(RuntimeSource::none) + 1);
}  // namespace

bool LauncherApp::initialize() {
  startedAsCompanion = takeCompanionMark();
  // Everything below needs the launcher's own path; without it the user has been told why.
  std::optional<std::u16string> modulePath = launcherModulePath(messageOwner);
  if (!modulePath) return false;
  context = launchContextFor(*modulePath);
  arguments = readCommandLine();
  if (!readSettings()) return false;
  if (!setUpSingleInstance()) return false;
  // A second start has handed its arguments on; it needs no runtime and no folder of its own.
  if (singleInstance.role() == InstanceRole::second) return true;
  anchorSettingsPaths();
  // The Java program's current folder; the settings' paths no longer depend on it.
  if (settings.overrideWorkingDir) applyWorkingDirOverride();
  return locateRuntime();
}

bool LauncherApp::locateRuntime() {
  WindowsRuntimeEnvironment machine;
  // A runtime for the companion's machine counts only where the companion may really start.
  RuntimeCriteria criteria = settings.runtime;
  criteria.withCompanion = mayStartCompanion(companionFacts());
  RuntimeLocation location = locateRuntimeStages(machine, criteria, context.folderPrefix());
  if (location.source == RuntimeSource::none) {
    trace(u"runtime", u"none qualifies; the user is asked for a runtime folder");
    return askForRuntimeFolder();
  }
  settleRuntime(std::move(location));
  return true;
}

void LauncherApp::settleRuntime(RuntimeLocation location) {
  runtime = std::move(location);
  if (tracing()) {
    trace(u"runtime", u"chosen " + quotedForTrace(runtime.jvmDllPath) + u" from " +
                          std::u16string(kSourceNames[static_cast<size_t>(runtime.source)]));
  }
  WindowsRuntimeEnvironment machine;
  completeFromReleaseFile(machine, runtime);
  const CompanionFacts facts = companionFacts();
  const CompanionDecision decision =
      decideCompanion(facts, [this] { return isCompanionRuntime(runtime.jvmDllPath); });
  relaunchThroughPair = decision.relaunch;
  if (!tracing()) return;
  std::u16string line(decision.reason);
  if (!facts.runtimeLoadsHere && !settings.pairProduct.empty()) {
    line += u", \"Pair Product\" " + quotedForTrace(settings.pairProduct);
  }
  trace(u"relaunch", line);
}

CompanionFacts LauncherApp::companionFacts() const {
  CompanionFacts facts;
  facts.startedAsCompanion = startedAsCompanion;
  facts.pairProductNamed = !settings.pairProduct.empty();
  facts.pairIsThisLauncher = facts.pairProductNamed && isSameFile(settings.pairProduct, context.modulePath);
  // A runtime named by path may be of either architecture, and so may one registered per user,
  // where both registry views meet; one found only among the 64-bit registrations is for the
  // companion when it is what it says. One beside the launcher or in its own view loads here.
  facts.runtimeLoadsHere =
      runtime.source == RuntimeSource::besideLauncher || runtime.source == RuntimeSource::registry;
  return facts;
}

bool LauncherApp::askForRuntimeFolder() {
  VersionRangeText range = describeVersionRange(settings.runtime.minimumVersion, settings.runtime.maximumVersion);
  std::u16string explanation = composeRuntimeExplanation(settings.runtime.jvmType, range, loadText);
  RuntimeFolderDialog dialog(explanation, settings.runtime.jvmType, mayStartCompanion(companionFacts()));
  switch (dialog.show(messageOwner.current())) {
    case RuntimeFolderDialog::Outcome::chosen:
      break;
    case RuntimeFolderDialog::Outcome::cancelled:
      return false;
    case RuntimeFolderDialog::Outcome::unavailable:
      // The user still learns which runtime to install; the launch ends as a cancelled dialog
      // ends it.
      showError(messageOwner, noRuntimeTextId(settings.runtime.jvmType),
                {loadFormattedText(range.textId, range.args)});
      return false;
  }
  // The order of the search's own stages: the runtime, the companion decision, then the folder
  // remembered for the next start, which the companion reads too when it is the one to start.
  RuntimeLocation picked;
  picked.source = RuntimeSource::picked;
  picked.jvmDllPath = dialog.chosenJvmDll();
  settleRuntime(std::move(picked));
  storeJrePath(context, settings, dialog.chosenFolder());
  return true;
}

bool LauncherApp::readSettings() {
  // A launcher whose path has no "." has no settings file, and nothing to start.
  if (context.settingsFile.empty()) return false;
  if (tracing()) trace(u"settings", u"main file " + quotedForTrace(context.settingsFile));
  ProfileSettingsSource source(context);
  SettingsOutcome outcome = readSettingsFrom(source, settings);
  switch (outcome.status) {
    case SettingsOutcome::complete:
      target = mainTargetOf(settings, context.modulePath);
      return true;
    case SettingsOutcome::requiredKeyEmpty:
      // The profile functions read a missing or locked file as one without keys; the user must
      // learn which file it is, not that a key is missing.
      if (std::uint32_t error = fileReadError(context.settingsFile)) {
        showError(messageOwner, IDS_SETTINGS_FILE_UNREADABLE, {context.settingsFile, systemErrorText(error)});
      } else {
        showError(messageOwner, IDS_MAIN_CLASS_MISSING);
      }
      break;
    case SettingsOutcome::requiredKeyUnreadable:
      showError(messageOwner, IDS_SETTING_TOO_LONG, {outcome.key->section, outcome.key->key, context.settingsFile});
      break;
  }
  return false;
}

bool LauncherApp::setUpSingleInstance() {
  // A service is started by the service manager, never by a user a second time.
  if (settings.isService || !settings.singleInstance) return true;
  secondaryMainServer.setMainClass(settings.mainClass);
  return singleInstance.setUp(context.modulePath, arguments, secondaryMainServer);
}

void LauncherApp::anchorSettingsPaths() {
  // Files of the application lie beside the launcher, whatever folder the user started it from
  // (Downloads, a share, a shortcut's "Start in"): a runtime or program planted there must never
  // run in its place.
  for (std::u16string* path : {&settings.runtime.jrePath, &settings.pairProduct}) {
    if (!path->empty()) *path = fullPathName(anchoredPath(context.folder, *path));
  }
}

void LauncherApp::applyWorkingDirOverride() {
  if (!context.folder.empty()) ::SetCurrentDirectoryW(as_wcstr(context.folder));
}

int LauncherApp::run() {
  if (singleInstance.role() == InstanceRole::second) return singleInstance.awaitFirstInstanceReply();
  if (relaunchThroughPair) {
    // The companion, started with the same command line, serves later starts itself: this
    // process, which never starts Java, must not take their arguments.
    singleInstance.tearDown();
    return startPairProduct(messageOwner, settings.pairProduct, settings.pairReturnCode);
  }
  prepareJavaEnvironment(runtime.jvmDllPath, settings, context.folderPrefix(), vmSetup.vmOptions);
  // The switch stays among the arguments: the Java program receives it too.
  if (!hasSplashSwitch(arguments)) startSplash();
  int exitCode = runJava();
  // A failed launch leaves no splash over what the user must see next.
  if (exitCode == -1) splash.closeRuntimeSplash();
  return exitCode;
}

void LauncherApp::startSplash() {
  // Beside the launcher, as every other file of the application, whatever the current folder.
  std::u16string image =
      settings.splashImage.empty() ? std::u16string() : fullPathName(anchoredPath(context.folder, settings.splashImage));
  // Else the image an executable jar's manifest names, as "java -jar" shows it.
  const std::u16string& jar = target.jar;
  if (image.empty() && !jar.empty()) {
    image = jarSplashFile = extractJarSplashImage(jar == context.modulePath ? jar : fullPathName(anchoredPath(context.folder, jar)));
  }
  if (image.empty()) return;
  SplashRequest request{image, settings.splashShadow, settings.preferRuntimeSplash};
  splash.start(request, runtime.jvmDllPath);
}

int LauncherApp::runJava() {
  if (!loadJavaRuntime(messageOwner, runtime.jvmDllPath, runtimeEntryPoints)) return -1;
  // An option the VM would refuse has been named to the user with the key to use instead.
  if (!assembleVmOptions(messageOwner, context, settings, target, vmSetup)) return -1;
  if (!settings.extraArguments.empty()) appendExtraArguments(settings.extraArguments, arguments);
  // What names the program, as the java command has it: the class, the jar or the module.
  addJavaCommandOption(!target.className.empty() ? target.className : !target.module.empty() ? target.module
                                                                                               : vmSetup.mainJar,
                       arguments, vmSetup);
  archive.prepare(context, settings, runtime.jvmDllPath, runtime.version, vmSetup);
  hookedArchive = &archive;
  JavaMainRequest request{runtimeEntryPoints,
                          vmSetup.vmOptions,
                          onVmExit,
                          onVmAbort,
                          target.className,
                          // A module wins over a jar's manifest, as the class does.
                          target.className.empty() && target.module.empty() ? vmSetup.mainJar : std::u16string(),
                          target.module,
                          arguments,
                          settings.failureCheck,
                          // Only the runtime actually chosen counts: "VM Provider" admitting IBM's
                          // runtimes says nothing about this one, and an ordinary one that slept
                          // would never end.
                          runtime.vendor == RuntimeVendor::ibm,
                          vmSetup.streamFiles,
                          kWindowsRuntimeOutput};
  vmSetup.mainThreadStackSize = mainThreadStackSize(vmSetup.mainThreadStackSize, runtimeEntryPoints);
  if (tracing()) {
    traceVmOptions(vmSetup);
    trace(u"vm", u"options \"vfprintf\" (first), \"abort\" and \"exit\" carry the launcher's hooks");
  }
  WindowsJavaHostServices services(messageOwner, singleInstance.mainStartedEvent(), splash, &secondaryMainServer);
  JavaMainResult result = runJavaMainThread(vmSetup.mainThreadStackSize, request, javaVm, services);
  // The VM has ended, and written the class-data archive this start was to make, unless the
  // launch failed; that VM ends in cleanup, with too few classes for an archive worth keeping.
  if (result != JavaMainResult::launchFailed) archive.finish(true);
  switch (result) {
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
  splash.closeWindow();
  // The Java main thread destroys the VM before it ends, so this finds none after an ordinary
  // start; it is here for a VM that a failed start would leave behind.
  destroyJavaVm(javaVm);
  archive.finish(false);
  splash.closeRuntimeSplash();
  if (!jarSplashFile.empty()) ::DeleteFileW(as_wcstr(jarSplashFile));
  singleInstance.tearDown();
}

}  // namespace launcher
