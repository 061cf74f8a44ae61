#include "settings/settings_paths.h"

#include <gtest/gtest.h>

namespace launcher {
namespace {

TEST(SettingsPath, SameNameWithIniBesideTheLauncher) {
  EXPECT_EQ(settingsPathForModule(u"C:\\Program Files\\Acme\\app.exe"), u"C:\\Program Files\\Acme\\app.ini");
  EXPECT_EQ(settingsPathForModule(u"C:\\Acme\\my.app.exe"), u"C:\\Acme\\my.app.ini");
}

TEST(SettingsPath, DotInAFolderNameCountsWhenTheFileHasNone) {
  EXPECT_EQ(settingsPathForModule(u"C:\\my.tools\\app"), u"C:\\my.ini");
}

TEST(SettingsPath, NoDotMeansNoSettingsFile) {
  EXPECT_EQ(settingsPathForModule(u"C:\\tools\\app"), std::nullopt);
  EXPECT_EQ(settingsPathForModule(u""), std::nullopt);
}

}  // namespace
}  // namespace launcher
