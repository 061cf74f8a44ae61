// The runtime folder dialog on a real desktop, built from the executable's own template: only
// the folder browser is replaced, by picks the test hands out. Each test's steps run from a timer
// inside the dialog's modal loop, as a user's clicks would.
#include "ui/runtime_folder_dialog.h"

#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <string>

#include "base/environment.h"
#include "base/error_box.h"
#include "base/wide.h"
#include "resources/resource_ids.h"
#include "runtime/pe_header_check.h"
#include "settings/profile_file.h"
#include "settings/settings_files.h"
#include "test_files.h"
#include "ui/folder_browser.h"
#include "ui/hyperlink.h"

namespace launcher {
namespace {

using Outcome = RuntimeFolderDialog::Outcome;

#ifdef _WIN64
constexpr const char16_t* kOwnImage = u"probe-x64.dll";
constexpr const char16_t* kCompanionImage = u"probe-x86.dll";
#else
constexpr const char16_t* kOwnImage = u"probe-x86.dll";
constexpr const char16_t* kCompanionImage = u"probe-x64.dll";
#endif

std::u16string imagesFolder() {
  wchar_t path[MAX_PATH];
  DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::u16string folder(as_u16view(path, length));
  return folder.substr(0, folder.rfind(u'\\')) + u"\\images\\";
}

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

// The steps run on the dialog once it is up; they must end it.
std::function<void(HWND)> g_steps;

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
    ::CreateDirectoryW(as_wcstr(root_), nullptr);
    own_ = install(u"own", u"server", kOwnImage);
    companion_ = install(u"companion", u"server", kCompanionImage);
    clientOnly_ = install(u"client", u"client", kOwnImage);
    install(u"jdk8\\jre", u"client", kOwnImage);
    empty_ = root_ + u"\\empty";
    ::CreateDirectoryW(as_wcstr(empty_), nullptr);
  }
  void TearDown() override { testing::removeTree(root_); }

  // A runtime home under the test's folder with a jvm.dll of the given image; its path without the
  // closing backslash, as the folder browser reports folders.
  std::u16string install(const std::u16string& home, const std::u16string& vm, const char16_t* image) {
    std::u16string folder = root_ + u"\\" + home + u"\\bin\\" + vm;
    ::SHCreateDirectoryExW(nullptr, as_wcstr(folder), nullptr);
    EXPECT_TRUE(::CopyFileW(as_wcstr(imagesFolder() + image), as_wcstr(folder + u"\\jvm.dll"), FALSE))
        << "cannot copy the probe DLL";
    return root_ + u"\\" + home;
  }

  // The folder browser's picks, in order; nothing stands for the user cancelling it.
  RuntimeFolderDialog::FolderBrowser picks(std::deque<std::optional<std::u16string>>& queue) {
    return [&queue, this](HWND owner) -> std::optional<std::u16string> {
      ++browsed_;
      EXPECT_TRUE(::IsWindow(owner));
      if (queue.empty()) return std::nullopt;
      std::optional<std::u16string> pick = queue.front();
      queue.pop_front();
      return pick;
    };
  }

  std::u16string root_, own_, companion_, clientOnly_, empty_;
  int browsed_ = 0;
};

TEST_F(RuntimeFolderDialogTest, OkFollowsTheLastPickAndIsHonouredOnlyThen) {
  std::deque<std::optional<std::u16string>> queue{std::nullopt, empty_, own_, companion_, std::nullopt, own_};
  RuntimeFolderDialog dialog(u"No suitable Java runtime was found.", JvmType::any, false, picks(queue));
  Outcome outcome = showWith(dialog, [&](HWND window) {
    EXPECT_EQ(controlText(window, IDC_EXPLANATION), u"No suitable Java runtime was found.");
    EXPECT_EQ(controlText(window, IDC_CHOSEN_FOLDER), u"");
    EXPECT_EQ(controlText(window, IDC_LINK).rfind(u"https://", 0), 0u);
    EXPECT_NE(::GetWindowLongW(::GetDlgItem(window, IDC_LINK), GWL_STYLE) & SS_NOTIFY, 0);
    EXPECT_FALSE(okEnabled(window));
    // Neither a message from another program nor Enter ends it while nothing usable is picked:
    // Enter browses instead (the user cancels the browser).
    press(window, IDOK);
    key(window, VK_RETURN);
    EXPECT_TRUE(::IsWindowVisible(window));
    EXPECT_EQ(browsed_, 1);
    EXPECT_FALSE(okEnabled(window));

    press(window, IDC_BROWSE);  // a folder without a runtime
    EXPECT_FALSE(okEnabled(window));
    EXPECT_EQ(controlText(window, IDC_CHOSEN_FOLDER), empty_);
    EXPECT_NE(controlText(window, IDC_PICK_HINT), u"");
    press(window, IDC_BROWSE);  // a runtime of this launcher's own kind
    EXPECT_TRUE(okEnabled(window));
    EXPECT_EQ(controlText(window, IDC_PICK_HINT), u"");
    press(window, IDC_BROWSE);  // the companion's kind, and no companion: unusable again
    EXPECT_FALSE(okEnabled(window));
    EXPECT_EQ(controlText(window, IDC_PICK_HINT), std::u16string(loadText(IDS_PICK_NOT_RUNNABLE)));
    press(window, IDOK);
    EXPECT_TRUE(::IsWindowVisible(window));
    press(window, IDC_BROWSE);  // the browser cancelled: the last pick stands
    EXPECT_FALSE(okEnabled(window));
    EXPECT_EQ(controlText(window, IDC_CHOSEN_FOLDER), companion_);
    press(window, IDC_BROWSE);
    EXPECT_TRUE(okEnabled(window));
    key(window, VK_RETURN);  // now Enter is OK
  });
  EXPECT_EQ(outcome, Outcome::chosen);
  EXPECT_EQ(browsed_, 6);
  EXPECT_EQ(dialog.chosenFolder(), own_ + u"\\");
  EXPECT_EQ(dialog.chosenJvmDll(), own_ + u"\\bin\\server\\jvm.dll");
}

TEST_F(RuntimeFolderDialogTest, TheVmFlavourTheCompanionAndAJdk8Home) {
  // Only the server VM counts when it is required.
  std::deque<std::optional<std::u16string>> queue{clientOnly_, own_ + u"\\"};
  RuntimeFolderDialog server(u"", JvmType::server, false, picks(queue));
  EXPECT_EQ(showWith(server, [&](HWND window) {
              press(window, IDC_BROWSE);
              EXPECT_FALSE(okEnabled(window));
              press(window, IDC_BROWSE);  // given with its backslash, which is not doubled
              press(window, IDOK);
            }),
            Outcome::chosen);
  EXPECT_EQ(server.chosenFolder(), own_ + u"\\");

  // With a companion the other architecture is usable; a JDK 8 home leads to its jre folder.
  queue = {companion_, root_ + u"\\jdk8"};
  RuntimeFolderDialog withCompanion(u"", JvmType::any, true, picks(queue));
  EXPECT_EQ(showWith(withCompanion, [&](HWND window) {
              press(window, IDC_BROWSE);
              EXPECT_TRUE(okEnabled(window));
              press(window, IDC_BROWSE);
              EXPECT_TRUE(okEnabled(window));
              press(window, IDOK);
            }),
            Outcome::chosen);
  EXPECT_EQ(withCompanion.chosenFolder(), root_ + u"\\jdk8\\jre\\");
  EXPECT_EQ(withCompanion.chosenJvmDll(), root_ + u"\\jdk8\\jre\\bin\\client\\jvm.dll");
}

TEST_F(RuntimeFolderDialogTest, CancelEscAndTheCloseBoxEndItAsCancelled) {
  for (int way = 0; way < 3; ++way) {
    std::deque<std::optional<std::u16string>> queue{own_};
    RuntimeFolderDialog dialog(u"", JvmType::any, false, picks(queue));
    Outcome outcome = showWith(dialog, [&](HWND window) {
      press(window, IDC_BROWSE);
      ASSERT_TRUE(okEnabled(window));
      if (way == 0) press(window, IDCANCEL);
      if (way == 1) key(window, VK_ESCAPE);
      if (way == 2) ::SendMessageW(window, WM_CLOSE, 0, 0);
    });
    EXPECT_EQ(outcome, Outcome::cancelled) << "way " << way;
  }
}

TEST_F(RuntimeFolderDialogTest, WithoutAWindowStationTheUserSeesItEndsAsCancelled) {
  HWINSTA own = ::GetProcessWindowStation();
  HWINSTA hidden = ::CreateWindowStationW(L"launcher-test-hidden", 0, WINSTA_ALL_ACCESS, nullptr);
  ASSERT_NE(hidden, nullptr);
  ASSERT_TRUE(::SetProcessWindowStation(hidden));
  std::deque<std::optional<std::u16string>> queue;
  RuntimeFolderDialog dialog(u"", JvmType::any, false, picks(queue));
  // Should it open after all, it is closed at once rather than left waiting.
  bool opened = false;
  Outcome outcome = showWith(dialog, [&](HWND window) {
    opened = true;
    press(window, IDCANCEL);
  });
  ::SetProcessWindowStation(own);
  ::CloseWindowStation(hidden);
  EXPECT_EQ(outcome, Outcome::cancelled);
  EXPECT_FALSE(opened);
}

// What OK leads to: the folder stored once with its closing backslash, exactly, whatever its
// characters, where the next start of this user (or of the service) reads it.
class ChosenFolderStoreTest : public RuntimeFolderDialogTest {
 protected:
  void SetUp() override {
    RuntimeFolderDialogTest::SetUp();
    context_ = testing::ownLaunchContext();
    appData_ = root_ + u"\\AppData";
    ::CreateDirectoryW(as_wcstr(appData_), nullptr);
    ::SetEnvironmentVariableW(L"APPDATA", as_wcstr(appData_));
    settings_.productName = u"Acme";
    settings_.productCode = u"7";
    settings_.pairProduct = root_ + u"\\companion64.exe";
    // Outside every ANSI code page: Greek, CJK and a character beyond the basic plane.
    picked_ = install(u"J\u03b1va \u65e5\u672c \U0001F600", u"server", kOwnImage);
  }
  void TearDown() override {
    ::DeleteFileW(as_wcstr(context_.settingsFile));
    RuntimeFolderDialogTest::TearDown();
  }

  void chooseAndStore() {
    std::deque<std::optional<std::u16string>> queue{picked_};
    RuntimeFolderDialog dialog(u"", JvmType::any, false, picks(queue));
    ASSERT_EQ(showWith(dialog,
                       [&](HWND window) {
                         press(window, IDC_BROWSE);
                         press(window, IDOK);
                       }),
              Outcome::chosen);
    storeJrePath(context_, settings_, dialog.chosenFolder());
  }
  static std::u16string stored(const std::u16string& file) {
    return ProfileFile(file).readPlain(u"Java Runtime Environment", u"JRE Path").value_or(u"(unreadable)");
  }
  static bool beginsWithByteOrderMark(const std::u16string& file) {
    return testing::readFile(file).rfind("\xFF\xFE", 0) == 0;
  }

  LaunchContext context_;
  LauncherSettings settings_;
  std::u16string appData_, picked_;
};

TEST_F(ChosenFolderStoreTest, AnApplicationKeepsItPerUserForItselfAndItsCompanion) {
  ASSERT_TRUE(testing::writeFile(context_.settingsFile, "[Java Runtime Environment]\r\nMain Class=Main\r\n"));
  chooseAndStore();
  std::u16string userFile = appData_ + u"\\Acme\\7\\win_ui_tests.ini";
  std::u16string companionFile = appData_ + u"\\Acme\\7\\companion64.ini";
  EXPECT_EQ(stored(userFile), picked_ + u"\\");
  EXPECT_EQ(stored(companionFile), picked_ + u"\\");
  EXPECT_TRUE(beginsWithByteOrderMark(userFile));
  EXPECT_TRUE(beginsWithByteOrderMark(companionFile));
  EXPECT_EQ(stored(context_.settingsFile), u"");
}

TEST_F(ChosenFolderStoreTest, AServiceKeepsItInItsOwnAndItsCompanionsFile) {
  settings_.isService = true;
  // The vendor's file, in UTF-16 as a file that is to hold such folders must be.
  std::u16string text = u"\uFEFF[Application]\r\nApplication Type=service\r\n[Java Runtime Environment]\r\nMain Class=Main\r\n";
  ASSERT_TRUE(testing::writeFile(context_.settingsFile,
                                 std::string(reinterpret_cast<const char*>(text.data()), text.size() * 2)));
  chooseAndStore();
  EXPECT_EQ(stored(context_.settingsFile), picked_ + u"\\");
  EXPECT_EQ(stored(root_ + u"\\companion64.ini"), picked_ + u"\\");
  EXPECT_TRUE(beginsWithByteOrderMark(root_ + u"\\companion64.ini"));
  EXPECT_FALSE(pathFound(appData_ + u"\\Acme"));
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
  UINT length = ::GetWindowsDirectoryW(expected, MAX_PATH);
  EXPECT_EQ(fileSystemPathOf(windows.get()), std::u16string(as_u16view(expected, length)));
}

TEST(UserLinkColors, ReadOnlyShortStrings) {
  const wchar_t* key = L"Software\\LauncherTests\\Links";
  HKEY handle = nullptr;
  ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &handle, nullptr),
            ERROR_SUCCESS);
  auto set = [&](const wchar_t* name, DWORD type, const void* data, DWORD bytes) {
    ::RegSetValueExW(handle, name, 0, type, static_cast<const BYTE*>(data), bytes);
  };
  set(L"plain", REG_SZ, L"0,0,255", 16);
  set(L"unterminated", REG_SZ, L"255,255,255", 22);
  set(L"long", REG_SZ, L"255,255,2550", 26);
  set(L"longUnterminated", REG_SZ, L"255,255,2550", 24);
  DWORD number = 255;
  set(L"number", REG_DWORD, &number, sizeof(number));
  ::RegCloseKey(handle);

  std::u16string_view path = u"Software\\LauncherTests\\Links";
  EXPECT_EQ(readShortUserString(path, u"plain", 11), u"0,0,255");
  EXPECT_EQ(readShortUserString(path, u"unterminated", 11), u"255,255,255");
  EXPECT_EQ(readShortUserString(path, u"long", 11), std::nullopt);
  EXPECT_EQ(readShortUserString(path, u"longUnterminated", 11), std::nullopt);
  EXPECT_EQ(readShortUserString(path, u"number", 11), std::nullopt);
  EXPECT_EQ(readShortUserString(path, u"missing", 11), std::nullopt);
  EXPECT_EQ(readShortUserString(u"Software\\LauncherTests\\None", u"plain", 11), std::nullopt);
  ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\LauncherTests");
}

}  // namespace
}  // namespace launcher
