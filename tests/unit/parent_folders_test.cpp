#include "jvm/parent_folders.h"

#include "base/path.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace launcher {
namespace {

using Names = std::vector<std::u16string>;

constexpr std::uint32_t kAccessDenied = 5;
constexpr std::uint32_t kPathNotFound = 3;

TEST(SplitPathComponents, RootThenComponents) {
  struct Case {
    const char* what;
    std::u16string_view path;
    Names parts;
  };
  const Case cases[] = {
      {"drive", u"C:\\logs\\out.txt", {u"C:", u"logs", u"out.txt"}},
      {"drive root file", u"C:\\out.txt", {u"C:", u"out.txt"}},
      {"drive alone", u"C:", {u"C:"}},
      {"drive with backslash", u"C:\\", {u"C:"}},
      {"unc", u"\\\\server\\share\\out.txt", {u"\\\\server", u"share", u"out.txt"}},
      {"unc server alone", u"\\\\server", {u"\\\\server"}},
      {"long drive", u"\\\\?\\C:\\logs\\out.txt", {u"\\\\?\\C:", u"logs", u"out.txt"}},
      {"long unc is no unc", u"\\\\?\\UNC\\server\\share\\out.txt",
       {u"\\\\?\\UNC", u"server", u"share", u"out.txt"}},
      {"relative", u"logs\\sub\\out.txt", {u"logs", u"sub", u"out.txt"}},
      {"single leading backslash", u"\\logs\\out.txt", {u"logs", u"out.txt"}},
      {"empty components kept", u"C:\\a\\\\b", {u"C:", u"a", u"", u"b"}},
      {"trailing backslash adds none", u"C:\\a\\b\\", {u"C:", u"a", u"b"}},
      {"file name alone", u"out.txt", {u"out.txt"}},
      {"empty", u"", {}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(splitPathComponents(c.path), c.parts) << c.what;
  }
}

TEST(PathTests, UncAbsoluteAndRemovalPrefix) {
  EXPECT_TRUE(isUncPath(u"\\\\server\\share"));
  EXPECT_FALSE(isUncPath(u"\\\\?\\UNC\\server"));
  EXPECT_FALSE(isUncPath(u"\\\\"));
  EXPECT_FALSE(isUncPath(u"C:\\a"));

  for (std::u16string_view p : {u"C:\\a", u"c:", u"\\\\server", u"\\\\?\\C:\\a"}) EXPECT_TRUE(isAbsolutePath(p));
  for (std::u16string_view p : {u"", u"C", u"a\\b", u"\\a"}) EXPECT_FALSE(isAbsolutePath(p));

  const std::u16string shortPath = u"C:\\" + std::u16string(256, u'a');  // 259 characters
  const std::u16string longPath = shortPath + u"b";                    // 260 characters
  EXPECT_EQ(withLongPathPrefixForRemoval(shortPath), shortPath);
  EXPECT_EQ(withLongPathPrefixForRemoval(longPath), u"\\\\?\\" + longPath);
  EXPECT_EQ(withLongPathPrefixForRemoval(u"\\\\?\\" + longPath), u"\\\\?\\" + longPath);
}

// Folders and files by full name; a folder can be made only inside an existing folder. Every
// call is recorded.
struct FakeFolders final : FolderOps {
  std::set<std::u16string> folders;
  std::set<std::u16string> files;
  std::map<std::u16string, std::uint32_t> refusals;
  Names looked;
  Names tried;
  Names created;
  Names removed;

  bool entryExists(std::u16string_view path) override {
    looked.emplace_back(path);
    return folders.contains(std::u16string(path)) || files.contains(std::u16string(path));
  }
  std::uint32_t createFolder(std::u16string_view path) override {
    const std::u16string name(path);
    tried.push_back(name);
    if (const auto refused = refusals.find(name); refused != refusals.end()) return refused->second;
    if (folders.contains(name) || files.contains(name)) return kErrorAlreadyExists;
    const std::size_t cut = name.rfind(u'\\');
    if (cut == std::u16string::npos || !folders.contains(name.substr(0, cut))) return kPathNotFound;
    folders.insert(name);
    created.push_back(name);
    return 0;
  }
  bool removeFolder(std::u16string_view path) override {
    const std::u16string name(path);
    removed.push_back(name);
    for (const std::u16string& f : folders) {
      if (f.starts_with(name + u"\\")) return false;
    }
    for (const std::u16string& f : files) {
      if (f.starts_with(name + u"\\")) return false;
    }
    return folders.erase(name) == 1;
  }
};

TEST(EnsureParentFolders, CreatesEachMissingLevelAndCleansUpOneLevel) {
  struct Case {
    const char* what;
    std::u16string_view path;
    std::set<std::u16string> folders;
    std::set<std::u16string> files;
    std::map<std::u16string, std::uint32_t> refusals;
    std::uint32_t code;
    Names tried;
    Names removed;
    std::set<std::u16string> foldersAfter;
  };
  const Case cases[] = {
      {"drive, two levels missing", u"C:\\logs\\2024\\out.txt", {u"C:"}, {}, {}, 0,
       {u"C:\\logs", u"C:\\logs\\2024"}, {}, {u"C:", u"C:\\logs", u"C:\\logs\\2024"}},
      {"drive, levels already there", u"C:\\logs\\2024\\out.txt", {u"C:", u"C:\\logs", u"C:\\logs\\2024"}, {}, {}, 0,
       {u"C:\\logs", u"C:\\logs\\2024"}, {}, {u"C:", u"C:\\logs", u"C:\\logs\\2024"}},
      {"file in the drive root", u"C:\\out.txt", {u"C:"}, {}, {}, 0, {}, {}, {u"C:"}},
      {"existing file untouched", u"C:\\logs\\2024\\out.txt", {u"C:"}, {u"C:\\logs\\2024\\out.txt"}, {}, 0, {}, {},
       {u"C:"}},
      {"unc share level passed over", u"\\\\server\\share\\logs\\out.txt", {u"\\\\server\\share"}, {},
       {{u"\\\\server\\share", kAccessDenied}}, 0, {u"\\\\server\\share", u"\\\\server\\share\\logs"}, {},
       {u"\\\\server\\share", u"\\\\server\\share\\logs"}},
      {"unc deepest failure reported", u"\\\\server\\share\\logs\\out.txt", {}, {},
       {{u"\\\\server\\share", kAccessDenied}}, kPathNotFound, {u"\\\\server\\share", u"\\\\server\\share\\logs"}, {},
       {}},
      {"long-path drive", u"\\\\?\\C:\\logs\\out.txt", {u"\\\\?\\C:"}, {}, {}, 0, {u"\\\\?\\C:\\logs"}, {},
       {u"\\\\?\\C:", u"\\\\?\\C:\\logs"}},
      {"long-path unc stops at the server", u"\\\\?\\UNC\\server\\share\\logs\\out.txt", {u"\\\\?\\UNC"}, {},
       {{u"\\\\?\\UNC\\server", kAccessDenied}}, kAccessDenied, {u"\\\\?\\UNC\\server"}, {}, {u"\\\\?\\UNC"}},
      {"relative: first component is never created", u"logs\\sub\\out.txt", {}, {}, {}, kPathNotFound,
       {u"logs\\sub"}, {}, {}},
      {"relative below an existing folder", u"logs\\sub\\out.txt", {u"logs"}, {}, {}, 0, {u"logs\\sub"}, {},
       {u"logs", u"logs\\sub"}},
      {"single leading backslash, one level", u"\\logs\\out.txt", {}, {}, {}, 0, {}, {}, {}},
      {"single leading backslash stays on the drive root", u"\\logs\\sub\\out.txt", {u"\\logs", u"logs"}, {}, {}, 0,
       {u"\\logs\\sub"}, {}, {u"\\logs", u"\\logs\\sub", u"logs"}},
      {"failure removes the level this call made", u"C:\\a\\b\\c\\out.txt", {u"C:"}, {},
       {{u"C:\\a\\b\\c", kAccessDenied}}, kAccessDenied, {u"C:\\a", u"C:\\a\\b", u"C:\\a\\b\\c"}, {u"C:\\a\\b"},
       {u"C:", u"C:\\a"}},
      {"failure keeps a level that was there", u"C:\\a\\b\\c\\out.txt", {u"C:", u"C:\\a", u"C:\\a\\b"}, {},
       {{u"C:\\a\\b\\c", kAccessDenied}}, kAccessDenied, {u"C:\\a", u"C:\\a\\b", u"C:\\a\\b\\c"}, {},
       {u"C:", u"C:\\a", u"C:\\a\\b"}},
      {"failure on the first level removes nothing", u"C:\\a\\b\\out.txt", {u"C:"}, {},
       {{u"C:\\a", kAccessDenied}}, kAccessDenied, {u"C:\\a"}, {}, {u"C:"}},
      {"a file where a folder belongs stops the walk", u"C:\\logs\\x\\out.txt", {u"C:", u"C:\\logs"},
       {u"C:\\logs\\x"}, {}, 0, {u"C:\\logs", u"C:\\logs\\x"}, {}, {u"C:", u"C:\\logs"}},
      {"a file in the way one level up", u"C:\\logs\\x\\y\\out.txt", {u"C:", u"C:\\logs"}, {u"C:\\logs\\x"}, {},
       kPathNotFound, {u"C:\\logs", u"C:\\logs\\x", u"C:\\logs\\x\\y"}, {}, {u"C:", u"C:\\logs"}},
      {"empty path", u"", {}, {}, {}, 0, {}, {}, {}},
  };
  for (const Case& c : cases) {
    FakeFolders fs;
    fs.folders = c.folders;
    fs.files = c.files;
    fs.refusals = c.refusals;
    EXPECT_EQ(ensureParentFolders(c.path, fs), c.code) << c.what;
    EXPECT_EQ(fs.tried, c.tried) << c.what;
    EXPECT_EQ(fs.removed, c.removed) << c.what;
    EXPECT_EQ(fs.folders, c.foldersAfter) << c.what;
  }
}

TEST(EnsureParentFolders, RelativePathIsNeverLookedUp) {
  FakeFolders fs;
  fs.files = {u"logs\\out.txt"};
  ensureParentFolders(u"logs\\out.txt", fs);
  EXPECT_TRUE(fs.looked.empty());
}

TEST(EnsureParentFolders, CleanUpOfALongFolderGetsTheLongPathPrefix) {
  const std::u16string deep = u"C:\\a\\" + std::u16string(300, u'd');
  FakeFolders fs;
  fs.folders = {u"C:"};
  fs.refusals = {{deep + u"\\e", kAccessDenied}};
  EXPECT_EQ(ensureParentFolders(deep + u"\\e\\out.txt", fs), kAccessDenied);
  EXPECT_EQ(fs.removed, Names{u"\\\\?\\" + deep});
}

}  // namespace
}  // namespace launcher
