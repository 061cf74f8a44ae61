#include "runtime/pe_image_file_win.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "base/wide.h"
#include "runtime/pe_header_check.h"
#include "test_files.h"

namespace launcher {
namespace {

std::u16string testFolder() {
  wchar_t path[MAX_PATH];
  DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::u16string folder(as_u16view(path, length));
  return folder.substr(0, folder.rfind(u'\\'));
}

class PeImageFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    images_ = testFolder() + u"\\images\\";
    scratch_ = testing::tempFolder() + u"pe_image_file_test.dll";
  }
  void TearDown() override { ::DeleteFileW(as_wcstr(scratch_)); }

  void writeScratch(const std::string& bytes) { ASSERT_TRUE(testing::writeFile(scratch_, bytes)); }

  std::u16string images_, scratch_;
};

TEST_F(PeImageFileTest, RealDllsOfBothArchitectures) {
  PeImageFile x86(images_ + u"probe-x86.dll");
  ASSERT_TRUE(x86.isValidImage());
  EXPECT_EQ(x86.machine(), kMachineX86);
  PeImageFile x64(images_ + u"probe-x64.dll");
  ASSERT_TRUE(x64.isValidImage());
  EXPECT_EQ(x64.machine(), kMachineX64);
}

TEST_F(PeImageFileTest, AnArm64HeaderIsValidButNoCompanionRuntime) {
  std::string bytes = testing::readFile(images_ + u"probe-x64.dll");
  ASSERT_GT(bytes.size(), 0x200u);
  uint32_t lfanew = 0;
  memcpy(&lfanew, bytes.data() + 0x3C, 4);
  bytes[lfanew + 4] = static_cast<char>(0x64);
  bytes[lfanew + 5] = static_cast<char>(0xAA);
  writeScratch(bytes);
  PeImageFile arm(scratch_);
  ASSERT_TRUE(arm.isValidImage());
  EXPECT_EQ(arm.machine(), kMachineArm64);
  // The companion cannot load it either; this launcher's load error names it.
  EXPECT_FALSE(isCompanionRuntime(scratch_));
}

TEST_F(PeImageFileTest, BrokenFilesAreNotImages) {
  std::string good = testing::readFile(images_ + u"probe-x64.dll");
  std::string noMz = good;
  noMz[0] = 'X';
  std::string farLfanew = good;
  uint32_t beyond = static_cast<uint32_t>(good.size()) - 8;  // headers would run past the end
  memcpy(&farLfanew[0x3C], &beyond, 4);
  std::string hugeLfanew = good;
  memcpy(&hugeLfanew[0x3C], "\xF0\xFF\xFF\x7F", 4);
  std::string negativeLfanew = good;
  memcpy(&negativeLfanew[0x3C], "\x00\x00\x00\x80", 4);
  std::string onlyMz = "MZ";
  for (const std::string* bytes : {&noMz, &farLfanew, &hugeLfanew, &negativeLfanew, &onlyMz}) {
    writeScratch(*bytes);
    EXPECT_FALSE(PeImageFile(scratch_).isValidImage()) << "case " << (bytes - &noMz);
  }
  writeScratch("");
  EXPECT_FALSE(PeImageFile(scratch_).isValidImage()) << "an empty file cannot even be mapped";
  EXPECT_FALSE(PeImageFile(images_ + u"missing.dll").isValidImage());
}

TEST_F(PeImageFileTest, OnlyARuntimeOfTheCompanionsMachineIsHandedOn) {
  std::u16string own = images_ + (kOwnMachine == kMachineX86 ? u"probe-x86.dll" : u"probe-x64.dll");
  std::u16string other = images_ + (kOwnMachine == kMachineX86 ? u"probe-x64.dll" : u"probe-x86.dll");
  EXPECT_TRUE(isCompanionRuntime(other));
  EXPECT_FALSE(isCompanionRuntime(own));
  EXPECT_FALSE(isCompanionRuntime(images_ + u"missing.dll"));
}

TEST_F(PeImageFileTest, ADbghelpBesideTheLauncherIsNotLoaded) {
  // A planted Dbghelp.dll in the program's folder that is not a loadable library: on Windows,
  // loading by bare name would pick it up and the check would fail; the system's copy keeps it
  // working. (Wine prefers its own built-in copy either way, so there this only shows no harm.)
  std::u16string planted = testFolder() + u"\\dbghelp.dll";
  ASSERT_TRUE(testing::writeFile(planted, "MZ not a library"));
  PeImageFile x64(images_ + u"probe-x64.dll");
  bool valid = x64.isValidImage();
  ::DeleteFileW(as_wcstr(planted));
  EXPECT_TRUE(valid);
}

}  // namespace
}  // namespace launcher
