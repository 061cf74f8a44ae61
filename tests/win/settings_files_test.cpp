#include "settings/settings_files_win.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "base/file_system_win.h"
#include "base/wide.h"
#include "settings/settings_paths.h"
#include "test_files.h"

namespace launcher {
namespace {

using testing::removeTree;

void writeText(const std::u16string& path, const std::string& text) { ASSERT_TRUE(testing::writeFile(path, text)); }

std::u16string readFileValue(const std::u16string& file, const char16_t* key) {
  return ProfileFile(file).readPlain(u"Java Runtime Environment", key).value_or(u"");
}

// The settings of this test program itself: win_tests.ini beside it, and a per-user file under
// an APPDATA folder of the test's own.
class SettingsFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    context_ = testing::ownLaunchContext();
    mainPath_ = context_.settingsFile;
    ASSERT_FALSE(mainPath_.empty());
    wchar_t temp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, temp);
    root_ = std::u16string(as_u16view(temp)) + u"settings_files_test";
    removeTree(root_);
    ::CreateDirectoryW(as_wcstr(root_), nullptr);
    appData_ = root_ + u"\\AppData";
    ::CreateDirectoryW(as_wcstr(appData_), nullptr);
    ::SetEnvironmentVariableW(L"APPDATA", as_wcstr(appData_));
    userFolder_ = appData_ + u"\\Acme ToolsPro\\7.1";
    userFile_ = userFolder_ + u"\\win_tests.ini";
  }
  void TearDown() override {
    ::DeleteFileW(as_wcstr(mainPath_));
    removeTree(root_);
  }

  void writeMain(const std::string& extra) {
    writeText(mainPath_, "[Product Information]\r\nProduct Name=Acme: Tools/Pro\r\nProduct Code=7.1\r\n" + extra);
  }
  bool read(LauncherSettings& settings) {
    ProfileSettingsSource source(context_);
    return static_cast<bool>(readSettingsFrom(source, settings));
  }

  LaunchContext context_;
  std::u16string mainPath_, root_, appData_, userFolder_, userFile_;
};

TEST_F(SettingsFilesTest, JrePathComesFromThePerUserFileOnceItExists) {
  writeMain("[Java Runtime Environment]\r\nMain Class=com.example.Main\r\nJRE Path=C:\\vendor-jre\\\r\n");
  LauncherSettings settings;
  ASSERT_TRUE(read(settings));
  EXPECT_EQ(settings.mainClass, u"com/example/Main");
  EXPECT_EQ(settings.runtime.jrePath, u"C:\\vendor-jre\\");

  // The user's own file, even without the key, hides the vendor's choice.
  ::CreateDirectoryW(as_wcstr(appData_ + u"\\Acme ToolsPro"), nullptr);
  ::CreateDirectoryW(as_wcstr(userFolder_), nullptr);
  writeText(userFile_, "[Java Runtime Environment]\r\n");
  settings = LauncherSettings();
  ASSERT_TRUE(read(settings));
  EXPECT_EQ(settings.runtime.jrePath, u"");

  writeText(userFile_, "[Java Runtime Environment]\r\nJRE Path=D:\\my-jre\r\n");
  settings = LauncherSettings();
  ASSERT_TRUE(read(settings));
  EXPECT_EQ(settings.runtime.jrePath, u"D:\\my-jre");
}

TEST_F(SettingsFilesTest, AServiceReadsJrePathFromItsMainFileOnly) {
  writeMain("[Application]\r\nApplication Type=service\r\n"
            "[Java Runtime Environment]\r\nMain Class=Main\r\nJRE Path=C:\\vendor-jre\r\n");
  ::CreateDirectoryW(as_wcstr(appData_ + u"\\Acme ToolsPro"), nullptr);
  ::CreateDirectoryW(as_wcstr(userFolder_), nullptr);
  writeText(userFile_, "[Java Runtime Environment]\r\nJRE Path=D:\\my-jre\r\n");
  LauncherSettings settings;
  ASSERT_TRUE(read(settings));
  EXPECT_TRUE(settings.isService);
  EXPECT_EQ(settings.runtime.jrePath, u"C:\\vendor-jre");
}

TEST_F(SettingsFilesTest, MissingMainClassStopsTheRead) {
  writeMain("[Application]\r\nFailure Check=YES\r\n");
  LauncherSettings settings;
  EXPECT_FALSE(read(settings));
  EXPECT_FALSE(settings.failureCheck);

  // Given only in a "+" section, single values work as if written in the section itself; token
  // lists start with a space, which separates them from what comes before.
  writeMain("[Java Runtime Environment+]\r\nMain Class=com.example.Main\r\nJVM Type=server\r\n"
            "Virtual Machine Parameters=-Xmx1g\r\n[Application+]\r\nPair Product=pair.exe\r\n"
            "Output File=out.log\r\nCmd=-x\r\n[Application]\r\nFailure Check=YES\r\n");
  ASSERT_TRUE(read(settings));
  EXPECT_EQ(settings.mainClass, u"com/example/Main");
  EXPECT_EQ(settings.runtime.jvmType, JvmType::server);
  EXPECT_EQ(settings.pairProduct, u"pair.exe");
  EXPECT_EQ(settings.streams.outputFile, u"out.log");
  EXPECT_EQ(settings.vmParameters, u" -Xmx1g");
  EXPECT_EQ(settings.extraArguments, u" -x");
  EXPECT_TRUE(settings.failureCheck);
}

TEST_F(SettingsFilesTest, StoringTheChosenFolderForAUserAndTheCompanion) {
  writeMain("[Java Runtime Environment]\r\nMain Class=Main\r\n");
  LauncherSettings settings;
  ASSERT_TRUE(read(settings));
  settings.pairProduct = root_ + u"\\bin\\companion64.exe";
  storeJrePath(context_, settings, u"C:\\Java\\jre8\\");
  EXPECT_EQ(readFileValue(userFile_, u"JRE Path"), u"C:\\Java\\jre8\\");
  EXPECT_EQ(readFileValue(userFolder_ + u"\\companion64.ini", u"JRE Path"), u"C:\\Java\\jre8\\");
  EXPECT_EQ(readFileValue(mainPath_, u"JRE Path"), u"");
}

TEST_F(SettingsFilesTest, StoringTheChosenFolderForAService) {
  writeMain("[Application]\r\nApplication Type=service\r\n[Java Runtime Environment]\r\nMain Class=Main\r\n");
  LauncherSettings settings;
  ASSERT_TRUE(read(settings));
  settings.pairProduct = root_ + u"\\companion64.exe";
  storeJrePath(context_, settings, u"C:\\Java\\jre8\\");
  EXPECT_EQ(readFileValue(mainPath_, u"JRE Path"), u"C:\\Java\\jre8\\");
  EXPECT_EQ(readFileValue(root_ + u"\\companion64.ini", u"JRE Path"), u"C:\\Java\\jre8\\");
  EXPECT_FALSE(pathFound(appData_ + u"\\Acme ToolsPro"));
}

}  // namespace
}  // namespace launcher

namespace launcher {
namespace {

TEST_F(SettingsFilesTest, AFileThatExistsIsWrittenInItsOwnEncoding) {
  writeMain("[Java Runtime Environment]\r\nMain Class=Main\r\n");
  LauncherSettings settings;
  ASSERT_TRUE(read(settings));
  ::CreateDirectoryW(as_wcstr(appData_ + u"\\Acme ToolsPro"), nullptr);
  ::CreateDirectoryW(as_wcstr(userFolder_), nullptr);
  writeText(userFile_, "; the user's own notes\r\n");
  storeJrePath(context_, settings, u"C:\\Java\\jre8\\");
  std::string bytes = testing::readFile(userFile_);
  EXPECT_EQ(bytes.rfind("; the user's own notes\r\n", 0), 0u);
  EXPECT_NE(bytes.find("JRE Path=C:\\Java\\jre8\\"), std::string::npos) << "not written as ANSI text";
}

}  // namespace
}  // namespace launcher
