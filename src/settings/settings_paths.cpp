#include "settings/settings_paths.h"

#include "base/path.h"

namespace launcher {

std::optional<std::u16string> settingsPathForModule(std::u16string_view modulePath) {
  size_t dot = modulePath.rfind(u'.');
  if (dot == std::u16string_view::npos) return std::nullopt;
  std::u16string path(modulePath.substr(0, dot + 1));
  path += u"ini";
  return path;
}

std::optional<std::u16string> pairSettingsPath(std::u16string_view pairProduct) {
  return settingsPathForModule(pairProduct);
}

std::u16string productFolderName(std::u16string_view productName) {
  constexpr std::u16string_view kForbidden = u"\\?\"|><:/*";
  std::u16string name;
  name.reserve(productName.size());
  for (char16_t c : productName) {
    if (kForbidden.find(c) == std::u16string_view::npos) name.push_back(c);
  }
  return name;
}

namespace {

// A product name or code as one folder level: the forbidden characters dropped. None when what is
// left is empty (and something was written) or only dots and spaces, which Windows reads as "."
// or ".." (it drops trailing dots and spaces), so the file would move to another folder.
std::optional<std::u16string> folderLevel(std::u16string_view value) {
  std::u16string level = productFolderName(value);
  if (value.empty()) return level;
  if (level.find_first_not_of(u". ") == std::u16string::npos) return std::nullopt;
  return level;
}

}  // namespace

std::optional<UserSettingsLocation> userSettingsLocation(std::u16string_view appData,
                                                         std::u16string_view productName,
                                                         std::u16string_view productCode,
                                                         std::u16string_view executablePath) {
  if (appData.empty()) return std::nullopt;
  // Windows accepts "/" as well as "\" in a path; the companion's path is typed by a person.
  std::u16string_view fileName = fileNameOf(executablePath);
  if (fileName.empty()) return std::nullopt;
  std::u16string_view stem = fileName.substr(0, fileName.rfind(u'.'));
  std::optional<std::u16string> nameLevel = folderLevel(productName);
  std::optional<std::u16string> codeLevel = folderLevel(productCode);
  if (!nameLevel || !codeLevel) return std::nullopt;

  UserSettingsLocation location;
  location.productFolder.append(appData).append(u"\\").append(*nameLevel);
  location.codeFolder.append(location.productFolder).append(u"\\").append(*codeLevel);
  location.file.append(location.codeFolder).append(u"\\").append(stem).append(u".ini");
  return location;
}

std::optional<std::u16string> launcherFolderOf(std::u16string_view modulePath) {
  std::u16string_view folder = folderOf(modulePath);
  if (folder.empty()) return std::nullopt;
  // "D:" alone names the folder the process last used on that drive, not the drive's root.
  if (folder.size() == 2 && folder[1] == u':') return std::u16string(folder) + u"\\";
  return std::u16string(folder);
}

LaunchContext launchContextFor(std::u16string_view modulePath) {
  LaunchContext context;
  context.modulePath = modulePath;
  context.folder = launcherFolderOf(modulePath).value_or(u"");
  context.settingsFile = settingsPathForModule(modulePath).value_or(u"");
  return context;
}

}  // namespace launcher
