#include "base/path.h"

#include <gtest/gtest.h>

namespace launcher {
namespace {

TEST(PathParts, FolderEndsAtTheLastBackslashOnly) {
  EXPECT_EQ(folderOf(u"C:\\Program Files\\Acme\\app.exe"), u"C:\\Program Files\\Acme");
  EXPECT_EQ(folderOf(u"C:\\app.exe"), u"C:");
  EXPECT_EQ(folderOf(u"C:\\"), u"C:");
  EXPECT_EQ(folderOf(u"\\\\server\\share\\app.exe"), u"\\\\server\\share");
  for (std::u16string_view path : {u"", u"app.exe", u"\\app.exe", u"C:/Acme/app.exe"}) {
    EXPECT_EQ(folderOf(path), u"") << path.size();
  }
}

TEST(PathParts, FileNameFollowsTheLastBackslashOrSlash) {
  EXPECT_EQ(fileNameOf(u"C:\\Acme\\app.exe"), u"app.exe");
  EXPECT_EQ(fileNameOf(u"C:/Acme/app.exe"), u"app.exe");
  EXPECT_EQ(fileNameOf(u"C:\\a/b\\app.exe"), u"app.exe");
  EXPECT_EQ(fileNameOf(u"C:\\a\\b/app.exe"), u"app.exe");
  EXPECT_EQ(fileNameOf(u"app.exe"), u"app.exe");
  EXPECT_EQ(fileNameOf(u"C:\\"), u"");
  EXPECT_EQ(fileNameOf(u"\\\\server\\share\\"), u"");
}

TEST(PathJoin, OneBackslashBetweenFolderAndName) {
  EXPECT_EQ(withTrailingBackslash(u"C:\\jre"), u"C:\\jre\\");
  EXPECT_EQ(withTrailingBackslash(u"C:\\jre\\"), u"C:\\jre\\");
  EXPECT_EQ(withTrailingBackslash(u"C:\\"), u"C:\\");
  EXPECT_EQ(withTrailingBackslash(u""), u"\\");
  EXPECT_EQ(joinPath(u"C:\\jre", u"bin\\java.dll"), u"C:\\jre\\bin\\java.dll");
  EXPECT_EQ(joinPath(u"C:\\jre\\", u"bin\\java.dll"), u"C:\\jre\\bin\\java.dll");
  EXPECT_EQ(joinPath(u"C:\\", u"jre"), u"C:\\jre");
  EXPECT_EQ(joinPath(u"", u"jre"), u"\\jre");
  EXPECT_EQ(joinPath(u"\\\\server\\share", u""), u"\\\\server\\share\\");
}

TEST(PathComponents, DroppingStopsAtTheRoot) {
  EXPECT_EQ(withoutLastComponents(u"C:\\jre\\bin\\server\\jvm.dll", 0), u"C:\\jre\\bin\\server\\jvm.dll");
  EXPECT_EQ(withoutLastComponents(u"C:\\jre\\jvm.dll", 3), u"C:");
  EXPECT_EQ(withoutLastComponents(u"\\\\server\\share\\jvm.dll", 1), u"\\\\server\\share");
  EXPECT_TRUE(isAbsolutePath(u"\\\\?\\C:\\jre"));
  EXPECT_FALSE(isAbsolutePath(u"jre\\C:"));
}

}  // namespace
}  // namespace launcher

namespace launcher {
namespace {

TEST(AnchoredPath, RelativeSettingsLieInTheLaunchersFolder) {
  struct Case {
    std::u16string_view folder, path, anchored;
  };
  const Case cases[] = {
      {u"C:\\App", u"jre", u"C:\\App\\jre"},
      {u"C:\\App", u"..\\jre", u"C:\\App\\..\\jre"},  // the system's full path removes the ".."
      {u"C:\\App", u"\\jre", u"C:\\jre"},
      {u"C:\\App", u"/jre", u"C:/jre"},
      {u"C:\\", u"jre", u"C:\\jre"},
      {u"\\\\srv\\share\\App", u"\\jre", u"\\\\srv\\share\\jre"},
      {u"\\\\srv\\share\\App", u"jre", u"\\\\srv\\share\\App\\jre"},
      {u"C:\\App", u"D:\\jre", u"D:\\jre"},
      {u"C:\\App", u"\\\\srv\\jre", u"\\\\srv\\jre"},
      {u"C:\\App", u"D:jre", u"D:jre"},
      {u"C:\\App", u"", u""},
      {u"", u"jre", u"jre"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(anchoredPath(c.folder, c.path), c.anchored)
        << std::string(c.folder.begin(), c.folder.end()) << " + " << std::string(c.path.begin(), c.path.end());
  }
}

}  // namespace
}  // namespace launcher
