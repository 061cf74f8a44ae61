#include "jvm/class_data_archive.h"

#include <gtest/gtest.h>

#include <algorithm>
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
  // Files a running process holds open: they cannot be removed.
  std::vector<std::u16string> held;
  void remove(std::u16string_view path) override {
    if (std::find(held.begin(), held.end(), path) == held.end()) entries.erase(std::u16string(path));
  }
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

ClassDataArchiveRequest cacheRequest(std::u16string tag = u"7") {
  ClassDataArchiveRequest request = acmeRequest(std::move(tag));
  request.aheadOfTime = true;
  request.javaCommand = u"C:\\jdk\\bin\\java.exe";
  request.vmOptions = {"-Djava.class.path=x", "-Xmx512m", "-XX:+UseSerialGC", "-Dcolour=blue"};
  request.classPath = {u"C:\\app\\lib\\a.jar", u"C:\\app\\lib b\\c.jar"};
  return request;
}

// The assembly's end: it wrote the cache and let go of its log.
void assemblyWrites(FakeFiles& files, const ClassDataArchivePlan& plan) {
  files.entries[plan.assembled] = {8192, 11};
  files.entries[plan.assemblyLog] = {80, 11};
}

TEST(AheadOfTimeCache, TheChoiceByRuntimeVersionAndJavaCommand) {
  auto choose = [](std::u16string_view text, bool java) {
    JavaVersion v;
    v.parse(text, 0);
    return chooseClassData(v, java).kind;
  };
  EXPECT_EQ(chooseClassData(std::nullopt, true).kind, ClassDataKind::none);
  EXPECT_EQ(choose(u"12.0.2", true), ClassDataKind::none);
  EXPECT_EQ(choose(u"17.0.2", true), ClassDataKind::dynamicArchive);
  EXPECT_EQ(choose(u"24.0.1", true), ClassDataKind::dynamicArchive);
  EXPECT_EQ(choose(u"25", true), ClassDataKind::aheadOfTimeCache);
  EXPECT_EQ(choose(u"26.0.1", true), ClassDataKind::aheadOfTimeCache);
  // A runtime image made without its native commands has no java to assemble the cache with.
  EXPECT_EQ(choose(u"25", false), ClassDataKind::dynamicArchive);
  EXPECT_TRUE(optionsChooseClassSharing({"-XX:AOTConfiguration=C:\\mine.aotconf"}));
  EXPECT_TRUE(optionsChooseClassSharing({"-XX:AOTCacheOutput=C:\\mine.aot"}));
}

TEST(AheadOfTimeCache, TheRecordingNoticeAloneIsKeptFromTheProgramsStream) {
  EXPECT_TRUE(isCacheRecordingNotice(" AOTConfiguration recorded: C:\\x.aotconf\n"));
  EXPECT_TRUE(isCacheRecordingNotice("Temporary AOTConfiguration recorded: C:\\x.aotconf\n"));
  EXPECT_FALSE(isCacheRecordingNotice("AOTConfiguration recorded by the program itself\n"));
  EXPECT_FALSE(isCacheRecordingNotice("hello\n"));
  EXPECT_FALSE(isCacheRecordingNotice(""));
}

TEST(AheadOfTimeCache, FirstStartRecordsTheAssemblyRunsAfterItAndTheNextStartPublishesAndMapsIt) {
  FakeFiles files = acmeMachine();
  ClassDataArchiveRequest request = cacheRequest();
  std::optional<ClassDataArchivePlan> first = planClassDataArchive(request, files);
  ASSERT_TRUE(first);
  EXPECT_EQ(first->options, (std::vector<std::u16string>{u"-Xlog:cds*=off", u"-Xlog:aot*=off", u"-XX:AOTMode=record",
                                                         u"-XX:AOTConfiguration=" + first->written}));
  EXPECT_TRUE(first->written.ends_with(u".7.aotconf"));
  EXPECT_TRUE(first->archive.ends_with(u".aot"));

  // Nothing recorded (the VM ended before writing): no assembly, and the reserved file goes.
  ClassDataArchivePlan copy = *first;
  EXPECT_FALSE(cacheAssemblyCommand(request, copy, files));
  EXPECT_FALSE(files.stamp(first->written));
  files.entries[first->written] = {5000, 9};

  std::optional<std::vector<std::u16string>> command = cacheAssemblyCommand(request, *first, files);
  ASSERT_TRUE(command);
  EXPECT_EQ(*command, (std::vector<std::u16string>{u"C:\\jdk\\bin\\java.exe", u"-XX:AOTMode=create",
                                                   u"-XX:AOTConfiguration=" + first->written,
                                                   u"-XX:AOTCache=" + first->assembled, u"-Xmx512m",
                                                   u"-XX:+UseSerialGC", u"-cp",
                                                   u"C:\\app\\lib\\a.jar;C:\\app\\lib b\\c.jar"}));

  // While the assembly runs, a start runs as usual and records nothing more.
  files.entries[first->assemblyLog] = {0, 10};
  files.held = {first->assemblyLog};
  EXPECT_FALSE(planClassDataArchive(cacheRequest(u"8"), files));
  files.held.clear();

  assemblyWrites(files, *first);
  std::optional<ClassDataArchivePlan> second = planClassDataArchive(cacheRequest(u"8"), files);
  ASSERT_TRUE(second);
  EXPECT_EQ(second->options,
            (std::vector<std::u16string>{u"-Xlog:cds*=off", u"-Xlog:aot*=off", u"-XX:AOTCache=" + first->archive}));
  EXPECT_TRUE(second->written.empty());
  EXPECT_EQ(files.archiveFolder(), std::vector<std::u16string>{nameOf(first->archive)});
}

TEST(AheadOfTimeCache, AChangedJarOrAnUnusableRecordingNeverReachesTheAssembly) {
  FakeFiles files = acmeMachine();
  ClassDataArchiveRequest request = cacheRequest();
  std::optional<ClassDataArchivePlan> plan = planClassDataArchive(request, files);
  ASSERT_TRUE(plan);
  files.entries[plan->written] = {5000, 9};
  files.entries[u"C:\\app\\lib\\a.jar"] = {301, 6};
  EXPECT_FALSE(cacheAssemblyCommand(request, *plan, files));
  EXPECT_FALSE(files.stamp(plan->written));

  // An option the ANSI code page gave the VM cannot be handed on as the same text.
  request.vmOptions.push_back("-XX:ErrorFile=C:\\\xe9t\xe9.log");
  std::optional<ClassDataArchivePlan> again = planClassDataArchive(request, files);
  ASSERT_TRUE(again);
  files.entries[again->written] = {5000, 9};
  EXPECT_FALSE(cacheAssemblyCommand(request, *again, files));
}

// Two first starts at once each record and assemble; the next start publishes one and clears both.
TEST(AheadOfTimeCache, TwoFirstStartsLeaveOneCacheAndAFailingAssemblyIsTriedTwice) {
  FakeFiles files = acmeMachine();
  std::optional<ClassDataArchivePlan> a = planClassDataArchive(cacheRequest(u"1"), files);
  std::optional<ClassDataArchivePlan> b = planClassDataArchive(cacheRequest(u"2"), files);
  ASSERT_TRUE(a && b);
  EXPECT_NE(a->written, b->written);
  assemblyWrites(files, *a);
  assemblyWrites(files, *b);
  ASSERT_TRUE(planClassDataArchive(cacheRequest(u"3"), files));
  EXPECT_EQ(files.archiveFolder(), std::vector<std::u16string>{nameOf(a->archive)});

  // A cache that no longer matches is removed with the first start of the new name; assemblies
  // that end without a cache count as failures.
  files.entries[u"C:\\app\\lib\\a.jar"] = {302, 7};
  for (std::u16string tag : {u"4", u"5"}) {
    std::optional<ClassDataArchivePlan> plan = planClassDataArchive(cacheRequest(tag), files);
    ASSERT_TRUE(plan);
    EXPECT_FALSE(files.stamp(a->archive));
    files.entries[plan->assemblyLog] = {80, 12};
  }
  EXPECT_FALSE(planClassDataArchive(cacheRequest(u"6"), files));
  ASSERT_EQ(files.archiveFolder().size(), 1u);
  EXPECT_TRUE(files.archiveFolder()[0].ends_with(u".failed"));
}

TEST(AheadOfTimeCache, TheCommandLineSplitsBackIntoTheSameArguments) {
  EXPECT_EQ(commandLineOf({u"C:\\Program Files\\jdk\\bin\\java.exe", u"-cp", u"C:\\a b\\x.jar;C:\\y\\"}),
            u"\"C:\\Program Files\\jdk\\bin\\java.exe\" -cp \"C:\\a b\\x.jar;C:\\y\\\\\"");
  EXPECT_EQ(commandLineOf({u"java", u"", u"-Dq=say \"hi\"", u"a\\\\\"b", u"C:\\plain\\"}),
            u"java \"\" \"-Dq=say \\\"hi\\\"\" \"a\\\\\\\\\\\"b\" C:\\plain\\");
}

}  // namespace
}  // namespace launcher
