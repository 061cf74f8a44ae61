#include "jvm/class_data_archive.h"

#include <gtest/gtest.h>

#include <map>

namespace launcher {
namespace {

// A file system of stamps; folders are stamps with isFolder set.
class FakeFiles : public ArchiveFiles {
 public:
  std::map<std::u16string, FileStamp> entries;

  std::optional<FileStamp> stamp(std::u16string_view path) override {
    auto found = entries.find(std::u16string(path));
    if (found == entries.end()) return std::nullopt;
    return found->second;
  }
  bool makeFolders(std::u16string_view folder) override {
    entries.emplace(folder, FileStamp{0, 0, true});
    return entries.contains(std::u16string(folder));
  }
  bool createNew(std::u16string_view path) override {
    return entries.emplace(path, FileStamp{}).second;
  }
  bool replace(std::u16string_view from, std::u16string_view to) override {
    auto found = entries.find(std::u16string(from));
    if (found == entries.end()) return false;
    entries[std::u16string(to)] = found->second;
    entries.erase(std::u16string(from));
    return true;
  }
  void remove(std::u16string_view path) override { entries.erase(std::u16string(path)); }
  std::vector<std::u16string> namesStartingWith(std::u16string_view folder, std::u16string_view prefix) override {
    std::vector<std::u16string> names;
    std::u16string start = std::u16string(folder) + u"\\" + std::u16string(prefix);
    for (const auto& [path, stamp] : entries) {
      if (path.starts_with(start)) names.push_back(path.substr(folder.size() + 1));
    }
    return names;
  }
  // The files of the archive folder, by name.
  std::vector<std::u16string> archiveFolder() { return namesStartingWith(u"L:\\A\\Class Data", u""); }
};

ClassDataArchiveRequest acmeRequest(std::u16string tag = u"7") {
  ClassDataArchiveRequest request;
  request.folder = u"L:\\A\\Class Data";
  request.applicationPath = u"C:\\app\\app.exe";
  request.runtimeLibrary = u"C:\\jdk\\bin\\server\\jvm.dll";
  request.baseArchive = u"C:\\jdk\\bin\\server\\classes.jsa";
  request.classPath = {u"C:\\app\\lib\\a.jar", u"C:\\app\\lib\\missing.jar"};
  request.modulePath = {u"C:\\app\\mods\\m.jar"};
  request.vmOptions = {"-Djava.class.path=x", "-Xmx512m"};
  request.startTag = std::move(tag);
  return request;
}

FakeFiles acmeMachine() {
  FakeFiles files;
  files.entries[u"C:\\jdk\\bin\\server\\jvm.dll"] = {1000, 1};
  files.entries[u"C:\\jdk\\bin\\server\\classes.jsa"] = {2000, 1};
  files.entries[u"C:\\app\\lib\\a.jar"] = {300, 5};
  files.entries[u"C:\\app\\mods\\m.jar"] = {400, 5};
  return files;
}

std::u16string nameOf(const std::u16string& path) { return path.substr(path.rfind(u'\\') + 1); }

// The VM's end: it replaced the reserved file with its archive.
void vmWrites(FakeFiles& files, const ClassDataArchivePlan& plan) { files.entries[plan.written] = {4096, 9}; }

TEST(ClassDataArchive, RuntimeVersionsAndTheUsersOwnSharingOptions) {
  auto version = [](std::u16string_view text) {
    JavaVersion v;
    v.parse(text, 0);
    return v;
  };
  EXPECT_FALSE(runtimeWritesClassDataArchive(version(u"1.8.0_151")));
  EXPECT_FALSE(runtimeWritesClassDataArchive(version(u"12.0.2")));
  EXPECT_TRUE(runtimeWritesClassDataArchive(version(u"13")));
  EXPECT_TRUE(runtimeWritesClassDataArchive(version(u"17.0.2")));
  EXPECT_TRUE(runtimeWritesClassDataArchive(version(u"1.13")));

  for (const char* own : {"-Xshare:off", "-XX:SharedArchiveFile=x.jsa", "-XX:ArchiveClassesAtExit=y",
                          "-XX:+AutoCreateSharedArchive", "-XX:-UseSharedSpaces", "-XX:SharedClassListFile=l"}) {
    EXPECT_TRUE(optionsChooseClassSharing({"-Xmx1g", own})) << own;
  }
  EXPECT_FALSE(optionsChooseClassSharing({"-Xmx1g", "-XX:+UseSerialGC", "-Dshare=-Xshare:off", "-Xlog:cds"}));
}

TEST(ClassDataArchive, FolderUnderLocalAppDataFromTheProductSettings) {
  EXPECT_EQ(classDataArchiveFolder(u"L:", u"Acme: Tools", u"A1", u"C:\\app\\app.exe"), u"L:\\Acme Tools\\A1\\Class Data");
  EXPECT_EQ(classDataArchiveFolder(u"L:", u"Acme", u"", u"C:\\app\\app.exe"), u"L:\\Acme\\Class Data");
  // Without product settings the application's own name.
  EXPECT_EQ(classDataArchiveFolder(u"L:", u"", u"", u"C:\\app\\my.app.exe"), u"L:\\my.app\\Class Data");
  EXPECT_EQ(classDataArchiveFolder(u"", u"Acme", u"A1", u"C:\\app\\app.exe"), std::nullopt);
  EXPECT_EQ(classDataArchiveFolder(u"L:", u"..", u"A1", u"C:\\app\\app.exe"), std::nullopt);
  EXPECT_EQ(classDataArchiveFolder(u"L:", u"Acme", u". .", u"C:\\app\\app.exe"), std::nullopt);
}

// Whatever the archive was made of gives it another name: the old one is never used again.
TEST(ClassDataArchive, AnyChangeItWasMadeFromGivesANewArchiveAndRemovesTheOld) {
  struct Change {
    const char* what;
    void (*apply)(FakeFiles&, ClassDataArchiveRequest&);
  };
  const Change changes[] = {
      {"jar replaced", [](FakeFiles& f, ClassDataArchiveRequest&) { f.entries[u"C:\\app\\lib\\a.jar"].writeTime = 6; }},
      {"missing jar appears", [](FakeFiles& f, ClassDataArchiveRequest&) { f.entries[u"C:\\app\\lib\\missing.jar"] = {1, 1}; }},
      {"runtime updated", [](FakeFiles& f, ClassDataArchiveRequest&) { f.entries[u"C:\\jdk\\bin\\server\\jvm.dll"].size = 1001; }},
      {"runtime archive renewed", [](FakeFiles& f, ClassDataArchiveRequest&) { f.entries[u"C:\\jdk\\bin\\server\\classes.jsa"].writeTime = 2; }},
      {"class path entry added", [](FakeFiles&, ClassDataArchiveRequest& r) { r.classPath.push_back(u"C:\\app\\b.jar"); }},
      {"heap size", [](FakeFiles&, ClassDataArchiveRequest& r) { r.vmOptions.back() = "-Xmx40g"; }},
      {"module updated", [](FakeFiles& f, ClassDataArchiveRequest&) { f.entries[u"C:\\app\\mods\\m.jar"].writeTime = 6; }},
      {"module path entry added", [](FakeFiles&, ClassDataArchiveRequest& r) { r.modulePath.push_back(u"C:\\app\\b.jar"); }},
      {"jar moved to the module path", [](FakeFiles&, ClassDataArchiveRequest& r) {
         r.modulePath.insert(r.modulePath.begin(), r.classPath.front());
         r.classPath.erase(r.classPath.begin());
       }},
  };
  for (const Change& change : changes) {
    FakeFiles files = acmeMachine();
    ClassDataArchiveRequest request = acmeRequest();
    std::optional<ClassDataArchivePlan> old = planClassDataArchive(request, files);
    vmWrites(files, *old);
    ASSERT_TRUE(publishClassDataArchive(request, *old, files));
    files.entries[old->failedMark.substr(0, old->failedMark.size() - 7) + u".99.tmp"] = {};  // a killed start's

    change.apply(files, request);
    std::optional<ClassDataArchivePlan> renewed = planClassDataArchive(request, files);
    ASSERT_TRUE(renewed) << change.what;
    EXPECT_NE(renewed->archive, old->archive) << change.what;
    EXPECT_FALSE(renewed->written.empty()) << change.what;
    EXPECT_EQ(files.archiveFolder(), (std::vector<std::u16string>{nameOf(renewed->written)})) << change.what;
  }
  // Options that do not shape an archive keep it.
  FakeFiles files = acmeMachine();
  ClassDataArchiveRequest request = acmeRequest();
  std::optional<ClassDataArchivePlan> plan = planClassDataArchive(request, files);
  ClassDataArchiveRequest logging = acmeRequest(u"8");
  logging.vmOptions.push_back("-Xlog:class+load");
  logging.vmOptions.push_back("-Dtitle=x");
  std::optional<ClassDataArchivePlan> again = planClassDataArchive(logging, files);
  ASSERT_TRUE(again);
  EXPECT_EQ(again->archive, plan->archive);
}

// The VM wrote its archive, but a jar changed while the program ran: the archive may hold the
// old classes under the new name, so it is dropped.
TEST(ClassDataArchive, ChangeDuringTheRunIsNeverPublished) {
  FakeFiles files = acmeMachine();
  ClassDataArchiveRequest request = acmeRequest();
  std::optional<ClassDataArchivePlan> plan = planClassDataArchive(request, files);
  vmWrites(files, *plan);
  files.entries[u"C:\\app\\lib\\a.jar"].size = 301;
  EXPECT_FALSE(publishClassDataArchive(request, *plan, files));
  EXPECT_TRUE(files.archiveFolder().empty());
}

TEST(ClassDataArchive, NoArchiveWithoutTheRuntimesOwnOrWithAFolderOnTheClassPath) {
  {
    FakeFiles files = acmeMachine();
    files.entries.erase(u"C:\\jdk\\bin\\server\\classes.jsa");
    EXPECT_FALSE(planClassDataArchive(acmeRequest(), files));
  }
  {
    FakeFiles files = acmeMachine();
    files.entries[u"C:\\app\\classes"] = {0, 0, true};
    ClassDataArchiveRequest request = acmeRequest();
    request.classPath.push_back(u"C:\\app\\classes");
    EXPECT_FALSE(planClassDataArchive(request, files));
    EXPECT_TRUE(files.archiveFolder().empty());
  }
}

// An abort that had nothing to do with the archive (the program's own crash) costs one attempt:
// the next start writes again, and its published archive clears the note. Only two aborts in
// a row give up on the name.
TEST(ClassDataArchive, OneAbortIsForgivenTwoInARowGiveUp) {
  FakeFiles files = acmeMachine();
  std::optional<ClassDataArchivePlan> crashed = planClassDataArchive(acmeRequest(u"1"), files);
  abandonClassDataArchive(*crashed, files);
  EXPECT_EQ(files.archiveFolder(), (std::vector<std::u16string>{nameOf(crashed->abortedMark)}));
  std::optional<ClassDataArchivePlan> retried = planClassDataArchive(acmeRequest(u"2"), files);
  ASSERT_TRUE(retried && !retried->written.empty());
  vmWrites(files, *retried);
  ASSERT_TRUE(publishClassDataArchive(acmeRequest(u"2"), *retried, files));
  EXPECT_EQ(files.archiveFolder(), (std::vector<std::u16string>{nameOf(retried->archive)}));

  FakeFiles other = acmeMachine();
  for (const char16_t* tag : {u"1", u"2"}) {
    std::optional<ClassDataArchivePlan> plan = planClassDataArchive(acmeRequest(tag), other);
    ASSERT_TRUE(plan) << "attempt " << (tag[0] - u'0');
    abandonClassDataArchive(*plan, other);
  }
  EXPECT_FALSE(planClassDataArchive(acmeRequest(u"3"), other));
  ASSERT_EQ(other.archiveFolder().size(), 1u);
  EXPECT_TRUE(other.archiveFolder()[0].ends_with(u".failed"));
}

}  // namespace
}  // namespace launcher
