// The opt-in sources of the runtime search: today's distributions' registry keys and JAVA_HOME,
// and the trace lines the search writes.
#include <gtest/gtest.h>

#include "base/text.h"
#include "base/trace.h"
#include "fake_runtime_environment.h"
#include "runtime/runtime_search.h"
#include "settings/launcher_settings.h"

namespace launcher {
namespace {

constexpr RegistryRoot hklm = RegistryRoot::localMachine, hkcu = RegistryRoot::currentUser;
constexpr RegistryView own = RegistryView::defaultView, wide = RegistryView::view64;

// A runtime at `home` (no closing backslash) with a client VM, registered under `keyPath` (the key
// holding the value) as `valueName`.
void registerVendor(FakeRuntimeEnvironment& machine, std::u16string_view keyPath, std::u16string_view valueName,
                    std::u16string_view home, RegistryRoot root = hklm, RegistryView view = own,
                    std::initializer_list<std::u16string_view> vms = {u"client"}) {
  machine.setValue(root, view, keyPath, valueName, home);
  machine.install(std::u16string(home) + u"\\", vms);
}

RuntimeCriteria vendorSearch(std::u16string_view jvmSource = u"", std::u16string_view vmProvider = u"") {
  RuntimeCriteria criteria;
  applyJvmSource(jvmSource, criteria);
  applyVmProvider(vmProvider, criteria);
  criteria.searchVendorKeys = true;
  return criteria;
}

std::string shown(const std::optional<JvmCandidate>& c) {
  if (!c) return "nothing";
  std::u16string text = c->home + u" " + JavaVersion::toString(c->version);
  return std::string(text.begin(), text.end());
}

TEST(VendorKeys, EachLayoutFoundWithItsVersion) {
  struct Case {
    std::u16string_view keyPath, valueName;
    RegistryRoot root;
    std::string_view release;  // of the runtime's folder; empty: none
    std::string_view found;    // "home version"
  };
  const Case cases[] = {
      {u"SOFTWARE\\Eclipse Adoptium\\JDK\\17.0.9.9\\hotspot\\MSI", u"Path", hklm, "", "C:\\rt\\ 17.0.9.9"},
      {u"SOFTWARE\\Eclipse Adoptium\\JRE\\11.0.21.9\\hotspot\\MSI", u"Path", hkcu, "", "C:\\rt\\ 11.0.21.9"},
      {u"SOFTWARE\\AdoptOpenJDK\\JDK\\8.0.292.10\\hotspot\\MSI", u"Path", hklm, "", "C:\\rt\\ 8.0.292.10"},
      {u"SOFTWARE\\Eclipse Foundation\\JDK\\16.0.1.9\\hotspot\\MSI", u"Path", hkcu, "", "C:\\rt\\ 16.0.1.9"},
      {u"SOFTWARE\\Microsoft\\JDK\\21.0.1.12\\hotspot\\MSI", u"Path", hklm, "", "C:\\rt\\ 21.0.1.12"},
      {u"SOFTWARE\\Azul Systems\\Zulu\\zulu-17", u"InstallationPath", hklm, "JAVA_VERSION=\"17.0.9\"\n",
       "C:\\rt\\ 17.0.9"},
      {u"SOFTWARE\\Azul Systems\\Zulu\\zulu-11", u"InstallationPath", hkcu, "IMPLEMENTOR=\"Azul\"\n", "C:\\rt\\ 11.0"},
      // A value that is not a key this layout registers.
      {u"SOFTWARE\\Microsoft\\JDK\\21.0.1.12\\openj9\\MSI", u"Path", hklm, "", "nothing"},
      {u"SOFTWARE\\Eclipse Adoptium\\JDK\\17.0.9.9\\hotspot\\MSI", u"JavaHome", hklm, "", "nothing"},
  };
  for (const Case& c : cases) {
    FakeRuntimeEnvironment machine;
    registerVendor(machine, c.keyPath, c.valueName, u"C:\\rt", c.root);
    if (!c.release.empty()) machine.releaseFiles[u"C:\\rt\\"] = c.release;
    std::string where(c.keyPath.begin(), c.keyPath.end());
    EXPECT_EQ(shown(chooseRegistered(machine, vendorSearch(), own)), c.found) << where;
    RuntimeCriteria off = vendorSearch();
    off.searchVendorKeys = false;
    EXPECT_EQ(chooseRegistered(machine, off, own), std::nullopt) << "off: " << where;
  }
}

TEST(VendorKeys, FiltersOfTheClassicKeysApply) {
  const std::u16string_view adoptiumJdk = u"SOFTWARE\\Eclipse Adoptium\\JDK\\17.0.9.9\\hotspot\\MSI";
  const std::u16string_view adoptiumJ9 = u"SOFTWARE\\Eclipse Adoptium\\JRE\\17.0.9.9\\openj9\\MSI";
  const std::u16string_view zulu = u"SOFTWARE\\Azul Systems\\Zulu\\zulu-8";
  struct Case {
    const char* what;
    RuntimeCriteria criteria;
    std::u16string_view keyPath, valueName;
    bool jdkFolder;  // bin\javac.exe in the folder
    bool found;
  };
  RuntimeCriteria above17 = vendorSearch(), server = vendorSearch();
  above17.minimumVersion = minimumVersionFrom(u"17.0.10");
  server.jvmType = JvmType::server;
  const Case cases[] = {
      {"below the minimum", above17, adoptiumJdk, u"Path", true, false},
      {"server VM wanted, client only", server, adoptiumJdk, u"Path", true, false},
      {"only JREs, a JDK key", vendorSearch(u"only_JRE"), adoptiumJdk, u"Path", true, false},
      {"only JREs, a Zulu JRE", vendorSearch(u"only_JRE"), zulu, u"InstallationPath", false, true},
      {"only JDKs, a Zulu JRE", vendorSearch(u"only_JDK"), zulu, u"InstallationPath", false, false},
      {"only JDKs, a Zulu JDK", vendorSearch(u"only_JDK"), zulu, u"InstallationPath", true, true},
      {"OpenJ9 is IBM's VM, not accepted by default", vendorSearch(), adoptiumJ9, u"Path", false, false},
      {"OpenJ9 with VM Provider ibm", vendorSearch(u"", u"ibm"), adoptiumJ9, u"Path", false, true},
      {"HotSpot is not IBM's", vendorSearch(u"", u"ibm"), adoptiumJdk, u"Path", true, false},
  };
  for (const Case& c : cases) {
    FakeRuntimeEnvironment machine;
    registerVendor(machine, c.keyPath, c.valueName, u"C:\\rt");
    if (c.jdkFolder) machine.files.insert(u"C:\\rt\\bin\\javac.exe");
    EXPECT_EQ(chooseRegistered(machine, c.criteria, own).has_value(), c.found) << c.what;
  }
}

TEST(VendorKeys, RankedWithTheClassicKeysByVersionThenClassicFirst) {
  FakeRuntimeEnvironment machine;
  machine.registerRuntime(1, u"17.0.9", u"C:\\classic17");
  machine.install(u"C:\\classic17\\", {u"client"});
  registerVendor(machine, u"SOFTWARE\\Eclipse Adoptium\\JDK\\17.0.9.0\\hotspot\\MSI", u"Path", u"C:\\temurin17");
  registerVendor(machine, u"SOFTWARE\\Microsoft\\JDK\\11.0.21.9\\hotspot\\MSI", u"Path", u"C:\\ms11");
  registerVendor(machine, u"SOFTWARE\\Eclipse Adoptium\\JRE\\8.0.392.8\\hotspot\\MSI", u"Path", u"C:\\user8", hkcu);
  // Equal versions: the classic registration, found first, stays first.
  EXPECT_EQ(shown(chooseRegistered(machine, vendorSearch(), own)), "C:\\classic17\\ 17.0.9");
  // The newest wins whatever key holds it.
  registerVendor(machine, u"SOFTWARE\\Azul Systems\\Zulu\\zulu-21", u"InstallationPath", u"C:\\zulu21", hkcu);
  machine.releaseFiles[u"C:\\zulu21\\"] = "JAVA_VERSION=\"21.0.1\"";
  machine.files.insert(u"C:\\zulu21\\bin\\javac.exe");
  EXPECT_EQ(shown(chooseRegistered(machine, vendorSearch(), own)), "C:\\zulu21\\ 21.0.1");
  // The favoured kind still comes before the version, and the preferred versions before both.
  EXPECT_EQ(shown(chooseRegistered(machine, vendorSearch(u"favor_JRE"), own)), "C:\\user8\\ 8.0.392.8");
  RuntimeCriteria prefer11 = vendorSearch();
  prefer11.preferredVersions = {u"11"};
  EXPECT_EQ(shown(chooseRegistered(machine, prefer11, own)), "C:\\ms11\\ 11.0.21.9");
}

TEST(VendorKeys, ViewsAndRootsDecideTheSource) {
  FakeRuntimeEnvironment machine;
  registerVendor(machine, u"SOFTWARE\\Eclipse Adoptium\\JDK\\21.0.1.12\\hotspot\\MSI", u"Path", u"C:\\x64", hklm,
                 wide);
  RuntimeCriteria criteria = vendorSearch();
  EXPECT_EQ(locateRuntimeStages(machine, criteria, u"").source, RuntimeSource::none);
  criteria.withCompanion = true;
  RuntimeLocation found = locateRuntimeStages(machine, criteria, u"");
  EXPECT_EQ(found.source, RuntimeSource::registry64);
  EXPECT_EQ(found.jvmDllPath, u"C:\\x64\\bin\\client\\jvm.dll");
  // A vendor key says nothing of the runtime's habits: its release file is asked later.
  EXPECT_EQ(found.vendor, std::nullopt);
  // The per-user one ranks first in the launcher's own view; its architecture is checked later.
  registerVendor(machine, u"SOFTWARE\\Eclipse Adoptium\\JDK\\11.0.1.1\\hotspot\\MSI", u"Path", u"C:\\user", hkcu);
  found = locateRuntimeStages(machine, criteria, u"");
  EXPECT_EQ(found.source, RuntimeSource::registryUser);
  EXPECT_EQ(found.jvmDllPath, u"C:\\user\\bin\\client\\jvm.dll");
}

TEST(JavaHome, TakenAfterTheLauncherFolderWhenValidAndInRange) {
  struct Case {
    const char* what;
    std::u16string_view javaHome;
    std::string_view release;
    bool useJavaHome;
    RuntimeSource source;
  };
  const Case cases[] = {
      {"valid", u"D:\\jdk17", "JAVA_VERSION=\"17.0.2\"\r\n", true, RuntimeSource::javaHome},
      {"with a closing backslash", u"D:\\jdk17\\", "JAVA_VERSION=\"17.0.2\"", true, RuntimeSource::javaHome},
      {"off", u"D:\\jdk17", "JAVA_VERSION=\"17.0.2\"", false, RuntimeSource::registry},
      {"above the maximum", u"D:\\jdk17", "JAVA_VERSION=\"21\"", true, RuntimeSource::registry},
      {"no release version: 0.0.0.0, below the minimum", u"D:\\jdk17", "", true, RuntimeSource::registry},
      {"no runtime there", u"D:\\empty", "JAVA_VERSION=\"17\"", true, RuntimeSource::registry},
      {"relative", u"jdk17", "JAVA_VERSION=\"17\"", true, RuntimeSource::registry},
      {"unset", u"", "", true, RuntimeSource::registry},
  };
  for (const Case& c : cases) {
    FakeRuntimeEnvironment machine;
    machine.install(u"D:\\jdk17\\", {u"server"});
    machine.install(u"jdk17\\", {u"server"});
    machine.registerRuntime(2, u"1.8", u"C:\\jre8");
    machine.install(u"C:\\jre8\\", {u"client"});
    machine.javaHome = c.javaHome;
    machine.releaseFiles[u"D:\\empty\\"] = c.release;
    machine.releaseFiles[u"D:\\jdk17\\"] = c.release;
    RuntimeCriteria criteria;
    criteria.minimumVersion = minimumVersionFrom(u"1.8");
    criteria.maximumVersion = maximumVersionFrom(u"17");
    criteria.useJavaHome = c.useJavaHome;
    RuntimeLocation found = locateRuntimeStages(machine, criteria, u"C:\\app\\");
    EXPECT_EQ(found.source, c.source) << c.what;
    if (c.source == RuntimeSource::javaHome) {
      EXPECT_EQ(found.jvmDllPath, u"D:\\jdk17\\bin\\server\\jvm.dll");
      // The release file's version goes with it, so it is not read again for the class-data archive.
      ASSERT_TRUE(found.version.has_value());
      EXPECT_EQ(JavaVersion::toString(*found.version), u"17.0.2");
    }
    // A runtime beside the launcher comes first.
    machine.install(u"C:\\app\\", {u"client"});
    machine.files.insert(u"C:\\app\\bin\\java.dll");
    EXPECT_EQ(locateRuntimeStages(machine, criteria, u"C:\\app\\").source, RuntimeSource::besideLauncher) << c.what;
  }
}

struct RecordedTrace : TraceOutput {
  void writeLine(std::string_view line) override { lines += std::string(line) + "\n"; }
  std::string lines;
};

TEST(RuntimeTrace, EveryRegistrationWithItsVerdictThenTheChoice) {
  FakeRuntimeEnvironment machine;
  machine.registerRuntime(1, u"1.6", u"C:\\old");
  machine.registerRuntime(2, u"11", u"C:\\gone");
  registerVendor(machine, u"SOFTWARE\\Azul Systems\\Zulu\\zulu-17", u"InstallationPath", u"C:\\z\u00e9");
  machine.releaseFiles[u"C:\\z\u00e9\\"] = "JAVA_VERSION=\"17.0.9\"";
  RuntimeCriteria criteria = vendorSearch();
  criteria.minimumVersion = minimumVersionFrom(u"1.8");
  RecordedTrace recorded;
  setTraceOutput(&recorded);
  locateRuntimeStages(machine, criteria, u"C:\\app\\");
  setTraceOutput(nullptr);
  for (const char* expected : {
           "runtime: looking for: minimum version 1.8, maximum version none,",
           "runtime: beside the launcher \"C:\\app\\\": no bin\\java.dll there or in jre\\\n",
           "runtime: HKLM\\Software\\JavaSoft\\JDK\\1.6 (default view): version 1.6 (from key name), JDK, Sun: "
           "rejected: version outside the range\n",
           "runtime: HKLM\\Software\\JavaSoft\\JRE\\11 (default view): version 11.0 (from key name), JRE, Sun, "
           "home \"C:\\gone\\\": rejected: no jvm.dll",
           "runtime: HKLM\\SOFTWARE\\Azul Systems\\Zulu\\zulu-17 (default view): version 17.0.9 (from release file), "
           "JRE, Azul Zulu, home \"C:\\z\xc3\xa9\\\": candidate (client VM)\n",
           "runtime: order: 1. 17.0.9 \"C:\\z\xc3\xa9\\\"\n",
           "runtime: taken: \"C:\\z\xc3\xa9\\\", first in order\n",
       }) {
    EXPECT_NE(recorded.lines.find(expected), std::string::npos) << expected << "\n in:\n" << recorded.lines;
  }
}

TEST(Utf8FromUtf16, AllLengthsAndLoneSurrogates) {
  EXPECT_EQ(utf8FromUtf16(u"a\u00e9\u20ac\U0001F600"), "a\xc3\xa9\xe2\x82\xac\xf0\x9f\x98\x80");
  EXPECT_EQ(utf8FromUtf16(std::u16string{u'x', char16_t(0xD800)}), "x\xef\xbf\xbd");
  EXPECT_EQ(utf8FromUtf16(std::u16string{char16_t(0xDC00), u'y'}), "\xef\xbf\xbdy");
}

}  // namespace
}  // namespace launcher
