#include "jvm/class_path.h"

#include "base/path.h"

#include <gtest/gtest.h>

#include <map>

namespace launcher {
namespace {

using Names = std::vector<std::u16string>;

TEST(SplitClassPath, EverySeparatorEndsAnEntry) {
  struct Case {
    const char* what;
    std::u16string_view value;
    Names entries;
  };
  const Case cases[] = {
      {"empty value", u"", {}},
      {"one entry", u"a.jar", {u"a.jar"}},
      {"final separator adds none", u"a.jar;", {u"a.jar"}},
      {"empty entries between separators kept", u"a;;b", {u"a", u"", u"b"}},
      {"leading separator", u";a", {u"", u"a"}},
      {"separator alone", u";", {u""}},
      {"two final separators", u"a;;", {u"a", u""}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(splitClassPath(c.value), c.entries) << c.what;
  }
}

TEST(IsAbsoluteClassPathEntry, DriveOrUncOnly) {
  for (std::u16string_view entry : {u"C:\\a.jar", u"c:", u"C:lib\\a.jar", u"\\\\server\\share\\a.jar", u"\\\\"}) {
    EXPECT_TRUE(isAbsolutePath(entry));
  }
  for (std::u16string_view entry : {u"", u"C", u"\\lib\\a.jar", u"lib\\a.jar", u"a.jar", u"/lib/a.jar"}) {
    EXPECT_FALSE(isAbsolutePath(entry));
  }
}

// A file system given as pattern -> names, which records the patterns asked for.
struct FakeFiles {
  std::map<std::u16string, Names> listings;
  std::vector<std::u16string> asked;

  EnumerateNames enumerator() {
    return [this](std::u16string_view pattern) {
      asked.emplace_back(pattern);
      auto found = listings.find(std::u16string(pattern));
      return found == listings.end() ? Names{} : found->second;
    };
  }
};

std::u16string noExpansion(std::u16string_view text) { return std::u16string(text); }

constexpr std::u16string_view kFolder = u"C:\\App";

TEST(BuildClassPath, AbsoluteEntriesAreTakenAsWrittenWithoutLooking) {
  FakeFiles files;
  std::u16string classPath =
      buildClassPath({u"C:\\missing.jar", u"\\\\srv\\share\\b.jar"}, kFolder, noExpansion, files.enumerator());
  EXPECT_EQ(classPath, u"C:\\missing.jar;\\\\srv\\share\\b.jar;");
  EXPECT_TRUE(files.asked.empty());
}

TEST(BuildClassPath, PatternsListEveryMatchWithTheirFolder) {
  FakeFiles files;
  files.listings[u"C:\\App\\lib\\*.jar"] = {u"b.jar", u"a.jar"};
  files.listings[u"C:\\App\\lib\\*"] = {u".", u"..", u"a.jar", u"sub"};
  files.listings[u"D:\\ext\\*.jar"] = {u"x.jar"};
  files.listings[u"C:\\App\\main.jar"] = {u"main.jar"};
  const struct {
    const char* what;
    std::u16string_view entry;
    std::u16string_view classPath;
  } cases[] = {
      {"relative wildcard, enumeration order kept", u"\\lib\\*.jar", u"C:\\App\\lib\\b.jar;C:\\App\\lib\\a.jar;"},
      {"folders, dot and dot-dot are not filtered", u"\\lib\\*",
       u"C:\\App\\lib\\.;C:\\App\\lib\\..;C:\\App\\lib\\a.jar;C:\\App\\lib\\sub;"},
      {"absolute wildcard", u"D:\\ext\\*.jar", u"D:\\ext\\x.jar;"},
      {"relative file with a leading backslash", u"\\main.jar", u"C:\\App\\main.jar;"},
      {"bare relative file name gets its separator", u"main.jar", u"C:\\App\\main.jar;"},
      {"relative folder and wildcard without a leading backslash", u"lib\\*.jar",
       u"C:\\App\\lib\\b.jar;C:\\App\\lib\\a.jar;"},
      {"missing relative file is dropped", u"\\gone.jar", u""},
      {"wildcard without matches is dropped", u"\\none\\*.jar", u""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(buildClassPath({std::u16string(c.entry)}, kFolder, noExpansion, files.enumerator()), c.classPath)
        << c.what;
  }
}

TEST(BuildClassPath, ForwardSlashesSeparateLikeBackslashes) {
  FakeFiles files;
  files.listings[u"C:\\App/lib/*.jar"] = {u"a.jar"};
  files.listings[u"C:\\App\\lib/*.jar"] = {u"a.jar"};
  EXPECT_EQ(buildClassPath({u"/lib/*.jar"}, kFolder, noExpansion, files.enumerator()), u"C:\\App/lib/a.jar;");
  EXPECT_EQ(buildClassPath({u"lib/*.jar"}, kFolder, noExpansion, files.enumerator()), u"C:\\App\\lib/a.jar;");
}

TEST(BuildClassPath, EmptyEntryNamesTheLauncherFolder) {
  FakeFiles files;
  files.listings[u"C:\\App"] = {u"App"};
  EXPECT_EQ(buildClassPath({u"", u"C:\\a.jar"}, kFolder, noExpansion, files.enumerator()), u"C:\\App;C:\\a.jar;");
  EXPECT_EQ(files.asked, (Names{u"C:\\App"}));
}

TEST(BuildClassPath, EntriesAreExpandedBeforeTheyAreJudged) {
  FakeFiles files;
  files.listings[u"C:\\App\\lib\\*.jar"] = {u"a.jar"};
  ExpandText expand = [](std::u16string_view text) {
    std::u16string result(text);
    if (text == u"%EXT%\\x.jar") result = u"D:\\Ext Dir\\x.jar";
    if (text == u"%LIB%\\*.jar") result = u"\\lib\\*.jar";
    return result;
  };
  EXPECT_EQ(buildClassPath({u"%EXT%\\x.jar", u"%LIB%\\*.jar"}, kFolder, expand, files.enumerator()),
            u"D:\\Ext Dir\\x.jar;C:\\App\\lib\\a.jar;");
}

TEST(BuildClassPath, NoEntriesGiveAnEmptyClassPath) {
  FakeFiles files;
  EXPECT_EQ(buildClassPath({}, kFolder, noExpansion, files.enumerator()), u"");
}

TEST(ClassPathTexts, EmbeddedJarComesFirstAndTheOptionWrapsIt) {
  EXPECT_EQ(prependEmbeddedJar(u"C:\\a.jar;", u"C:\\App\\app.exe"), u"C:\\App\\app.exe;C:\\a.jar;");
  // Never empty with the embedded jar, even without a class path of its own.
  EXPECT_EQ(prependEmbeddedJar(u"", u"C:\\App\\app.exe"), u"C:\\App\\app.exe;");
  // No empty element, which the VM would read as the current folder.
  EXPECT_EQ(classPathOption(u"C:\\a.jar;"), u"-Djava.class.path=C:\\a.jar");
  EXPECT_EQ(classPathOption(u";C:\\a.jar;;C:\\b.jar;;"), u"-Djava.class.path=C:\\a.jar;C:\\b.jar");
}

}  // namespace
}  // namespace launcher

namespace launcher {
namespace {

TEST(ConvertPathList, EachElementConvertedTheFirstFailureNamed) {
  auto convert = [](std::u16string_view path) -> std::optional<std::u16string> {
    if (path.find(u'\u0416') == std::u16string_view::npos) return std::u16string(path);
    if (path.starts_with(u"C:\\")) return u"C:\\SHORT~1";
    return std::nullopt;
  };
  std::u16string failed;
  EXPECT_EQ(convertPathList(u"C:\\a.jar;C:\\\u0416.jar;;D:\\\u0416\\b.jar;E:\\\u0416", convert, failed),
            u"C:\\a.jar;C:\\SHORT~1;;D:\\\u0416\\b.jar;E:\\\u0416");
  EXPECT_EQ(failed, u"D:\\\u0416\\b.jar");
}

}  // namespace
}  // namespace launcher
