#pragma once
// The launcher's settings files on this machine: reading them into LauncherSettings, and storing
// the runtime folder a user chose.

#include <string>
#include <string_view>

#include "settings/launcher_settings.h"
#include "settings/profile_file_win.h"
#include "settings/settings_paths.h"

namespace launcher {

// The per-user settings file of the launcher (under APPDATA), its folders created first when
// asked; empty when there is none (no APPDATA, no file name).
std::u16string userSettingsFilePath(const LaunchContext& context, const LauncherSettings& settings,
                                    bool createFolders);

// The companion's settings file beside it (used for a service); false when "Pair Product" is
// empty or has no ".".
bool pairSettingsFilePath(const LauncherSettings& settings, std::u16string& path);

// The companion's per-user settings file, its folders created; empty when there is none.
std::u16string pairUserSettingsFilePath(const LauncherSettings& settings);

// Reads the settings from the launcher's main file and, for "JRE Path", its per-user file.
class ProfileSettingsSource : public SettingsSource {
 public:
  explicit ProfileSettingsSource(const LaunchContext& context) : context_(context), main_(context.settingsFile) {}

  std::optional<std::u16string> readMainPlain(std::u16string_view section, std::u16string_view key) override;
  std::optional<std::u16string> readMainLayered(std::u16string_view section, std::u16string_view key,
                                                bool tokenList) override;
  bool userFileExists(const ProductIdentity& product) override;
  std::optional<std::u16string> readUserPlain(const ProductIdentity& product, std::u16string_view section,
                               std::u16string_view key) override;

 private:
  std::u16string userPath(const ProductIdentity& product);

  const LaunchContext& context_;
  ProfileFile main_;
};

// Remembers `folder` as [Java Runtime Environment] "JRE Path" for the next start: an ordinary
// application keeps it per user (and tells its companion's per-user file too), a service keeps
// it in its main settings file (and its companion's). Nothing is written when the launcher has
// no main settings file; write failures are ignored, the runtime is used anyway.
void storeJrePath(const LaunchContext& context, const LauncherSettings& settings, std::u16string_view folder);

}  // namespace launcher
