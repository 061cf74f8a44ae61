#include "runtime/runtime_search.h"

#include <gtest/gtest.h>

#include "base/trace.h"
#include "fake_runtime_environment.h"
#include "settings/launcher_settings.h"

namespace launcher {
namespace {

std::string shown(std::u16string_view text) { return std::string(text.begin(), text.end()); }

TEST(FindJvmDll, ProbeOrderFollowsTheJvmType) {
  struct Case {
    std::initializer_list<std::u16string_view> vms;
    JvmType jvmType;
    std::u16string_view found;  // empty: none
  };
  constexpr JvmType any = JvmType::any, server = JvmType::server, favor = JvmType::favorServer;
  const Case cases[] = {
      {{u"client", u"server"}, any, u"client"},   {{u"client", u"server"}, server, u"server"},
      {{u"client", u"server"}, favor, u"server"},   {{u"client"}, server, u""},
      {{u"client"}, favor, u"client"},              {{u"hotspot", u"server"}, any, u"hotspot"},
      {{u"classic", u"hotspot"}, any, u"classic"}, {{u"server", u"jrockit"}, any, u"server"},
      {{u"jrockit"}, favor, u"jrockit"},            {{u"jrockit"}, server, u""},
      {{}, any, u""},
  };
  for (const Case& c : cases) {
    FakeRuntimeEnvironment machine;
    machine.install(u"C:\\jre\\", c.vms);
    JvmDllProbe probe = findJvmDll(machine, u"C:\\jre\\", c.jvmType);
    std::u16string expected = c.found.empty() ? u"" : u"C:\\jre\\bin\\" + std::u16string(c.found) + u"\\jvm.dll";
    EXPECT_EQ(probe.path, expected) << "type " << static_cast<int>(c.jvmType) << ", expected " << shown(c.found);
    EXPECT_EQ(probe.isServer, c.found == u"server") << "type " << static_cast<int>(c.jvmType);
  }
}

TEST(FindBesideLauncher, TheFolderItselfBeforeItsJreSubfolder) {
  FakeRuntimeEnvironment machine;
  machine.files = {u"C:\\app\\jre\\bin\\java.dll", u"bin\\java.dll"};
  EXPECT_EQ(findBesideLauncher(machine, u"C:\\app\\"), u"C:\\app\\jre\\");
  machine.files.insert(u"C:\\app\\bin\\java.dll");
  EXPECT_EQ(findBesideLauncher(machine, u"C:\\app\\"), u"C:\\app\\");
  // The current directory's runtime is not the launcher's.
  EXPECT_EQ(findBesideLauncher(machine, u"C:\\other\\"), std::nullopt);
  EXPECT_EQ(findBesideLauncher(machine, u""), std::nullopt);
}

TEST(VersionRange, BoundsAsReadFromTheSettings) {
  struct Case {
    std::u16string_view minimum, maximum, subkey;
    bool accepted;
  };
  const Case cases[] = {
      {u"1.8.0_100", u"", u"1.8", false},  // 1.8.0.0, whatever installation it names
      {u"1.8.0_100", u"", u"1.8.0_151", true},
      {u"", u"", u"11.0.2", true},  // no maximum at all, as the range text says
      {u"", u"Any", u"17.0.1", true},  // no digit: as absent
      {u"", u"any", u"99999.1", true},
      {u"", u"1.8", u"1.8.0_151", true},
      {u"", u"1.8", u"11.0.2", false},
      {u"", u"1.8.0", u"1.8.0_151", true},
      {u"", u"0", u"1.8", false},  // holds a digit, so it bounds
      {u"11", u"", u"JRE", false},  // a digit-less name reads as 0.0.0.0
      {u"", u"", u"JRE", true},
  };
  for (const Case& c : cases) {
    RuntimeCriteria settings;
    settings.minimumVersion = minimumVersionFrom(c.minimum);
    settings.maximumVersion = maximumVersionFrom(c.maximum);
    JavaVersion version;
    version.parse(c.subkey, 0);
    EXPECT_EQ(isWithinVersionRange(version, settings), c.accepted)
        << shown(c.minimum) << " .. " << shown(c.maximum) << ": " << shown(c.subkey);
  }
}

RuntimeCriteria settingsFor(std::u16string_view jvmSource, std::u16string_view vmProvider,
                            JvmType jvmType = JvmType::any) {
  RuntimeCriteria settings;
  applyJvmSource(jvmSource, settings);
  applyVmProvider(vmProvider, settings);
  settings.jvmType = jvmType;
  return settings;
}

TEST(RegistryKeys, SearchedByKindAndVendor) {
  struct Case {
    std::u16string_view source, provider;
    std::string searched;  // one digit per key, in search order
  };
  const Case cases[] = {
      {u"", u"", "1111000"},          {u"favor_JRE", u"", "1111000"},
      {u"only_JRE", u"", "0101000"},  {u"only_JDK", u"", "1010000"},
      {u"", u"jrockit", "0000110"},   {u"", u"IBM", "0000001"},
      {u"", u"any", "1111111"},       {u"only_JRE", u"favor_jrockit", "0101101"},
      {u"JRE", u"", "0000000"},       {u"JRE", u"any", "0000000"},
  };
  for (const Case& c : cases) {
    RuntimeCriteria settings = settingsFor(c.source, c.provider);
    std::string searched;
    for (const RegisteredRuntimeKey& key : kRegisteredRuntimeKeys) searched += isKeySearched(key, settings) ? '1' : '0';
    EXPECT_EQ(searched, c.searched) << shown(c.source) << " / " << shown(c.provider);
  }
  FakeRuntimeEnvironment machine;
  EXPECT_EQ(searchRegistry(machine, settingsFor(u"JRE", u"any"), RegistryView::defaultView), std::nullopt);
  EXPECT_TRUE(machine.listedKeys.empty());
}

struct Registration {
  int key;
  std::u16string_view name, javaHome;
  std::initializer_list<std::u16string_view> vms = {u"client"};
};

void registerAll(FakeRuntimeEnvironment& machine, std::initializer_list<Registration> registrations) {
  for (const Registration& r : registrations) {
    machine.registerRuntime(r.key, r.name, r.javaHome);
    std::u16string home = r.javaHome.empty() ? u"" : std::u16string(r.javaHome) + u"\\";
    machine.install(home + std::u16string(kRegisteredRuntimeKeys.at(static_cast<size_t>(r.key - 1)).homeSuffix), r.vms);
  }
}

TEST(SearchRegistry, ChoosesByKindVendorFlavourAndVersion) {
  struct Case {
    const char* what;
    RuntimeCriteria settings;
    std::initializer_list<Registration> registered;
    std::optional<std::u16string> home;
  };
  const Case cases[] = {
      {"favoured JDK over newer JRE, in the JDK's jre folder", settingsFor(u"favor_JDK", u""),
       {{3, u"1.7", u"C:\\jdk7"}, {4, u"1.8", u"C:\\jre8"}}, u"C:\\jdk7\\jre\\"},
      {"favoured JRE over newer JDK", settingsFor(u"favor_JRE", u""),
       {{1, u"11", u"C:\\jdk11"}, {2, u"1.7", u"C:\\jre7"}}, u"C:\\jre7\\"},
      {"favoured vendor", settingsFor(u"", u"favor_jrockit"),
       {{2, u"1.8", u"C:\\sun8"}, {5, u"1.6", u"C:\\jrockit6"}}, u"C:\\jrockit6\\"},
      {"a favoured vendor counts only with a favoured kind", settingsFor(u"only_JRE", u"favor_jrockit"),
       {{5, u"1.6", u"C:\\jrockit6"}, {2, u"1.8", u"C:\\sun8"}}, u"C:\\sun8\\"},
      {"vendor not accepted", settingsFor(u"", u""), {{7, u"1.8", u"C:\\ibm8"}}, std::nullopt},
      {"server-only: a client VM does not qualify", settingsFor(u"", u"", JvmType::server),
       {{2, u"1.8", u"C:\\jre8"}}, std::nullopt},
      {"favoured server VM over newer client VM", settingsFor(u"", u"", JvmType::favorServer),
       {{2, u"1.8.0_200", u"C:\\c"}, {2, u"1.8.0_100", u"C:\\s", {u"server"}}}, u"C:\\s\\"},
      {"Sun JRE key probes client first under favor_server", settingsFor(u"", u"", JvmType::favorServer),
       {{4, u"1.8.0_200", u"C:\\both", {u"client", u"server"}}, {2, u"1.8.0_100", u"C:\\s", {u"server"}}},
       u"C:\\s\\"},
      {"stale registrations are skipped", settingsFor(u"", u""),
       {{2, u"11", u"C:\\removed", {}}, {2, u"10", u""}, {2, u"1.8", u"C:\\jre8"}}, u"C:\\jre8\\"},
  };
  for (const Case& c : cases) {
    FakeRuntimeEnvironment machine;
    registerAll(machine, c.registered);
    EXPECT_EQ(searchRegistry(machine, c.settings, RegistryView::defaultView), c.home) << c.what;
  }
}

TEST(ScanRegistryKey, EverySubkeyOfOneInstallationIsACandidate) {
  FakeRuntimeEnvironment machine;
  registerAll(machine, {{4, u"1.8", u"C:\\jre8"}, {4, u"1.8.0_151", u"C:\\jre8"}, {4, u"1.7", u"C:\\jre7"}});
  RuntimeCriteria settings;
  settings.minimumVersion = minimumVersionFrom(u"1.8");
  std::vector<JvmCandidate> candidates;
  scanRegistryKey(machine, kRegisteredRuntimeKeys[3], RegistryView::defaultView, settings, candidates);
  ASSERT_EQ(candidates.size(), 2u);
  EXPECT_TRUE(candidates[0].favored);
  orderCandidates(candidates, settings);
  EXPECT_EQ(JavaVersion::toString(candidates[0].version), u"1.8.0.151");
  EXPECT_EQ(candidates[1].home, candidates[0].home);
}

JvmCandidate candidate(std::u16string_view version, std::u16string_view home, bool isServer = false,
                       bool favored = false) {
  JvmCandidate c;
  c.version.parse(version, 0);
  c.home = home;
  c.isServer = isServer;
  c.favored = favored;
  return c;
}

TEST(OrderCandidates, KeysCountOnlyWhenTheSettingsAskAndEqualsKeepTheirOrder) {
  const std::vector<JvmCandidate> found = {
      candidate(u"1.7", u"a", false, true), candidate(u"1.8", u"b"), candidate(u"1.8", u"c", true),
      candidate(u"1.8", u"d"),             candidate(u"1.6", u"e", true, true),
  };
  struct Case {
    bool sourceFavored;
    JvmType jvmType;
    std::u16string order;
  };
  const Case cases[] = {{false, JvmType::any, u"bcdae"},
                        {true, JvmType::any, u"aebcd"},
                        {false, JvmType::favorServer, u"cebda"},
                        {true, JvmType::favorServer, u"eacbd"}};
  for (const Case& c : cases) {
    RuntimeCriteria settings;
    settings.sourceFavored = c.sourceFavored;
    settings.jvmType = c.jvmType;
    std::vector<JvmCandidate> candidates = found;
    orderCandidates(candidates, settings);
    std::u16string order;
    for (const JvmCandidate& candidate : candidates) order += candidate.home;
    EXPECT_EQ(order, c.order) << c.sourceFavored << " " << static_cast<int>(c.jvmType);
  }
}

TEST(PickCandidate, FirstPreferredVersionThatAnyCandidateMatches) {
  struct Case {
    std::vector<std::u16string> preferred;
    std::vector<JvmCandidate> candidates;
    std::u16string_view chosen;
  };
  const Case cases[] = {
      {{u"1.7", u"1.8"}, {candidate(u"1.8.0_151", u"8"), candidate(u"1.7.0_80", u"7")}, u"7"},
      {{u"1.7", u"1.8"}, {candidate(u"1.8.0_60", u"8a"), candidate(u"11", u"11"), candidate(u"1.8.0_151", u"8b")}, u"8b"},
      {{u"1.7", u"1.8"}, {candidate(u"1.6", u"6"), candidate(u"11", u"11")}, u"11"},
      {{u""}, {candidate(u"1.6", u"6"), candidate(u"11", u"11")}, u"11"},  // an empty entry matches all
      {{}, {candidate(u"1.6", u"6"), candidate(u"17.0.2", u"17")}, u"17"},
  };
  for (const Case& c : cases) {
    RuntimeCriteria settings;
    settings.preferredVersions = c.preferred;
    std::vector<JvmCandidate> candidates = c.candidates;
    std::optional<JvmCandidate> chosen = pickCandidate(candidates, settings);
    ASSERT_TRUE(chosen);
    EXPECT_EQ(chosen->home, c.chosen);
  }
  std::vector<JvmCandidate> none;
  EXPECT_EQ(pickCandidate(none, RuntimeCriteria{}), std::nullopt);
}

TEST(LocateRuntimeStages, FirstSourceWithAJvmDllDecides) {
  struct Case {
    const char* what;
    std::u16string_view jrePath;
    std::u16string_view launcherFolder;
    RuntimeSource source;
    std::u16string_view jvmDllPath;
  };
  const Case cases[] = {
      {"JRE Path", u"D:\\shipped", u"C:\\app\\", RuntimeSource::jrePath, u"D:\\shipped\\bin\\client\\jvm.dll"},
      {"JRE Path with backslash", u"D:\\shipped\\", u"C:\\app\\", RuntimeSource::jrePath,
       u"D:\\shipped\\bin\\client\\jvm.dll"},
      {"JRE Path without a runtime", u"D:\\empty", u"C:\\app\\", RuntimeSource::besideLauncher,
       u"C:\\app\\jre\\bin\\client\\jvm.dll"},
      {"beside the launcher", u"", u"C:\\app\\", RuntimeSource::besideLauncher,
       u"C:\\app\\jre\\bin\\client\\jvm.dll"},
      {"java.dll without jvm.dll beside", u"", u"C:\\bare\\", RuntimeSource::registry,
       u"C:\\jre8\\bin\\client\\jvm.dll"},
      {"launcher folder unknown", u"", u"", RuntimeSource::registry, u"C:\\jre8\\bin\\client\\jvm.dll"},
  };
  for (const Case& c : cases) {
    FakeRuntimeEnvironment machine;
    // Relative probes would find these: an empty "JRE Path" must not become the drive's root.
    machine.install(u"\\", {u"client"});
    machine.install(u"", {u"client"});
    machine.install(u"D:\\shipped\\", {u"client"});
    machine.files.insert(u"D:\\empty\\bin\\java.dll");
    machine.files.insert(u"C:\\app\\jre\\bin\\java.dll");
    machine.install(u"C:\\app\\jre\\", {u"client"});
    machine.files.insert(u"C:\\bare\\bin\\java.dll");
    registerAll(machine, {{2, u"1.8", u"C:\\jre8"}});
    RuntimeCriteria settings;
    settings.jrePath = c.jrePath;
    RuntimeLocation location = locateRuntimeStages(machine, settings, c.launcherFolder);
    EXPECT_EQ(location.source, c.source) << c.what;
    EXPECT_EQ(location.jvmDllPath, c.jvmDllPath) << c.what;
  }
}

TEST(LocateRuntimeStages, SixtyFourBitRegistrationsOnlyWithACompanion) {
  FakeRuntimeEnvironment machine;
  machine.registerRuntime(2, u"17.0.2", u"C:\\jdk17", RegistryView::view64);
  machine.install(u"C:\\jdk17\\", {u"client", u"server"});
  RuntimeCriteria settings;
  settings.jvmType = JvmType::favorServer;
  EXPECT_EQ(locateRuntimeStages(machine, settings, u"C:\\app\\").source, RuntimeSource::none);
  settings.withCompanion = true;
  RuntimeLocation location = locateRuntimeStages(machine, settings, u"C:\\app\\");
  EXPECT_EQ(location.source, RuntimeSource::registry64);
  EXPECT_EQ(location.jvmDllPath, u"C:\\jdk17\\bin\\server\\jvm.dll");
  // A runtime in the default view is preferred, whatever its version.
  registerAll(machine, {{2, u"1.8", u"C:\\jre8"}});
  EXPECT_EQ(locateRuntimeStages(machine, settings, u"C:\\app\\").source, RuntimeSource::registry);
}

TEST(LocateRuntimeStages, ARegisteredRuntimeComesWithItsVendor) {
  FakeRuntimeEnvironment machine;
  registerAll(machine, {{7, u"1.8", u"C:\\ibm8"}});
  RuntimeCriteria criteria;
  applyVmProvider(u"any", criteria);
  RuntimeLocation location = locateRuntimeStages(machine, criteria, u"");
  EXPECT_EQ(location.vendor, RuntimeVendor::ibm);
  EXPECT_EQ(JavaVersion::toString(*location.version), u"1.8");
  registerAll(machine, {{2, u"11", u"C:\\jre11"}});
  EXPECT_EQ(locateRuntimeStages(machine, criteria, u"").vendor, RuntimeVendor::sun);
  // A runtime named by path has no registration to say whose or which it is.
  criteria.jrePath = u"C:\\jre11";
  EXPECT_EQ(locateRuntimeStages(machine, criteria, u"").vendor, std::nullopt);
  EXPECT_EQ(locateRuntimeStages(machine, criteria, u"").version, std::nullopt);
}

TEST(LocateRuntimeStages, SunJreKeyLoadsTheServerVmItRankedAsClientUnderFavorServer) {
  FakeRuntimeEnvironment machine;
  registerAll(machine, {{4, u"1.8", u"C:\\jre8", {u"client", u"server"}}});
  RuntimeCriteria settings;
  settings.jvmType = JvmType::favorServer;
  EXPECT_EQ(locateRuntimeStages(machine, settings, u"").jvmDllPath, u"C:\\jre8\\bin\\server\\jvm.dll");
  settings.jvmType = JvmType::server;
  machine.files.erase(u"C:\\jre8\\bin\\server\\jvm.dll");
  EXPECT_EQ(locateRuntimeStages(machine, settings, u"").source, RuntimeSource::none);
}

}  // namespace
}  // namespace launcher

namespace launcher {
namespace {

struct TraceLines : TraceOutput {
  void writeLine(std::string_view line) override { lines += std::string(line) + "\n"; }
  std::string lines;
};

// A machine where every stage offers a runtime whose jvm.dll is built for ARM64, and one more
// registration of each stage's kind that this build can start.
class MachineCheck : public ::testing::Test {
 protected:
  void arm64(std::u16string_view jvmDll) { machine_.machines[std::u16string(jvmDll)] = kMachineArm64; }

  RuntimeLocation locate(std::string* trace = nullptr) {
    TraceLines recorded;
    setTraceOutput(&recorded);
    RuntimeLocation location = locateRuntimeStages(machine_, criteria_, u"C:\\app\\");
    setTraceOutput(nullptr);
    if (trace) *trace = recorded.lines;
    return location;
  }

  FakeRuntimeEnvironment machine_;
  RuntimeCriteria criteria_;
};

TEST_F(MachineCheck, ANewerRegisteredRuntimeOfAnotherMachineLosesToAnOlderOneThatLoads) {
  registerAll(machine_, {{2, u"21", u"C:\\arm21"}, {2, u"17", u"C:\\x17"}});
  arm64(u"C:\\arm21\\bin\\client\\jvm.dll");
  std::string trace;
  RuntimeLocation location = locate(&trace);
  EXPECT_EQ(location.source, RuntimeSource::registry);
  EXPECT_EQ(location.jvmDllPath, u"C:\\x17\\bin\\client\\jvm.dll");
  EXPECT_NE(trace.find("JRE\\21 (default view): version 21.0 (from key name), JRE, Sun, home \"C:\\arm21\\\": "
                       "passed over: its jvm.dll is built for ARM64\n"),
            std::string::npos)
      << trace;

  // Alone, it is no runtime at all: the user is asked, as when nothing is installed.
  machine_.machines[u"C:\\x17\\bin\\client\\jvm.dll"] = std::nullopt;  // a damaged header
  EXPECT_EQ(locate(&trace).source, RuntimeSource::none);
  EXPECT_NE(trace.find("home \"C:\\x17\\\": passed over: its jvm.dll is not a complete module"), std::string::npos)
      << trace;
}

TEST_F(MachineCheck, EveryStagePassesOverAForeignJvmDllAndTheNextStageWins) {
  machine_.install(u"D:\\named\\", {u"client"});
  arm64(u"D:\\named\\bin\\client\\jvm.dll");
  machine_.files.insert(u"C:\\app\\jre\\bin\\java.dll");
  machine_.install(u"C:\\app\\jre\\", {u"client"});
  machine_.machines[u"C:\\app\\jre\\bin\\client\\jvm.dll"] = kMachineIa64;
  machine_.install(u"D:\\home\\", {u"client"});
  machine_.machines[u"D:\\home\\bin\\client\\jvm.dll"] = kCompanionMachine;
  registerAll(machine_, {{2, u"1.8", u"C:\\jre8"}});
  criteria_.jrePath = u"D:\\named";
  criteria_.useJavaHome = true;
  machine_.javaHome = u"D:\\home";

  std::string trace;
  RuntimeLocation location = locate(&trace);
  EXPECT_EQ(location.source, RuntimeSource::registry);
  for (const char* expected : {
           "\"JRE Path\" \"D:\\named\": passed over: its jvm.dll is built for ARM64\n",
           "beside the launcher \"C:\\app\\jre\\\": passed over: its jvm.dll is built for IA-64\n",
           ": passed over: its jvm.dll is built for x86, which only a companion could start\n",
       }) {
    EXPECT_NE(trace.find(expected), std::string::npos) << expected << "\n in:\n" << trace;
  }
  // The companion's machine counts where a companion may start.
  criteria_.withCompanion = true;
  EXPECT_EQ(locate().source, RuntimeSource::javaHome);
  // Another flavour of the same home may still load.
  machine_.install(u"D:\\named\\", {u"server"});
  criteria_.jvmType = JvmType::favorServer;
  machine_.machines[u"D:\\named\\bin\\server\\jvm.dll"] = kMachineArm64;
  EXPECT_EQ(locate().source, RuntimeSource::javaHome);
  machine_.machines.erase(u"D:\\named\\bin\\server\\jvm.dll");
  EXPECT_EQ(locate().jvmDllPath, u"D:\\named\\bin\\server\\jvm.dll");
}

TEST(MachineName, KnownMachinesByNameOthersByNumber) {
  EXPECT_EQ(machineName(kMachineArm64), u"ARM64");
  EXPECT_EQ(machineName(kMachineX64), u"x64");
  EXPECT_EQ(machineName(0x01C0), u"machine 0x01C0");
}

}  // namespace
}  // namespace launcher
