#pragma once
// The launcher's settings files on this machine: where they are, reading them into
// LauncherSettings, and storing the runtime folder a user chose.

#include <windows.h>

#include <string>
#include <string_view>

#include "settings/launcher_settings.h"
#include "settings/profile_file.h"

namespace launcher {

// The main settings file beside the launcher; false when the launcher's own path cannot be had
// (the user has been told) or has no ".".
bool settingsFilePath(HWND messageOwner, std::u16string& path);

// The per-user settings file of the launcher (under APPDATA), its folders created first when
// asked; empty when there is none (no module path, no APPDATA).
std::u16string userSettingsFilePath(HWND messageOwner, const LauncherSettings& settings, bool createFolders);

// The companion's settings file beside it (used for a service); false when "Pair Product" is
// empty or has no ".".
bool pairSettingsFilePath(const LauncherSettings& settings, std::u16string& path);

// The companion's per-user settings file, its folders created; empty when there is none.
std::u16string pairUserSettingsFilePath(const LauncherSettings& settings);

// Reads the settings from the main file and, for "JRE Path", the per-user file.
class ProfileSettingsSource : public SettingsSource {
 public:
  ProfileSettingsSource(HWND messageOwner, std::u16string mainPath) : messageOwner_(messageOwner), main_(std::move(mainPath)) {}

  std::u16string readMainPlain(std::u16string_view section, std::u16string_view key) override;
  std::u16string readMainLayered(std::u16string_view section, std::u16string_view key) override;
  bool userFileExists(const ProductIdentity& product) override;
  std::u16string readUserPlain(const ProductIdentity& product, std::u16string_view section,
                               std::u16string_view key) override;

 private:
  std::u16string userPath(const ProductIdentity& product);

  HWND messageOwner_;
  ProfileFile main_;
};

// Remembers `folder` as [Java Runtime Environment] "JRE Path" for the next start: an ordinary
// application keeps it per user (and tells its companion's per-user file too), a service keeps
// it in its main settings file (and its companion's). Nothing is written when the main settings
// file cannot be located; write failures are ignored, the runtime is used anyway.
void storeJrePath(HWND messageOwner, const LauncherSettings& settings, std::u16string_view folder);

}  // namespace launcher
