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

constexpr std::u16string_view kAppData = u"C:\\Users\\ann\\AppData\\Roaming";

TEST(UserSettingsPath, FoldersAndFileUnderAppData) {
  std::optional<UserSettingsLocation> location =
      userSettingsLocation(kAppData, u"Acme Tools", u"AT-2", u"C:\\Program Files\\Acme\\tool.exe");
  ASSERT_TRUE(location);
  EXPECT_EQ(location->productFolder, u"C:\\Users\\ann\\AppData\\Roaming\\Acme Tools");
  EXPECT_EQ(location->codeFolder, u"C:\\Users\\ann\\AppData\\Roaming\\Acme Tools\\AT-2");
  EXPECT_EQ(location->file, u"C:\\Users\\ann\\AppData\\Roaming\\Acme Tools\\AT-2\\tool.ini");
}

TEST(UserSettingsPath, ForbiddenCharactersLeaveTheProductNameButNotTheCode) {
  EXPECT_EQ(productFolderName(u"a\\b?c\"d|e>f<g:h/i*j"), u"abcdefghij");
  EXPECT_EQ(productFolderName(u"Acme: Tools/Pro"), u"Acme ToolsPro");
  std::optional<UserSettingsLocation> location =
      userSettingsLocation(kAppData, u"Acme: Tools", u"v1:2", u"C:\\a\\tool.exe");
  ASSERT_TRUE(location);
  EXPECT_EQ(location->codeFolder, u"C:\\Users\\ann\\AppData\\Roaming\\Acme Tools\\v1:2");
}

TEST(UserSettingsPath, FileNameFromTheLastDotOfTheFileNameOnly) {
  struct Case {
    std::u16string_view executable;
    std::u16string_view iniName;
  };
  const Case cases[] = {
      {u"C:\\a\\my.app.exe", u"my.app.ini"},
      {u"C:\\my.tools\\app", u"app.ini"},  // unlike the main file, folders do not count
      {u"app", u"app.ini"},
      {u"C:\\a\\.exe", u".ini"},
      {u"C:/Pair Apps/pair.exe", u"pair.ini"},
      {u"C:\\a/b\\pair.exe", u"pair.ini"},
  };
  for (const Case& c : cases) {
    std::optional<UserSettingsLocation> location =
        userSettingsLocation(u"D:\\u", u"P", u"C", c.executable);
    ASSERT_TRUE(location) << "executable path length " << c.executable.size();
    std::u16string expected(u"D:\\u\\P\\C\\");
    expected += c.iniName;
    EXPECT_EQ(location->file, expected);
  }
}

TEST(UserSettingsPath, NoneWithoutAppDataOrFileName) {
  EXPECT_EQ(userSettingsLocation(u"", u"P", u"C", u"C:\\a\\app.exe"), std::nullopt);
  EXPECT_EQ(userSettingsLocation(kAppData, u"P", u"C", u""), std::nullopt);
  EXPECT_EQ(userSettingsLocation(kAppData, u"P", u"C", u"C:\\a\\"), std::nullopt);
}

TEST(PairSettingsPath, BesideTheCompanionOrNone) {
  EXPECT_EQ(pairSettingsPath(u"C:\\Acme\\pair64.exe"), u"C:\\Acme\\pair64.ini");
  EXPECT_EQ(pairSettingsPath(u""), std::nullopt);
  EXPECT_EQ(pairSettingsPath(u"C:\\Acme\\pair"), std::nullopt);
}

}  // namespace
}  // namespace launcher

namespace launcher {
namespace {

TEST(LauncherFolder, UpToTheLastBackslash) {
  EXPECT_EQ(launcherFolderOf(u"C:\\Program Files\\Acme\\app.exe"), u"C:\\Program Files\\Acme");
  EXPECT_EQ(launcherFolderOf(u"C:\\app.exe"), u"C:");
  EXPECT_EQ(launcherFolderOf(u"app.exe"), std::nullopt);
  EXPECT_EQ(launcherFolderOf(u"\\app.exe"), std::nullopt);
}

}  // namespace
}  // namespace launcher
