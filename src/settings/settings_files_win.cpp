#include "settings/settings_files_win.h"

#include <windows.h>

#include <optional>

#include "base/environment_win.h"
#include "base/file_system_win.h"
#include "base/trace.h"
#include "base/wide.h"
#include "base/handle_owners_win.h"
#include "settings/profile_read.h"
#include "settings/settings_paths.h"

namespace launcher {
namespace {

constexpr std::u16string_view kJavaRuntime = u"Java Runtime Environment";
constexpr std::u16string_view kJrePath = u"JRE Path";

// APPDATA may name a folder beyond MAX_PATH where long paths are enabled; a value cut short would
// name another folder, so it is read whole, up to the longest value a variable can hold.
std::optional<UserSettingsLocation> userLocation(std::u16string_view productName, std::u16string_view productCode,
                                                 std::u16string_view executablePath) {
  return userSettingsLocation(environmentValue(u"APPDATA", 32767), productName, productCode, executablePath);
}

std::u16string withFolders(const std::optional<UserSettingsLocation>& location, bool createFolders) {
  if (!location) return {};
  if (createFolders) {
    // Either may exist already; a real failure shows when the file is written.
    ::CreateDirectoryW(as_wcstr(location->productFolder), nullptr);
    ::CreateDirectoryW(as_wcstr(location->codeFolder), nullptr);
  }
  return location->file;
}

// A settings file that does not exist yet is begun as UTF-16 with a byte order mark, which the
// profile functions then keep: written in the ANSI code page, a folder with other characters would
// be stored with '?' in their place. An existing file is left in its own encoding. CREATE_NEW
// leaves a file that appeared meanwhile alone.
void createUnicodeProfile(const std::u16string& file) {
  UniqueFileHandle created(::CreateFileW(as_wcstr(file), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                         FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!created) return;
  static constexpr unsigned char kByteOrderMark[] = {0xFF, 0xFE};
  DWORD written = 0;
  ::WriteFile(created.get(), kByteOrderMark, sizeof(kByteOrderMark), &written, nullptr);
}

void writeJrePath(const std::u16string& file, std::u16string_view folder) {
  if (file.empty()) return;
  createUnicodeProfile(file);
  std::u16string section(kJavaRuntime), key(kJrePath), value(folder);
  ::WritePrivateProfileStringW(as_wcstr(section), as_wcstr(key), as_wcstr(value), as_wcstr(file));
}

// One line per key read: its value and the file and section it came from.
void traceSetting(std::u16string_view section, std::u16string_view key, const std::optional<std::u16string>& value,
                  std::u16string_view origin) {
  std::u16string line = u"[" + std::u16string(section) + u"] " + std::u16string(key) + u" = ";
  if (!value) {
    line += u"(too long to read, taken as empty)";
  } else {
    line += quotedForTrace(*value);
    line += value->empty() ? u" (not set)" : u" from " + std::u16string(origin);
  }
  trace(u"settings", line);
}

}  // namespace

std::u16string userSettingsFilePath(const LaunchContext& context, const LauncherSettings& settings,
                                    bool createFolders) {
  return withFolders(userLocation(settings.productName, settings.productCode, context.modulePath), createFolders);
}

bool pairSettingsFilePath(const LauncherSettings& settings, std::u16string& path) {
  std::optional<std::u16string> pairPath = pairSettingsPath(settings.pairProduct);
  if (!pairPath) return false;
  path = std::move(*pairPath);
  return true;
}

std::u16string pairUserSettingsFilePath(const LauncherSettings& settings) {
  if (settings.pairProduct.empty()) return {};
  return withFolders(userLocation(settings.productName, settings.productCode, settings.pairProduct), true);
}

std::optional<std::u16string> ProfileSettingsSource::readMainPlain(std::u16string_view section, std::u16string_view key) {
  std::optional<std::u16string> value = main_.readPlain(section, key);
  if (tracing()) traceSetting(section, key, value, u"[" + std::u16string(section) + u"]");
  return value;
}

std::optional<std::u16string> ProfileSettingsSource::readMainLayered(std::u16string_view section,
                                                                     std::u16string_view key, bool tokenList) {
  std::optional<std::u16string> value = main_.readLayered(section, key, tokenList);
  if (tracing()) {
    // Read once more to tell the vendor which section the value stands in.
    std::optional<std::u16string> own = main_.readPlain(section, key);
    bool fromOwn = own && !own->empty();
    traceSetting(section, key, value, u"[" + (fromOwn ? std::u16string(section) : plusSectionName(section)) + u"]");
  }
  return value;
}

std::u16string ProfileSettingsSource::userPath(const ProductIdentity& product) {
  std::optional<UserSettingsLocation> location = userLocation(product.name, product.code, context_.modulePath);
  return location ? location->file : std::u16string();
}

bool ProfileSettingsSource::userFileExists(const ProductIdentity& product) {
  std::u16string path = userPath(product);
  bool exists = !path.empty() && pathFound(path);
  if (tracing()) {
    trace(u"settings", u"per-user file " + quotedForTrace(path) +
                           (exists ? u": exists, its \"JRE Path\" counts" : u": none, the main file's \"JRE Path\" counts"));
  }
  return exists;
}

std::optional<std::u16string> ProfileSettingsSource::readUserPlain(const ProductIdentity& product,
                                                                   std::u16string_view section,
                                                                   std::u16string_view key) {
  std::u16string path = userPath(product);
  if (path.empty()) return std::u16string();
  std::optional<std::u16string> value = ProfileFile(path).readPlain(section, key);
  if (tracing()) traceSetting(section, key, value, u"the per-user file");
  return value;
}

void storeJrePath(const LaunchContext& context, const LauncherSettings& settings, std::u16string_view folder) {
  if (context.settingsFile.empty()) return;
  if (settings.isService) {
    writeJrePath(context.settingsFile, folder);
    std::u16string pairPath;
    if (pairSettingsFilePath(settings, pairPath)) writeJrePath(pairPath, folder);
  } else {
    writeJrePath(userSettingsFilePath(context, settings, true), folder);
    if (!settings.pairProduct.empty()) writeJrePath(pairUserSettingsFilePath(settings), folder);
  }
}

}  // namespace launcher
