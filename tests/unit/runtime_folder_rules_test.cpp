#include "ui/link_rules.h"
#include "ui/runtime_folder_rules.h"
#include "ui/window_placement.h"

#include <gtest/gtest.h>

#include <map>

#include "fake_runtime_environment.h"
#include "resources/resource_ids.h"
#include "runtime/pe_header_check.h"

namespace launcher {
namespace {

std::string shown(std::u16string_view text) { return std::string(text.begin(), text.end()); }

TEST(RuntimeExplanation, TheServerTextOnlyWhenAServerVmIsRequired) {
  std::map<unsigned, std::u16string> texts{{IDS_NO_SERVER_RUNTIME, u"server: %ls."},
                                           {IDS_NO_RUNTIME, u"any: %ls."},
                                           {IDS_RANGE_BETWEEN, u"from %ls to %ls"}};
  TextLoader load = [&](unsigned id) { return texts.count(id) ? texts[id] : std::u16string(); };
  VersionRangeText range{IDS_RANGE_BETWEEN, {u"11.0", u"17"}};
  EXPECT_EQ(composeRuntimeExplanation(JvmType::server, range, load), u"server: from 11.0 to 17.");
  EXPECT_EQ(composeRuntimeExplanation(JvmType::favorServer, range, load), u"any: from 11.0 to 17.");
  EXPECT_EQ(composeRuntimeExplanation(JvmType::any, range, load), u"any: from 11.0 to 17.");
  // A missing range text leaves the sentence without it rather than with a placeholder.
  EXPECT_EQ(composeRuntimeExplanation(JvmType::any, {IDS_RANGE_ANY, {}}, load), u"any: .");
}

class PickedFolder : public ::testing::Test {
 protected:
  RuntimePick examine(std::u16string_view folder, JvmType type = JvmType::any, bool companionAllowed = false) {
    MachineReader machineOf = [&](const std::u16string& path) -> std::optional<std::uint16_t> {
      auto found = machines_.find(path);
      if (found == machines_.end()) return std::nullopt;
      return found->second;
    };
    return examinePickedFolder(machine_, folder, type, machineOf, {kMachineX86, kMachineX64, companionAllowed});
  }
  void install(std::u16string_view home, std::u16string_view vm, std::uint16_t machine) {
    machine_.install(home, {vm});
    machines_[std::u16string(home) + u"bin\\" + std::u16string(vm) + u"\\jvm.dll"] = machine;
  }

  FakeRuntimeEnvironment machine_;
  std::map<std::u16string, std::uint16_t> machines_;
};

TEST_F(PickedFolder, TheHomeEndsInOneBackslashAndAJdk8HomeLeadsToItsJre) {
  install(u"C:\\jre8\\", u"client", kMachineX86);
  install(u"D:\\", u"server", kMachineX86);
  install(u"C:\\jdk8\\jre\\", u"server", kMachineX86);
  struct Case {
    std::u16string_view folder, home, jvmDll;
  };
  for (const Case& c : {Case{u"C:\\jre8", u"C:\\jre8\\", u"C:\\jre8\\bin\\client\\jvm.dll"},
                        Case{u"C:\\jre8\\", u"C:\\jre8\\", u"C:\\jre8\\bin\\client\\jvm.dll"},
                        Case{u"D:\\", u"D:\\", u"D:\\bin\\server\\jvm.dll"},
                        Case{u"C:\\jdk8", u"C:\\jdk8\\jre\\", u"C:\\jdk8\\jre\\bin\\server\\jvm.dll"}}) {
    RuntimePick pick = examine(c.folder);
    EXPECT_EQ(pick.verdict, PickVerdict::usable) << shown(c.folder);
    EXPECT_EQ(pick.home, c.home) << shown(c.folder);
    EXPECT_EQ(pick.jvmDllPath, c.jvmDll) << shown(c.folder);
  }
  // The folder's own runtime comes before one in its "jre\" subfolder.
  install(u"C:\\jdk8\\", u"client", kMachineX86);
  EXPECT_EQ(examine(u"C:\\jdk8").home, u"C:\\jdk8\\");
}

TEST_F(PickedFolder, OnlyAJvmOfTheRightFlavourAndARunnableMachineIsUsable) {
  install(u"C:\\client\\", u"client", kMachineX86);
  install(u"C:\\jdk64\\", u"server", kMachineX64);
  install(u"C:\\arm\\", u"server", kMachineArm64);
  machine_.install(u"C:\\broken\\", {u"server"});  // not a readable image

  EXPECT_EQ(examine(u"C:\\client", JvmType::server).verdict, PickVerdict::noRuntime);
  EXPECT_EQ(examine(u"C:\\client", JvmType::favorServer).verdict, PickVerdict::usable);
  EXPECT_EQ(examine(u"C:\\nothing").verdict, PickVerdict::noRuntime);
  // Nothing picked is no folder at all, never the root of the current drive.
  machine_.install(u"\\", {u"client"});
  RuntimePick none = examine(u"");
  EXPECT_EQ(none.verdict, PickVerdict::noRuntime);
  EXPECT_EQ(none.home, u"");

  // The companion's machine only when a companion may start; other machines never.
  EXPECT_EQ(examine(u"C:\\jdk64").verdict, PickVerdict::notRunnable);
  EXPECT_EQ(examine(u"C:\\jdk64", JvmType::any, true).verdict, PickVerdict::usable);
  EXPECT_EQ(examine(u"C:\\arm", JvmType::any, true).verdict, PickVerdict::notRunnable);
  EXPECT_EQ(examine(u"C:\\broken", JvmType::any, true).verdict, PickVerdict::notRunnable);
}

TEST(CentredPosition, OverTheAreaAndInsideTheWorkArea) {
  auto at = [](ScreenRect area, long width, long height, ScreenRect work = {0, 0, 1280, 1000}) {
    ScreenPoint point = centredPosition(area, width, height, work);
    return std::make_pair(point.x, point.y);
  };
  EXPECT_EQ(at({100, 100, 500, 300}, 200, 100), std::make_pair(200L, 150L));
  // An owner at an edge: the dialog moves back inside, on either side.
  EXPECT_EQ(at({1200, 950, 1400, 1050}, 300, 200), std::make_pair(980L, 800L));
  EXPECT_EQ(at({-400, -300, -100, -100}, 300, 200), std::make_pair(0L, 0L));
  // Larger than a work area that does not start at 0: the caption stays on the screen.
  EXPECT_EQ(at({1300, 0, 2580, 1000}, 1600, 1200, {1280, 20, 2560, 1000}), std::make_pair(1280L, 20L));
}

TEST(AnchorColor, ThreeNumbersUpTo255InElevenCharacters) {
  EXPECT_EQ(parseAnchorColor(u"0,0,255"), (LinkColor{0, 0, 255}));
  EXPECT_EQ(parseAnchorColor(u"255,255,255"), (LinkColor{255, 255, 255}));
  EXPECT_EQ(parseAnchorColor(u"12, 34 ,056"), (LinkColor{12, 34, 56}));
  for (std::u16string_view refused :
       {u"", u"0,0", u"0,0,", u",0,0", u"0,,0", u"0,0,0,0", u"256,0,0", u"-1,0,0", u"+1,0,0", u"a,b,c", u"1,2,3x",
        u"0,0,0255", u"0, 0, 25 5", u"0,0,0       " /* 12 characters */, u"\uFF11,0,0" /* full-width digit */}) {
    EXPECT_EQ(parseAnchorColor(refused), std::nullopt) << shown(refused);
  }
}

}  // namespace
}  // namespace launcher

namespace launcher {
namespace {

// The link's text comes from the executable's resources, which branding can replace: only a web
// address reaches the shell, and none that could carry arguments into the browser.
TEST(RuntimeFolderLink, OnlyAPlainHttpsAddressIsOpened) {
  for (std::u16string_view good : {u"https://example.com/java", u"HTTPS://Example.com"}) {
    EXPECT_TRUE(isOpenableWebAddress(good));
  }
  for (std::u16string_view bad :
       {u"http://example.com", u"file:///C:/Windows/notepad.exe", u"C:\\Windows\\System32\\cmd.exe", u"https://",
        u"https:///x", u"https://a.com/\" --load-extension=C:\\x", u"https://a.com/ b", u"https://a.com/\tb",
        u"https://a.com/\x2028"}) {
    EXPECT_FALSE(isOpenableWebAddress(bad)) << std::string(bad.begin(), bad.end());
  }
}

}  // namespace
}  // namespace launcher
