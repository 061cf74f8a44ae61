#include "settings/settings_paths.h"

#include <gtest/gtest.h>

#include "base/text.h"

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

TEST(UserSettingsPath, ForbiddenCharactersLeaveTheProductNameAndCode) {
  EXPECT_EQ(productFolderName(u"a\\b?c\"d|e>f<g:h/i*j"), u"abcdefghij");
  EXPECT_EQ(productFolderName(u"Acme: Tools/Pro"), u"Acme ToolsPro");
  std::optional<UserSettingsLocation> location =
      userSettingsLocation(kAppData, u"Acme: Tools", u"v1:2", u"C:\\a\\tool.exe");
  ASSERT_TRUE(location);
  EXPECT_EQ(location->codeFolder, u"C:\\Users\\ann\\AppData\\Roaming\\Acme Tools\\v12");
}

TEST(UserSettingsPath, NoNameOrCodeLeadsOutOfItsFolder) {
  // A level Windows reads as "." or ".." would move the file above APPDATA or to the drive's root,
  // folders other users can write to: such a file is none at all.
  auto staysInside = [](const std::optional<UserSettingsLocation>& location) {
    if (!location) return true;
    std::u16string_view below(location->file);
    if (!below.starts_with(kAppData)) return false;
    for (const std::u16string& level : splitAt(below.substr(kAppData.size()), u'\\')) {
      if (!level.empty() && level.find_first_not_of(u". ") == std::u16string::npos) return false;
    }
    return true;
  };
  for (std::u16string_view hostile : {u"..\\..\\..\\..\\Public", u"..", u".", u"...", u". .", u"\\", u"C:", u"a/../.."}) {
    EXPECT_TRUE(staysInside(userSettingsLocation(kAppData, u"Acme", hostile, u"C:\\a\\t.exe")));
    EXPECT_TRUE(staysInside(userSettingsLocation(kAppData, hostile, u"A1", u"C:\\a\\t.exe")));
  }
  EXPECT_EQ(userSettingsLocation(kAppData, u"Acme", u"..\\..\\Public", u"C:\\a\\t.exe")->codeFolder,
            u"C:\\Users\\ann\\AppData\\Roaming\\Acme\\....Public");
  EXPECT_EQ(userSettingsLocation(kAppData, u"Acme", u"..", u"C:\\a\\t.exe"), std::nullopt);
  EXPECT_EQ(userSettingsLocation(kAppData, u"/", u"A1", u"C:\\a\\t.exe"), std::nullopt);
  // Both left empty stays as it always was: the levels collapse into APPDATA itself.
  EXPECT_EQ(userSettingsLocation(kAppData, u"", u"", u"C:\\a\\t.exe")->file,
            u"C:\\Users\\ann\\AppData\\Roaming\\\\\\t.ini");
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
  // The root with its backslash: "C:" alone is the folder last used on that drive.
  EXPECT_EQ(launcherFolderOf(u"C:\\app.exe"), u"C:\\");
  EXPECT_EQ(launchContextFor(u"C:\\app.exe").folderPrefix(), u"C:\\");
  EXPECT_EQ(launchContextFor(u"C:\\Apps\\app.exe").folderPrefix(), u"C:\\Apps\\");
  EXPECT_EQ(launcherFolderOf(u"app.exe"), std::nullopt);
  EXPECT_EQ(launcherFolderOf(u"\\app.exe"), std::nullopt);
}

}  // namespace
}  // namespace launcher
