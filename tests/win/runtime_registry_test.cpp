#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "base/wide.h"
#include "runtime/pe_header_check.h"
#include "runtime/registry_key_win.h"
#include "runtime/runtime_environment_win.h"
#include "settings/launcher_settings.h"
#include "test_files.h"

namespace launcher {
namespace {

// The home of the runtime the registry search chooses in `view`, as the checks compare it.
std::optional<std::u16string> searchRegistry(RuntimeEnvironment& env, const RuntimeCriteria& c, RegistryView v) {
  std::optional<JvmCandidate> chosen = chooseRegistered(env, c, v);
  return chosen ? std::optional(chosen->home) : std::nullopt;
}

#ifdef _WIN64
constexpr REGSAM kOwnView = KEY_WOW64_64KEY, kOtherView = KEY_WOW64_32KEY;
#else
constexpr REGSAM kOwnView = KEY_WOW64_32KEY, kOtherView = KEY_WOW64_64KEY;
#endif

void deleteVendorKeys(REGSAM view) {
  HKEY software = nullptr;
  if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"Software", 0, KEY_ALL_ACCESS | view, &software) != ERROR_SUCCESS) return;
  for (const wchar_t* vendor : {L"JavaSoft", L"JRockit", L"IBM"}) ::RegDeleteTreeW(software, vendor);
  ::RegCloseKey(software);
}

// Registers a runtime as an installer would, in one registry view. `terminated` false writes the
// value without its closing NUL, as some installers do.
void registerRuntime(REGSAM view, const std::u16string& key, const std::u16string& home, DWORD type = REG_SZ,
                     bool terminated = true) {
  HKEY handle = nullptr;
  ASSERT_EQ(::RegCreateKeyExW(HKEY_LOCAL_MACHINE, as_wcstr(key), 0, nullptr, 0, KEY_ALL_ACCESS | view, nullptr, &handle,
                              nullptr),
            ERROR_SUCCESS);
  DWORD bytes = static_cast<DWORD>((home.size() + (terminated ? 1 : 0)) * sizeof(char16_t));
  ::RegSetValueExW(handle, L"JavaHome", 0, type, reinterpret_cast<const BYTE*>(home.c_str()), bytes);
  ::RegCloseKey(handle);
}

// Runtime homes in the temporary folder, each with a jvm.dll where the search looks.
class RuntimeRegistryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    deleteVendorKeys(kOwnView);
    deleteVendorKeys(kOtherView);
    root_ = testing::tempFolder() + u"runtime_registry_test\\";
    ::CreateDirectoryW(as_wcstr(root_), nullptr);
  }
  void TearDown() override {
    deleteVendorKeys(kOwnView);
    deleteVendorKeys(kOtherView);
  }

  // A runtime home with a VM of the given flavour, whose jvm.dll has the headers of an image
  // built for `machine`; returns the home without a closing backslash.
  std::u16string makeHome(const std::u16string& name, const char16_t* flavour = u"client",
                          std::uint16_t machine = kOwnMachine) {
    std::u16string home = root_ + name;
    for (std::u16string folder : {home, home + u"\\bin", home + u"\\bin\\" + flavour}) {
      ::CreateDirectoryW(as_wcstr(folder), nullptr);
    }
    // "MZ", e_lfanew 64, "PE\0\0", the file header with its Machine and no optional header.
    std::string image(64 + 4 + 20, '\0');
    image[0] = 'M', image[1] = 'Z', image[0x3C] = 64;
    image[64] = 'P', image[65] = 'E';
    image[68] = static_cast<char>(machine & 0xFF), image[69] = static_cast<char>(machine >> 8);
    EXPECT_TRUE(testing::writeFile(home + u"\\bin\\" + flavour + u"\\jvm.dll", image));
    return home;
  }

  std::u16string root_;
  WindowsRuntimeEnvironment machine_;
  RuntimeCriteria settings_;
};

TEST_F(RuntimeRegistryTest, TheOwnViewIsSearchedFirstAndTheOtherOnlyForACompanion) {
  registerRuntime(kOwnView, u"Software\\JavaSoft\\JDK\\11.0.2", makeHome(u"jdk11"));
  registerRuntime(kOtherView, u"Software\\JavaSoft\\JDK\\17.0.2", makeHome(u"jdk17", u"client", kCompanionMachine));
  EXPECT_EQ(searchRegistry(machine_, settings_, RegistryView::defaultView), root_ + u"jdk11\\");

  deleteVendorKeys(kOwnView);
  EXPECT_EQ(searchRegistry(machine_, settings_, RegistryView::defaultView), std::nullopt);
  EXPECT_EQ(searchRegistry(machine_, settings_, RegistryView::view64), std::nullopt) << "no companion";
  settings_.withCompanion = true;
#ifdef _WIN64
  EXPECT_EQ(searchRegistry(machine_, settings_, RegistryView::view64), std::nullopt)
      << "for this process the 64-bit view is its own";
#else
  EXPECT_EQ(searchRegistry(machine_, settings_, RegistryView::view64), root_ + u"jdk17\\");
#endif
}

TEST_F(RuntimeRegistryTest, NewestAcceptableRuntimeWins) {
  registerRuntime(kOwnView, u"Software\\JavaSoft\\JRE\\1.8", makeHome(u"jre8"));
  registerRuntime(kOwnView, u"Software\\JavaSoft\\JRE\\1.8.0_151", root_ + u"jre8");
  registerRuntime(kOwnView, u"Software\\JavaSoft\\JDK\\1.7.0_80", makeHome(u"jdk7"));
  registerRuntime(kOwnView, u"Software\\JavaSoft\\JDK\\21", root_ + u"removed-jdk21");  // stale
  EXPECT_EQ(searchRegistry(machine_, settings_, RegistryView::defaultView), root_ + u"jre8\\");

  settings_.preferredVersions = {u"1.7"};
  EXPECT_EQ(searchRegistry(machine_, settings_, RegistryView::defaultView), root_ + u"jdk7\\");
}

TEST_F(RuntimeRegistryTest, ARuntimeOfAnotherMachineIsPassedOverByItsHeaders) {
  registerRuntime(kOwnView, u"Software\\JavaSoft\\JRE\\21", makeHome(u"arm21", u"client", kMachineArm64));
  registerRuntime(kOwnView, u"Software\\JavaSoft\\JRE\\17", makeHome(u"jre17"));
  EXPECT_EQ(searchRegistry(machine_, settings_, RegistryView::defaultView), root_ + u"jre17\\");
  registerRuntime(kOwnView, u"Software\\JavaSoft\\JRE\\19", makeHome(u"empty19"));
  EXPECT_TRUE(testing::writeFile(root_ + u"empty19\\bin\\client\\jvm.dll", ""));  // no headers at all
  EXPECT_EQ(searchRegistry(machine_, settings_, RegistryView::defaultView), root_ + u"jre17\\");
}

TEST_F(RuntimeRegistryTest, JdkKeysOfTheOldFormPointIntoTheirJreFolder) {
  std::u16string jdk = makeHome(u"jdk6");
  makeHome(u"jdk6\\jre", u"server");
  registerRuntime(kOwnView, u"Software\\JavaSoft\\Java Development Kit\\1.6.0_45", jdk);
  settings_.jvmType = JvmType::server;
  EXPECT_EQ(searchRegistry(machine_, settings_, RegistryView::defaultView), root_ + u"jdk6\\jre\\");
}

TEST_F(RuntimeRegistryTest, ValuesWithoutTerminatorOrOfExpandableType) {
  registerRuntime(kOwnView, u"Software\\JavaSoft\\JRE\\9", makeHome(u"jre9"), REG_SZ, false);
  EXPECT_EQ(RegistryKey(u"Software\\JavaSoft\\JRE\\9\\", kOwnView == KEY_WOW64_64KEY).readString(u"JavaHome"),
            root_ + u"jre9");
  registerRuntime(kOwnView, u"Software\\JavaSoft\\JRE\\10", makeHome(u"jre10"), REG_EXPAND_SZ);
  EXPECT_EQ(searchRegistry(machine_, settings_, RegistryView::defaultView), root_ + u"jre10\\");
}

TEST_F(RuntimeRegistryTest, SubkeysInRegistryOrderAndMissingKeys) {
  for (const char16_t* version : {u"1.8", u"11", u"17"}) {
    registerRuntime(kOwnView, std::u16string(u"Software\\JavaSoft\\JDK\\") + version, root_ + u"x");
  }
  RegistryKey key(u"Software\\JavaSoft\\JDK\\", kOwnView == KEY_WOW64_64KEY);
  EXPECT_EQ(key.subkeyNames(), (std::vector<std::u16string>{u"1.8", u"11", u"17"}));
  RegistryKey missing(u"Software\\JavaSoft\\Nothing\\", false);
  EXPECT_FALSE(missing.isOpen());
  EXPECT_TRUE(missing.subkeyNames().empty());
  EXPECT_EQ(missing.readString(u"JavaHome"), std::nullopt);
}

}  // namespace
}  // namespace launcher
