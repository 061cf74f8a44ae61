#include "settings/profile_file_win.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "base/wide.h"

namespace launcher {
namespace {

// A settings file in the temporary folder, written as UTF-16LE with a byte order mark, which is
// how Windows reads non-ASCII profile files.
class ProfileFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    wchar_t folder[MAX_PATH];
    ::GetTempPathW(MAX_PATH, folder);
    path_ = std::u16string(as_u16view(folder)) + u"profile_file_test.ini";
  }
  void TearDown() override { ::DeleteFileW(as_wcstr(path_)); }

  void write(const std::u16string& content) {
    HANDLE file = ::CreateFileW(as_wcstr(path_), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    std::u16string bytes = u"\uFEFF" + content;
    DWORD written = 0;
    ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size() * 2), &written, nullptr);
    ::CloseHandle(file);
  }

  std::u16string path_;
};

TEST_F(ProfileFileTest, PlainReadsWholeValuesAroundTheFirstBufferSize) {
  for (size_t length : {254u, 255u, 256u, 257u, 511u, 4000u}) {
    std::u16string value(length, u'v');
    value.back() = u'!';
    write(u"[Application]\r\nCmd=" + value + u"\r\n");
    EXPECT_EQ(ProfileFile(path_).readPlain(u"Application", u"Cmd"), value) << "length " << length;
  }
}

TEST_F(ProfileFileTest, AbsentKeySectionAndFileGiveEmpty) {
  write(u"[Application]\r\nCmd=x\r\n");
  ProfileFile file(path_);
  EXPECT_EQ(file.readPlain(u"Application", u"Other"), u"");
  EXPECT_EQ(file.readPlain(u"Display", u"Cmd"), u"");
  EXPECT_EQ(ProfileFile(path_ + u".missing").readPlain(u"Application", u"Cmd"), u"");
}

TEST_F(ProfileFileTest, LayeredReadFallsBackToThePlusSection) {
  write(u"[Java Runtime Environment]\r\nMain Class=com.example.Main\r\n"
        u"[Java Runtime Environment+]\r\nMain Class=ignored\r\nVirtual Machine Parameters=-Xmx512m\r\n"
        u"JRE Path= spaced\r\n");
  ProfileFile file(path_);
  EXPECT_EQ(file.readLayered(u"Java Runtime Environment", u"Main Class", false), u"com.example.Main");
  EXPECT_EQ(file.readLayered(u"Java Runtime Environment", u"Virtual Machine Parameters", true), u" -Xmx512m");
  EXPECT_EQ(file.readLayered(u"Java Runtime Environment", u"JRE Path", false), u"spaced");
  EXPECT_EQ(file.readLayered(u"Java Runtime Environment", u"Missing", true), u"");
}

TEST_F(ProfileFileTest, NonAsciiValues) {
  write(u"[Application]\r\nOutput File=C:\\Bj\u00f6rk\\\u65e5\u672c\\out.txt\r\n");
  EXPECT_EQ(ProfileFile(path_).readPlain(u"Application", u"Output File"), u"C:\\Bj\u00f6rk\\\u65e5\u672c\\out.txt");
}

}  // namespace
}  // namespace launcher
