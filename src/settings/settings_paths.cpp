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

std::optional<UserSettingsLocation> userSettingsLocation(std::u16string_view appData,
                                                         std::u16string_view productName,
                                                         std::u16string_view productCode,
                                                         std::u16string_view executablePath) {
  if (appData.empty()) return std::nullopt;
  // Windows accepts "/" as well as "\" in a path; the companion's path is typed by a person.
  std::u16string_view fileName = fileNameOf(executablePath);
  if (fileName.empty()) return std::nullopt;
  std::u16string_view stem = fileName.substr(0, fileName.rfind(u'.'));

  UserSettingsLocation location;
  location.productFolder.append(appData).append(u"\\").append(productFolderName(productName));
  location.codeFolder.append(location.productFolder).append(u"\\").append(productCode);
  location.file.append(location.codeFolder).append(u"\\").append(stem).append(u".ini");
  return location;
}

std::optional<std::u16string> launcherFolderOf(std::u16string_view modulePath) {
  std::u16string_view folder = folderOf(modulePath);
  if (folder.empty()) return std::nullopt;
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
