// The runtime folder dialog on a real desktop, built from the executable's own template; only the
// folder browser is replaced, by picks the test hands out. The steps run from a timer inside the
// dialog's modal loop, as a user's clicks would.
#include "ui/runtime_folder_dialog_win.h"

#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <deque>
#include <functional>

#include "base/file_system_win.h"
#include "base/error_box_win.h"
#include "base/wide.h"
#include "runtime/registry_key_win.h"
#include "resources/resource_ids.h"
#include "settings/profile_file_win.h"
#include "settings/settings_files_win.h"
#include "test_files.h"
#include "ui/folder_browser_win.h"
#include "ui/hyperlink_win.h"

namespace launcher {
namespace {

using Outcome = RuntimeFolderDialog::Outcome;
#ifdef _WIN64
constexpr const char16_t *kOwnImage = u"probe-x64.dll", *kCompanionImage = u"probe-x86.dll";
#else
constexpr const char16_t *kOwnImage = u"probe-x86.dll", *kCompanionImage = u"probe-x64.dll";
#endif

std::u16string controlText(HWND dialog, int id) {
  wchar_t text[1024] = L"";
  ::GetDlgItemTextW(dialog, id, text, 1024);
  return std::u16string(as_u16view(text));
}
bool okEnabled(HWND dialog) { return ::IsWindowEnabled(::GetDlgItem(dialog, IDOK)) != FALSE; }
void press(HWND dialog, int id) {
  ::SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(dialog, id)));
}
// A key as the dialog's message loop hands it over: to the control with the focus, or to the
// dialog itself when the test's window is not the active one.
void key(HWND dialog, WPARAM virtualKey) {
  HWND focus = ::GetFocus();
  MSG message{focus && ::IsChild(dialog, focus) ? focus : dialog, WM_KEYDOWN, virtualKey, 0, 0, {}};
  ::IsDialogMessageW(dialog, &message);
}

std::function<void(HWND)> g_steps;  // run on the dialog once it is up; they must end it

BOOL CALLBACK findDialog(HWND window, LPARAM found) {
  wchar_t name[16] = L"";
  ::GetClassNameW(window, name, 16);
  if (std::wstring(name) != L"#32770" || !::IsWindowVisible(window)) return TRUE;
  *reinterpret_cast<HWND*>(found) = window;
  return FALSE;
}

void CALLBACK runSteps(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND dialog = nullptr;
  ::EnumThreadWindows(::GetCurrentThreadId(), findDialog, reinterpret_cast<LPARAM>(&dialog));
  if (!dialog) return;
  ::KillTimer(nullptr, timer);
  g_steps(dialog);
}

Outcome showWith(RuntimeFolderDialog& dialog, std::function<void(HWND)> steps) {
  g_steps = std::move(steps);
  UINT_PTR timer = ::SetTimer(nullptr, 0, 50, runSteps);
  Outcome outcome = dialog.show();
  ::KillTimer(nullptr, timer);
  return outcome;
}

class RuntimeFolderDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = testing::tempFolder() + u"runtime_folder_dialog_test";
    testing::removeTree(root_);
    own_ = install(u"own", u"server", kOwnImage);
    companion_ = install(u"companion", u"server", kCompanionImage);
    clientOnly_ = install(u"client", u"client", kOwnImage);
    install(u"jdk8\\jre", u"client", kOwnImage);
    empty_ = root_ + u"\\empty";
    ::CreateDirectoryW(as_wcstr(empty_), nullptr);
  }
  void TearDown() override { testing::removeTree(root_); }

  // A runtime home with a jvm.dll of `image`; its path as the folder browser reports it.
  std::u16string install(const std::u16string& home, const std::u16string& vm, const char16_t* image) {
    std::u16string folder = root_ + u"\\" + home + u"\\bin\\" + vm;
    ::SHCreateDirectoryExW(nullptr, as_wcstr(folder), nullptr);
    wchar_t exe[MAX_PATH];
    std::u16string images(as_u16view(exe, ::GetModuleFileNameW(nullptr, exe, MAX_PATH)));
    images = images.substr(0, images.rfind(u'\\')) + u"\\images\\";
    EXPECT_TRUE(::CopyFileW(as_wcstr(images + image), as_wcstr(folder + u"\\jvm.dll"), FALSE));
    return root_ + u"\\" + home;
  }

  // A folder browser that hands out `picks_` in order; nothing stands for the user cancelling it.
  RuntimeFolderDialog::FolderBrowser browser() {
    return [this](HWND owner) -> std::optional<std::u16string> {
      ++browsed_;
      EXPECT_TRUE(::IsWindow(owner));
      std::optional<std::u16string> pick;
      if (!picks_.empty()) pick = picks_.front(), picks_.pop_front();
      return pick;
    };
  }

  std::u16string root_, own_, companion_, clientOnly_, empty_;
  std::deque<std::optional<std::u16string>> picks_;
  int browsed_ = 0;
};

TEST_F(RuntimeFolderDialogTest, OkFollowsTheLastPickAndIsHonouredOnlyThen) {
  picks_ = {std::nullopt, empty_, own_, companion_, std::nullopt, own_};
  RuntimeFolderDialog dialog(u"No suitable Java runtime was found.", JvmType::any, false, browser());
  Outcome outcome = showWith(dialog, [&](HWND window) {
    EXPECT_EQ(controlText(window, IDC_EXPLANATION), u"No suitable Java runtime was found.");
    EXPECT_FALSE(okEnabled(window));
    // Neither another program's OK nor Enter ends it before a usable pick; Enter browses (and the
    // user cancels the browser).
    press(window, IDOK);
    key(window, VK_RETURN);
    EXPECT_TRUE(::IsWindowVisible(window));
    EXPECT_EQ(browsed_, 1);

    press(window, IDC_BROWSE);  // no runtime in it
    EXPECT_FALSE(okEnabled(window));
    EXPECT_EQ(controlText(window, IDC_CHOSEN_FOLDER), empty_);
    EXPECT_EQ(controlText(window, IDC_PICK_HINT), loadText(IDS_PICK_NO_RUNTIME));
    press(window, IDC_BROWSE);  // this launcher's own kind
    EXPECT_TRUE(okEnabled(window));
    EXPECT_EQ(controlText(window, IDC_PICK_HINT), u"");
    press(window, IDC_BROWSE);  // the companion's kind, and no companion: unusable again
    EXPECT_FALSE(okEnabled(window));
    EXPECT_EQ(controlText(window, IDC_PICK_HINT), loadText(IDS_PICK_NOT_RUNNABLE));
    press(window, IDOK);
    EXPECT_TRUE(::IsWindowVisible(window));
    press(window, IDC_BROWSE);  // the browser cancelled: the last pick stands
    EXPECT_FALSE(okEnabled(window));
    EXPECT_EQ(controlText(window, IDC_CHOSEN_FOLDER), companion_);
    press(window, IDC_BROWSE);
    key(window, VK_RETURN);  // now Enter is OK
  });
  EXPECT_EQ(outcome, Outcome::chosen);
  EXPECT_EQ(browsed_, 6);
  EXPECT_EQ(dialog.chosenFolder(), own_ + u"\\");
  EXPECT_EQ(dialog.chosenJvmDll(), own_ + u"\\bin\\server\\jvm.dll");
}

TEST_F(RuntimeFolderDialogTest, TheVmFlavourTheCompanionAndAJdk8Home) {
  auto pickAll = [](HWND window, std::initializer_list<bool> usable) {
    for (bool expected : usable) {
      press(window, IDC_BROWSE);
      EXPECT_EQ(okEnabled(window), expected);
    }
    press(window, IDOK);
  };
  // Only the server VM when it is required; a folder given with its backslash keeps only that one.
  picks_ = {clientOnly_, own_ + u"\\"};
  RuntimeFolderDialog server(u"", JvmType::server, false, browser());
  EXPECT_EQ(showWith(server, [&](HWND window) { pickAll(window, {false, true}); }), Outcome::chosen);
  EXPECT_EQ(server.chosenFolder(), own_ + u"\\");

  // With a companion the other architecture is usable; a JDK 8 home leads to its jre folder.
  picks_ = {companion_, root_ + u"\\jdk8"};
  RuntimeFolderDialog paired(u"", JvmType::any, true, browser());
  EXPECT_EQ(showWith(paired, [&](HWND window) { pickAll(window, {true, true}); }), Outcome::chosen);
  EXPECT_EQ(paired.chosenFolder(), root_ + u"\\jdk8\\jre\\");
  EXPECT_EQ(paired.chosenJvmDll(), root_ + u"\\jdk8\\jre\\bin\\client\\jvm.dll");
}

TEST_F(RuntimeFolderDialogTest, CancelEscTheCloseBoxAndAnInvisibleWindowStationEndItAsCancelled) {
  for (int way = 0; way < 3; ++way) {
    picks_ = {own_};
    RuntimeFolderDialog dialog(u"", JvmType::any, false, browser());
    EXPECT_EQ(showWith(dialog,
                       [&](HWND window) {
                         press(window, IDC_BROWSE);
                         ASSERT_TRUE(okEnabled(window));
                         if (way == 0) press(window, IDCANCEL);
                         if (way == 1) key(window, VK_ESCAPE);
                         if (way == 2) ::SendMessageW(window, WM_CLOSE, 0, 0);
                       }),
              Outcome::cancelled)
        << "way " << way;
  }

  // As in a service: the dialog does not open at all (were it to open, it is closed at once).
  HWINSTA own = ::GetProcessWindowStation();
  HWINSTA hidden = ::CreateWindowStationW(L"launcher-test-hidden", 0, WINSTA_ALL_ACCESS, nullptr);
  ASSERT_NE(hidden, nullptr);
  ASSERT_TRUE(::SetProcessWindowStation(hidden));
  RuntimeFolderDialog dialog(u"", JvmType::any, false, browser());
  bool opened = false;
  Outcome outcome = showWith(dialog, [&](HWND window) { opened = true, press(window, IDCANCEL); });
  ::SetProcessWindowStation(own);
  ::CloseWindowStation(hidden);
  EXPECT_EQ(outcome, Outcome::cancelled);
  EXPECT_FALSE(opened);
}

// What OK leads to: the folder stored once with its closing backslash, exactly, whatever its
// characters, where the next start of this user (or of the service) reads it.
TEST_F(RuntimeFolderDialogTest, TheChosenFolderIsStoredExactlyPerUserOrForTheService) {
  LaunchContext context = testing::ownLaunchContext();
  std::u16string appData = root_ + u"\\AppData", companion = root_ + u"\\companion64.ini";
  ::SetEnvironmentVariableW(L"APPDATA", as_wcstr(appData));
  LauncherSettings settings;
  settings.productName = u"Acme";
  settings.productCode = u"7";
  settings.pairProduct = root_ + u"\\companion64.exe";
  // Outside every ANSI code page: Greek, CJK and a character beyond the basic plane.
  std::u16string picked = install(u"J\u03b1va \u65e5\u672c \U0001F600", u"server", kOwnImage);
  auto chooseAndStore = [&] {
    picks_ = {picked};
    RuntimeFolderDialog dialog(u"", JvmType::any, false, browser());
    Outcome outcome = showWith(dialog, [](HWND window) { press(window, IDC_BROWSE), press(window, IDOK); });
    ASSERT_EQ(outcome, Outcome::chosen);
    storeJrePath(context, settings, dialog.chosenFolder());
  };
  auto stored = [](const std::u16string& file) {
    return ProfileFile(file).readPlain(u"Java Runtime Environment", u"JRE Path").value_or(u"?");
  };
  auto unicode = [](const std::u16string& file) { return testing::readFile(file).rfind("\xFF\xFE", 0) == 0; };

  ASSERT_TRUE(testing::writeFile(context.settingsFile, "[Java Runtime Environment]\r\nMain Class=Main\r\n"));
  ::CreateDirectoryW(as_wcstr(appData), nullptr);
  chooseAndStore();
  for (const char16_t* name : {u"\\Acme\\7\\win_ui_tests.ini", u"\\Acme\\7\\companion64.ini"}) {
    EXPECT_EQ(stored(appData + name), picked + u"\\");
    EXPECT_TRUE(unicode(appData + name));
  }
  EXPECT_EQ(stored(context.settingsFile), u"");

  // A service's own file, in UTF-16 as one that is to hold such folders must be.
  testing::removeTree(appData + u"\\Acme");
  settings.isService = true;
  std::u16string text = u"\uFEFF[Java Runtime Environment]\r\nMain Class=Main\r\n";
  ASSERT_TRUE(testing::writeFile(context.settingsFile,
                                 std::string(reinterpret_cast<const char*>(text.data()), text.size() * 2)));
  chooseAndStore();
  EXPECT_EQ(stored(context.settingsFile), picked + u"\\");
  EXPECT_EQ(stored(companion), picked + u"\\");
  EXPECT_TRUE(unicode(companion));
  EXPECT_FALSE(pathFound(appData + u"\\Acme"));
  ::DeleteFileW(as_wcstr(context.settingsFile));
}

TEST(FolderBrowser, OnlyFoldersOfTheFileSystemArePicks) {
  for (int virtualFolder : {CSIDL_DRIVES, CSIDL_CONTROLS, CSIDL_BITBUCKET}) {
    UniqueItemIdList item;
    ASSERT_EQ(::SHGetSpecialFolderLocation(nullptr, virtualFolder, item.put()), S_OK) << virtualFolder;
    EXPECT_EQ(fileSystemPathOf(item.get()), std::nullopt) << virtualFolder;
  }
  UniqueItemIdList windows;
  ASSERT_EQ(::SHGetSpecialFolderLocation(nullptr, CSIDL_WINDOWS, windows.put()), S_OK);
  wchar_t expected[MAX_PATH];
  std::u16string_view windowsFolder = as_u16view(expected, ::GetWindowsDirectoryW(expected, MAX_PATH));
  EXPECT_EQ(fileSystemPathOf(windows.get()), std::u16string(windowsFolder));
}

TEST(UserLinkColors, OnlyShortStringsAreRead) {
  HKEY key = nullptr;
  ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\LauncherTests", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              &key, nullptr),
            ERROR_SUCCESS);
  DWORD number = 255;
  ::RegSetValueExW(key, L"plain", 0, REG_SZ, reinterpret_cast<const BYTE*>(L"0,0,255"), 16);
  ::RegSetValueExW(key, L"unterminated", 0, REG_SZ, reinterpret_cast<const BYTE*>(L"255,255,255"), 22);
  ::RegSetValueExW(key, L"long", 0, REG_SZ, reinterpret_cast<const BYTE*>(L"255,255,2550"), 24);
  ::RegSetValueExW(key, L"number", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof(number));
  ::RegCloseKey(key);
  auto read = [](const char16_t* name) { return readShortUserString(u"Software\\LauncherTests", name, 11); };
  EXPECT_EQ(read(u"plain"), u"0,0,255");
  EXPECT_EQ(read(u"unterminated"), u"255,255,255");
  for (const char16_t* refused : {u"long", u"number", u"missing"}) EXPECT_EQ(read(refused), std::nullopt);
  ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\LauncherTests");
}

}  // namespace
}  // namespace launcher
