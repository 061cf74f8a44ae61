#include "jvm/vm_option_assembly_win.h"

#include "app/command_line_win.h"
#include "app/module_path.h"
#include "base/ansi_text.h"
#include "base/environment.h"
#include "base/error_box.h"
#include "jvm/class_path.h"
#include "jvm/vm_parameters.h"
#include "resources/resource_ids.h"
#include "settings/launcher_settings.h"
#include "settings/profile_file.h"
#include "settings/settings_files.h"
#include "settings/settings_paths.h"

namespace launcher {
namespace {

constexpr std::u16string_view kApplication = u"Application";

MemoryBases currentMemoryBases() {
  MEMORYSTATUS status{};
  status.dwLength = sizeof(status);
  ::GlobalMemoryStatus(&status);
  return MemoryBases{static_cast<std::uint64_t>(status.dwTotalPhys) >> 10,
                     static_cast<std::uint64_t>(status.dwAvailVirtual) >> 10};
}

std::u16string classPathFromSettings(const ProfileFile& settings, const std::u16string& modulePath) {
  std::u16string folder = launcherFolderOf(modulePath).value_or(u"");
  std::u16string classPath =
      buildClassPath(splitClassPath(settings.readLayered(u"Class Path", u"Class Path")), folder,
                     [](std::u16string_view text) { return expandEnvironment(text); },
                     [](std::u16string_view pattern) { return findFileNames(pattern); });
  if (isYesInAnyCase(settings.readLayered(kApplication, u"Embedded Jar"))) {
    classPath = prependEmbeddedJar(classPath, modulePath);
  }
  return classPath;
}

// An output or error file setting: the path expanded, and whether to append ("yes" exactly).
void readStreamFile(const ProfileFile& settings, const char16_t* fileKey, const char16_t* appendKey,
                    std::u16string& file, bool& append) {
  file = settings.readLayered(kApplication, fileKey);
  if (!file.empty()) file = expandEnvironment(file);
  append = isExactYes(settings.readLayered(kApplication, appendKey));
}

}  // namespace

bool assembleVmOptions(HWND messageOwner, VmSetup& setup, std::vector<std::u16string>& arguments) {
  std::u16string settingsPath;
  if (!settingsFilePath(messageOwner, settingsPath)) return false;
  std::optional<std::u16string> modulePath = launcherModulePath(messageOwner);
  if (!modulePath) return false;
  ProfileFile settings(settingsPath);

  std::u16string classPath = classPathFromSettings(settings, *modulePath);
  if (classPath.empty()) {
    showError(messageOwner, IDS_CLASS_PATH_EMPTY);
    return false;
  }

  std::vector<std::u16string> options{classPathOption(classPath)};
  VmParameters parameters = applyVmParameters(
      settings.readLayered(u"Java Runtime Environment", u"Virtual Machine Parameters"), currentMemoryBases());
  options.insert(options.end(), parameters.options.begin(), parameters.options.end());
  if (parameters.stackSizeSet) setup.mainThreadStackSize = parameters.mainThreadStackSize;
  // Expanded after splitting, so a variable whose value holds spaces stays inside its option.
  for (const std::u16string& option : options) setup.vmOptions.push_back(toThreadAnsi(expandEnvironment(option)));

  readStreamFile(settings, u"Output File", u"Output Append", setup.outputFile, setup.outputAppend);
  readStreamFile(settings, u"Error File", u"Error Append", setup.errorFile, setup.errorAppend);

  std::u16string extraArguments = settings.readLayered(kApplication, u"Cmd");
  if (!extraArguments.empty()) appendExtraArguments(extraArguments, arguments);
  return true;
}

}  // namespace launcher
