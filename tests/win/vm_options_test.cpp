#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "base/ansi_text_win.h"
#include "base/file_system_win.h"
#include "base/text.h"
#include "base/wide.h"
#include "jvm/java_environment_win.h"
#include "app/command_line_win.h"
#include "jvm/vm_option_assembly_win.h"
#include "settings/settings_files_win.h"
#include "test_files.h"

namespace launcher {
namespace {

void writeText(const std::u16string& path, const std::string& text) { ASSERT_TRUE(testing::writeFile(path, text)); }

std::u16string variable(const wchar_t* name) {
  wchar_t value[32768];
  DWORD length = ::GetEnvironmentVariableW(name, value, 32768);
  return std::u16string(as_u16view(value, length));
}

// Runs the assembly as the launcher does, with this test program's own settings file
// (win_tests.ini) and folder, which holds a small application tree.
class VmOptionsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    context_ = testing::ownLaunchContext();
    settingsPath_ = context_.settingsFile;
    ASSERT_FALSE(settingsPath_.empty());
    folder_ = settingsPath_.substr(0, settingsPath_.rfind(u'\\'));
    for (const char16_t* sub : {u"\\vmopt", u"\\vmopt\\lib", u"\\vmopt\\lib\\ext"}) {
      ::CreateDirectoryW(as_wcstr(folder_ + sub), nullptr);
    }
    writeText(folder_ + u"\\vmopt\\lib\\a.jar", "");
    writeText(folder_ + u"\\vmopt\\lib\\b.jar", "");
    writeText(folder_ + u"\\vmopt\\lib\\notes.txt", "");
  }
  void TearDown() override { ::DeleteFileW(as_wcstr(settingsPath_)); }

  bool assemble(const std::string& ini) {
    // The settings name a main class (through the "+" section, so it collides with no case's
    // own section): without one the launcher reads no further.
    writeText(settingsPath_, ini + "[Java Runtime Environment+]\r\nMain Class=Main\r\n");
    setup_ = VmSetup();
    // Read and assembled as the launcher does it, the "Cmd" arguments after a usable class path.
    LauncherSettings settings;
    ProfileSettingsSource source(context_);
    readSettingsFrom(source, settings);
    const MainTarget target = mainTargetOf(settings, context_.modulePath);
    if (!assembleVmOptions(noOwner_, context_, settings, target, setup_)) return false;
    appendExtraArguments(settings.extraArguments, arguments_);
    return true;
  }

  LaunchContext context_;
  MessageOwner noOwner_;
  std::u16string settingsPath_, folder_;
  VmSetup setup_;
  std::vector<std::u16string> arguments_{u"from-command-line"};
};

TEST_F(VmOptionsTest, ClassPathFromRealFolders) {
  ASSERT_TRUE(assemble("[Class Path]\r\nClass Path=\\vmopt\\lib\\*.jar;vmopt\\lib\\a.jar;C:\\absent\\x.jar;"
                       "\\vmopt\\missing.jar;\\vmopt\\lib\\e*\r\n"));
  ASSERT_FALSE(setup_.vmOptions.empty());
  std::u16string lib = folder_ + u"\\vmopt\\lib\\";
  // Wildcard matches in the order the folder lists them, then the relative jar (joined with a
  // backslash), the absolute entry as written; the missing jar is dropped; a folder matches too.
  std::u16string expected = u"-Djava.class.path=";
  for (const std::u16string& name : findFileNames(lib + u"*.jar")) expected += lib + name + u";";
  expected += lib + u"a.jar;C:\\absent\\x.jar;" + lib + u"ext";
  EXPECT_EQ(fromThreadAnsi(setup_.vmOptions[0]), expected);
}

TEST_F(VmOptionsTest, EmbeddedJarComesFirstAndAnEmptyClassPathStillAppliesTheRest) {
  ASSERT_TRUE(assemble("[Application]\r\nEmbedded Jar=yes\r\n"));
  wchar_t self[MAX_PATH];
  ::GetModuleFileNameW(nullptr, self, MAX_PATH);
  EXPECT_EQ(fromThreadAnsi(setup_.vmOptions[0]), u"-Djava.class.path=" + std::u16string(as_u16view(self)));

  // Nothing on the class path: message 209 (it returns at once without a display), the
  // launcher's folder instead of the runtime's reading of nothing as the current folder, and
  // every later setting applies.
  ASSERT_TRUE(assemble("[Application]\r\nOutput File=out.txt\r\nCmd=extra\r\n[Class Path]\r\nClass Path=\\vmopt\\none*\r\n"
                       "[Java Runtime Environment]\r\nVirtual Machine Parameters=-Xmx64m\r\n"));
  EXPECT_EQ(setup_.vmOptions, (std::vector<std::string>{toThreadAnsi(u"-Djava.class.path=" + folder_), "-Xmx64m"}));
  EXPECT_EQ(setup_.streamFiles.outputFile, u"out.txt");
  EXPECT_EQ(arguments_, (std::vector<std::u16string>{u"from-command-line", u"extra"}));
}

TEST_F(VmOptionsTest, MainJarGoesFirstAndModulesGetTheirOptions) {
  ASSERT_TRUE(assemble("[Java Runtime Environment]\r\nMain Jar=vmopt\\lib\\a.jar\r\n"
                       "[Class Path]\r\nClass Path=C:\\app.jar\r\n"));
  const std::u16string jar = folder_ + u"\\vmopt\\lib\\a.jar";
  EXPECT_EQ(fromThreadAnsi(setup_.vmOptions[0]), u"-Djava.class.path=" + jar + u";C:\\app.jar");
  EXPECT_EQ(setup_.mainJar, jar);

  // A module alone needs no class path (and no message 209): its path made full from the
  // launcher's folder, and the module as the root the runtime resolves.
  ASSERT_TRUE(assemble("[Java Runtime Environment]\r\nMain Module=app/app.Main\r\n"
                       "Virtual Machine Parameters=--add-opens java.base/java.lang=app -p C:\\more\r\n"
                       "[Class Path]\r\nModule Path=vmopt\\lib;C:\\mods;\\vmopt\\none*\r\n"));
  EXPECT_EQ(setup_.vmOptions,
            (std::vector<std::string>{toThreadAnsi(u"--module-path=" + folder_ + u"\\vmopt\\lib;C:\\mods"),
                                      "-Djdk.module.main=app", "--add-opens=java.base/java.lang=app",
                                      "--module-path=C:\\more"}));
  EXPECT_TRUE(setup_.classPath.empty());
  EXPECT_EQ(setup_.userOptionsAsWritten,
            (std::vector<std::u16string>{u"--add-opens=java.base/java.lang=app", u"--module-path=C:\\more"}));
}

TEST_F(VmOptionsTest, UserParametersAreSplitThenExpanded) {
  ::SetEnvironmentVariableW(L"VMOPT_TEST", L"-Dspaced=a b");
  ASSERT_TRUE(assemble("[Class Path]\r\nClass Path=C:\\app.jar\r\n"
                       "[Java Runtime Environment]\r\n"
                       "Virtual Machine Parameters=-Dapp.title=\"My App\" -Xmx512m %VMOPT_TEST% -Xss1m -Xmx1:64:64p\r\n"));
  std::vector<std::string> expected{"-Djava.class.path=C:\\app.jar", "-Dapp.title=My App", "-Xmx512m",
                                    "-Dspaced=a b", "-Xss1m", "-Xmx65536K"};
  EXPECT_EQ(setup_.vmOptions, expected);
  EXPECT_EQ(setup_.mainThreadStackSize, 1048576u);
}

TEST_F(VmOptionsTest, StreamFilesAndExtraArguments) {
  ::SetEnvironmentVariableW(L"VMOPT_LOGS", L"C:\\logs");
  ASSERT_TRUE(assemble("[Class Path]\r\nClass Path=C:\\app.jar\r\n[Application]\r\n"
                       "Output File=%VMOPT_LOGS%\\out.txt\r\nOutput Append=Yes\r\n"
                       "Error File=%VMOPT_LOGS%\\err.txt\r\nError Append=yes\r\n"
                       "Cmd=first \"two words\" \"\" last\r\n"));
  EXPECT_EQ(setup_.streamFiles.outputFile, u"C:\\logs\\out.txt");
  EXPECT_FALSE(setup_.streamFiles.outputAppend) << "only \"yes\" in lower case appends";
  EXPECT_EQ(setup_.streamFiles.errorFile, u"C:\\logs\\err.txt");
  EXPECT_TRUE(setup_.streamFiles.errorAppend);
  EXPECT_EQ(arguments_, (std::vector<std::u16string>{u"from-command-line", u"first", u"two words", u"last"}));
}

TEST(JavaEnvironment, VariablesPathAndLibraryPath) {
  std::u16string oldPath = variable(L"Path");
  LauncherSettings settings;
  settings.libraryPath = u"C:\\native";
  settings.systemPath = u"C:\\tools";
  std::vector<std::string> options;
  prepareJavaEnvironment(u"C:\\jre\\bin\\client\\jvm.dll", settings, u"C:\\App\\", options);
  EXPECT_EQ(variable(L"QV_JVM_PATH"), u"C:\\jre\\bin\\client\\jvm.dll");
  EXPECT_EQ(variable(L"QV_JVM_HOME"), u"C:\\jre");
  EXPECT_EQ(variable(L"Path"), u"C:\\tools;" + oldPath + u";C:\\jre\\bin");
  ASSERT_EQ(options.size(), 1u);
  EXPECT_EQ(fromThreadAnsi(options[0]), u"-Djava.library.path=C:\\native;C:\\App\\;" +
                                             withoutEmptyElements(oldPath, u';') + u";C:\\jre\\lib");

  // Without a library path no option is given, and the Path still grows.
  ::SetEnvironmentVariableW(L"Path", as_wcstr(oldPath));
  settings = LauncherSettings();
  options.clear();
  prepareJavaEnvironment(u"C:\\jre\\bin\\server\\jvm.dll", settings, u"C:\\App\\", options);
  EXPECT_TRUE(options.empty());
  EXPECT_EQ(variable(L"Path"), oldPath + u";C:\\jre\\bin");
  ::SetEnvironmentVariableW(L"Path", as_wcstr(oldPath));
}

}  // namespace
}  // namespace launcher
