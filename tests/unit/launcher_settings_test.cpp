#include "settings/launcher_settings.h"

#include <gtest/gtest.h>

#include <array>
#include <map>
#include <set>
#include <utility>

namespace launcher {
namespace {

using Strings = std::vector<std::u16string>;

TEST(SwitchValues, EachKeyComparesByItsOwnRule) {
  struct Case {
    std::u16string_view value;
    bool exactYes, yesInAnyCase, exactTrue;
  };
  const Case cases[] = {
      {u"yes", true, true, false},  {u"Yes", false, true, false},  {u"YES", false, true, false},
      {u"yes ", false, false, false}, {u" yes", false, false, false}, {u"y", false, false, false},
      {u"", false, false, false},    {u"true", false, false, true},  {u"True", false, false, false},
      {u"1", false, false, false},
  };
  for (const Case& c : cases) {
    std::string shown(c.value.begin(), c.value.end());
    EXPECT_EQ(isExactYes(c.value), c.exactYes) << shown;
    EXPECT_EQ(isYesInAnyCase(c.value), c.yesInAnyCase) << shown;
    EXPECT_EQ(isExactTrue(c.value), c.exactTrue) << shown;
  }
}

TEST(SwitchValues, ServiceTypeAndJvmTypeAreExact) {
  EXPECT_TRUE(isServiceType(u"service"));
  EXPECT_FALSE(isServiceType(u"Service"));
  EXPECT_FALSE(isServiceType(u""));
  EXPECT_EQ(jvmTypeFrom(u"server"), JvmType::server);
  EXPECT_EQ(jvmTypeFrom(u"favor_server"), JvmType::favorServer);
  EXPECT_EQ(jvmTypeFrom(u"Server"), JvmType::any);
  EXPECT_EQ(jvmTypeFrom(u"client"), JvmType::any);
  EXPECT_EQ(jvmTypeFrom(u""), JvmType::any);
}

// jrockitAccepted, jrockitFavored, sunAccepted, sunFavored, ibmAccepted, ibmFavored.
using VendorFlags = std::array<bool, 6>;
VendorFlags vendorFlags(const RuntimeCriteria& s) {
  const VendorRule &jrockit = s.vendor(RuntimeVendor::jrockit), &sun = s.vendor(RuntimeVendor::sun),
                   &ibm = s.vendor(RuntimeVendor::ibm);
  return {jrockit.accepted, jrockit.favored, sun.accepted, sun.favored, ibm.accepted, ibm.favored};
}

TEST(VmProvider, TableInAnyCaseUnknownKeepsDefaults) {
  struct Case {
    std::u16string_view value;
    VendorFlags flags;
  };
  const Case cases[] = {
      {u"", {0, 0, 1, 1, 0, 0}},
      {u"jrockit", {1, 1, 0, 0, 0, 0}},
      {u"IBM", {0, 0, 0, 0, 1, 1}},
      {u"favor_sun", {1, 0, 1, 1, 1, 0}},
      {u"Favor_JRockit", {1, 1, 1, 0, 1, 0}},
      {u"favor_ibm", {1, 0, 1, 0, 1, 1}},
      {u"ANY", {1, 0, 1, 0, 1, 0}},
      {u"oracle", {0, 0, 1, 1, 0, 0}},
      {u" any", {0, 0, 1, 1, 0, 0}},
  };
  for (const Case& c : cases) {
    RuntimeCriteria settings;
    applyVmProvider(c.value, settings);
    EXPECT_EQ(vendorFlags(settings), c.flags) << std::string(c.value.begin(), c.value.end());
  }
}

TEST(JvmSource, TableIsExactUnknownAcceptsNothing) {
  struct Case {
    std::u16string_view value;
    bool jdk, jre, favored;
  };
  const Case cases[] = {
      {u"", true, true, true},           {u"favor_JRE", false, true, true},
      {u"favor_JDK", true, false, true}, {u"only_JRE", false, true, false},
      {u"only_JDK", true, false, false}, {u"only_jdk", false, false, false},
      {u"both", false, false, false},
  };
  for (const Case& c : cases) {
    RuntimeCriteria settings;
    applyJvmSource(c.value, settings);
    std::string shown(c.value.begin(), c.value.end());
    EXPECT_EQ(settings.jdkAccepted, c.jdk) << shown;
    EXPECT_EQ(settings.jreAccepted, c.jre) << shown;
    EXPECT_EQ(settings.sourceFavored, c.favored) << shown;
  }
}

TEST(JvmSource, EmptyValueRestoresBothKindsButNotTheFavour) {
  RuntimeCriteria settings;
  settings.jdkAccepted = settings.jreAccepted = settings.sourceFavored = false;
  applyJvmSource(u"", settings);
  EXPECT_TRUE(settings.jdkAccepted);
  EXPECT_TRUE(settings.jreAccepted);
  EXPECT_FALSE(settings.sourceFavored);
}

TEST(PreferredVersions, SplitAtSemicolons) {
  struct Case {
    std::u16string_view value;
    Strings versions;
  };
  const Case cases[] = {
      {u"", {}},
      {u"1.6", {u"1.6"}},
      {u"1.6;1.7", {u"1.6", u"1.7"}},
      {u"1.6;;1.7;", {u"1.6", u"", u"1.7"}},
      {u";", {u""}},
      {u";1.8", {u"", u"1.8"}},
      {u"1.8;;", {u"1.8", u""}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(splitPreferredVersions(c.value), c.versions)
        << std::string(c.value.begin(), c.value.end());
  }
}

TEST(JrePath, ServiceUsesMainFileOtherwiseAnExistingUserFile) {
  EXPECT_EQ(jrePathSource(true, true), JrePathSource::mainLayered);
  EXPECT_EQ(jrePathSource(true, false), JrePathSource::mainLayered);
  EXPECT_EQ(jrePathSource(false, true), JrePathSource::userPlain);
  EXPECT_EQ(jrePathSource(false, false), JrePathSource::mainLayered);
}

// Answers from tables and writes down every read in order.
class FakeSource : public SettingsSource {
 public:
  using Table = std::map<std::pair<std::u16string, std::u16string>, std::u16string>;
  Table mainPlain, mainLayered, user;
  // Keys whose value cannot be read at all.
  std::set<std::u16string> unreadable;
  bool userExists = false;
  Strings log;

  std::optional<std::u16string> readMainPlain(std::u16string_view section, std::u16string_view key) override {
    return look("main-plain", mainPlain, section, key);
  }
  std::optional<std::u16string> readMainLayered(std::u16string_view section, std::u16string_view key,
                                                bool) override {
    return look("main-layered", mainLayered, section, key);
  }
  bool userFileExists(const ProductIdentity& product) override {
    log.push_back(u"user-exists " + std::u16string(product.name) + u"/" +
                  std::u16string(product.code));
    return userExists;
  }
  std::optional<std::u16string> readUserPlain(const ProductIdentity& product, std::u16string_view section,
                               std::u16string_view key) override {
    EXPECT_EQ(product.name, u"Acme");
    EXPECT_EQ(product.code, u"A1");
    return look("user-plain", user, section, key);
  }

 private:
  std::optional<std::u16string> look(const char* kind, const Table& table, std::u16string_view section,
                                     std::u16string_view key) {
    std::u16string entry(kind, kind + std::char_traits<char>::length(kind));
    log.push_back(entry + u" [" + std::u16string(section) + u"] " + std::u16string(key));
    if (unreadable.count(std::u16string(key))) return std::nullopt;
    auto found = table.find({std::u16string(section), std::u16string(key)});
    return found == table.end() ? std::u16string() : found->second;
  }
};

constexpr std::u16string_view kJre = u"Java Runtime Environment";
constexpr std::u16string_view kApp = u"Application";

FakeSource acmeSource() {
  FakeSource source;
  source.mainPlain[{u"Product Information", u"Product Code"}] = u"A1";
  source.mainPlain[{u"Product Information", u"Product Name"}] = u"Acme";
  source.mainLayered[{std::u16string(kJre), u"Main Class"}] = u"com.acme.Main";
  source.mainLayered[{std::u16string(kJre), u"JRE Path"}] = u"C:\\main-jre";
  source.user[{std::u16string(kJre), u"JRE Path"}] = u"C:\\user-jre";
  return source;
}

TEST(ReadSettingsFrom, ReadsInOrderAndFillsTheRecord) {
  FakeSource source = acmeSource();
  source.userExists = true;
  source.mainLayered[{std::u16string(kJre), u"Minimum Version"}] = u"1.6";
  source.mainLayered[{std::u16string(kJre), u"Maximum Version"}] = u"any";
  source.mainLayered[{std::u16string(kJre), u"Preferred versions"}] = u"1.8;1.7;";
  source.mainLayered[{std::u16string(kJre), u"JVM Type"}] = u"favor_server";
  source.mainLayered[{std::u16string(kJre), u"JVM Source"}] = u"only_JDK";
  source.mainLayered[{std::u16string(kJre), u"VM Provider"}] = u"Any";
  source.mainLayered[{std::u16string(kJre), u"Search Vendor Keys"}] = u"YES";
  source.mainLayered[{std::u16string(kJre), u"Use JAVA_HOME"}] = u"yes ";
  source.mainLayered[{std::u16string(kApp), u"Failure Check"}] = u"YES";
  source.mainLayered[{std::u16string(kApp), u"Override WorkingDir"}] = u"no";
  source.mainLayered[{std::u16string(kJre), u"System Path"}] = u"C:\\bin";
  source.mainLayered[{std::u16string(kJre), u"Library Path"}] = u"lib";
  source.mainLayered[{std::u16string(kApp), u"Pair Product"}] = u"pair64.exe";
  source.mainLayered[{std::u16string(kApp), u"Pair Return Code"}] = u"yes";
  source.mainLayered[{std::u16string(kApp), u"Single Instance"}] = u"Yes";
  source.mainLayered[{u"Class Path", u"Class Path"}] = u"lib\\*.jar";
  source.mainLayered[{std::u16string(kApp), u"Output File"}] = u"%TEMP%\\out.log";
  source.mainLayered[{std::u16string(kApp), u"Error Append"}] = u"yes";
  source.mainLayered[{std::u16string(kApp), u"Cmd"}] = u" -x";
  source.mainLayered[{std::u16string(kJre), u"Class Data Archive"}] = u"yEs";
  source.mainPlain[{u"Display", u"Splash Screen Shadow"}] = u"true";

  LauncherSettings settings;
  ASSERT_TRUE(readSettingsFrom(source, settings));

  EXPECT_EQ(source.log, (Strings{
                            u"main-plain [Product Information] Product Code",
                            u"main-plain [Product Information] Product Name",
                            u"main-layered [Java Runtime Environment] Minimum Version",
                            u"main-layered [Java Runtime Environment] Maximum Version",
                            u"main-layered [Application] Application Type",
                            u"main-layered [Java Runtime Environment] Preferred versions",
                            u"user-exists Acme/A1",
                            u"user-plain [Java Runtime Environment] JRE Path",
                            u"main-layered [Java Runtime Environment] JVM Type",
                            u"main-layered [Java Runtime Environment] JVM Source",
                            u"main-layered [Java Runtime Environment] VM Provider",
                            u"main-layered [Java Runtime Environment] Search Vendor Keys",
                            u"main-layered [Java Runtime Environment] Use JAVA_HOME",
                            u"main-layered [Java Runtime Environment] Main Jar",
                            u"main-layered [Java Runtime Environment] Main Module",
                            u"main-layered [Application] Embedded Jar",
                            u"main-layered [Java Runtime Environment] Main Class",
                            u"main-layered [Application] Failure Check",
                            u"main-layered [Application] Override WorkingDir",
                            u"main-layered [Java Runtime Environment] System Path",
                            u"main-layered [Java Runtime Environment] Library Path",
                            u"main-layered [Application] Pair Product",
                            u"main-layered [Application] Pair Return Code",
                            u"main-layered [Application] Single Instance",
                            u"main-layered [Class Path] Class Path",
                            u"main-layered [Class Path] Module Path",
                            u"main-layered [Java Runtime Environment] Virtual Machine Parameters",
                            u"main-layered [Java Runtime Environment] Class Data Archive",
                            u"main-layered [Application] Output File",
                            u"main-layered [Application] Output Append",
                            u"main-layered [Application] Error File",
                            u"main-layered [Application] Error Append",
                            u"main-layered [Application] Cmd",
                            u"main-plain [Display] Splash Screen",
                            u"main-plain [Display] Splash Screen Shadow",
                            u"main-plain [Display] Preffer Native Splash Screen",
                        }));
  EXPECT_EQ(settings.productCode, u"A1");
  EXPECT_EQ(settings.productName, u"Acme");
  EXPECT_EQ(settings.runtime.minimumVersion.components, (std::array<std::int32_t, 4>{1, 6, 0, 0}));
  EXPECT_EQ(settings.runtime.maximumVersion.components,
            (std::array<std::int32_t, 4>{65535, 65535, 65535, 65535}));
  EXPECT_FALSE(settings.isService);
  EXPECT_EQ(settings.runtime.preferredVersions, (Strings{u"1.8", u"1.7"}));
  EXPECT_TRUE(settings.runtime.searchVendorKeys);
  EXPECT_FALSE(settings.runtime.useJavaHome);
  EXPECT_EQ(settings.runtime.jrePath, u"C:\\user-jre");
  EXPECT_EQ(settings.runtime.jvmType, JvmType::favorServer);
  EXPECT_TRUE(settings.runtime.jdkAccepted);
  EXPECT_FALSE(settings.runtime.jreAccepted);
  EXPECT_FALSE(settings.runtime.sourceFavored);
  EXPECT_EQ(vendorFlags(settings.runtime), (VendorFlags{1, 0, 1, 0, 1, 0}));
  EXPECT_EQ(settings.mainClass, u"com/acme/Main");
  EXPECT_TRUE(settings.failureCheck);
  EXPECT_FALSE(settings.overrideWorkingDir);
  EXPECT_EQ(settings.systemPath, u"C:\\bin");
  EXPECT_EQ(settings.libraryPath, u"lib");
  EXPECT_EQ(settings.pairProduct, u"pair64.exe");
  EXPECT_TRUE(settings.pairReturnCode);
  // Values used later are kept as written; the switches by their own rules.
  EXPECT_FALSE(settings.singleInstance);
  EXPECT_EQ(settings.classPath, u"lib\\*.jar");
  EXPECT_EQ(settings.streams.outputFile, u"%TEMP%\\out.log");
  EXPECT_FALSE(settings.streams.outputAppend);
  EXPECT_TRUE(settings.streams.errorAppend);
  EXPECT_EQ(settings.extraArguments, u" -x");
  EXPECT_TRUE(settings.classDataArchive);
  EXPECT_TRUE(settings.splashShadow);
  EXPECT_FALSE(settings.preferRuntimeSplash);
}

TEST(ReadSettingsFrom, JrePathFromTheRightFile) {
  {  // An existing per-user file wins even when it lacks the key.
    FakeSource source = acmeSource();
    source.userExists = true;
    source.user.clear();
    LauncherSettings settings;
    readSettingsFrom(source, settings);
    EXPECT_EQ(settings.runtime.jrePath, u"");
  }
  {  // No per-user file yet: the main file.
    FakeSource source = acmeSource();
    LauncherSettings settings;
    readSettingsFrom(source, settings);
    EXPECT_EQ(settings.runtime.jrePath, u"C:\\main-jre");
  }
  {  // A service never looks for a per-user file.
    FakeSource source = acmeSource();
    source.userExists = true;
    source.mainLayered[{std::u16string(kApp), u"Application Type"}] = u"service";
    LauncherSettings settings;
    readSettingsFrom(source, settings);
    EXPECT_TRUE(settings.isService);
    EXPECT_EQ(settings.runtime.jrePath, u"C:\\main-jre");
    for (const std::u16string& read : source.log) {
      EXPECT_EQ(read.find(u"user"), std::u16string::npos);
    }
  }
}

TEST(ReadSettingsFrom, VersionBoundsFillTowardsTheirOwnEnd) {
  FakeSource source = acmeSource();
  source.mainLayered[{std::u16string(kJre), u"Minimum Version"}] = u"any";
  source.mainLayered[{std::u16string(kJre), u"Maximum Version"}] = u"1.8";
  LauncherSettings settings;
  readSettingsFrom(source, settings);
  EXPECT_EQ(settings.runtime.minimumVersion.components, (std::array<std::int32_t, 4>{0, 0, 0, 0}));
  EXPECT_EQ(settings.runtime.maximumVersion.components, (std::array<std::int32_t, 4>{1, 8, 65535, 65535}));
}

TEST(ReadSettingsFrom, NoMainClassStopsBeforeTheApplicationKeys) {
  FakeSource source = acmeSource();
  source.mainLayered.erase({std::u16string(kJre), u"Main Class"});
  source.mainLayered[{std::u16string(kApp), u"Failure Check"}] = u"yes";
  LauncherSettings settings;
  EXPECT_FALSE(readSettingsFrom(source, settings));
  EXPECT_EQ(source.log.back(), u"main-layered [Java Runtime Environment] Main Class");
  EXPECT_FALSE(settings.failureCheck);
  // What was read before the stop is kept.
  EXPECT_EQ(settings.productName, u"Acme");
}

TEST(ReadSettingsFrom, AnUnreadableValueIsEmptyButStopsARequiredKeyByName) {
  FakeSource source = acmeSource();
  source.unreadable = {u"JRE Path"};
  LauncherSettings settings;
  EXPECT_TRUE(readSettingsFrom(source, settings));
  EXPECT_EQ(settings.runtime.jrePath, u"");

  source.unreadable = {u"Main Class"};
  SettingsOutcome outcome = readSettingsFrom(source, settings);
  EXPECT_FALSE(outcome);
  EXPECT_EQ(outcome.status, SettingsOutcome::requiredKeyUnreadable);
  ASSERT_NE(outcome.key, nullptr);
  EXPECT_EQ(outcome.key->key, u"Main Class");
  source.unreadable.clear();
  source.mainLayered.erase({std::u16string(kJre), u"Main Class"});
  EXPECT_EQ(readSettingsFrom(source, settings).status, SettingsOutcome::requiredKeyEmpty);
}

TEST(ReadSettingsFrom, AJarOrAModuleStartsWithoutAMainClass) {
  struct Case {
    const char* what;
    std::u16string_view key, value;
    bool startable;
  };
  const Case cases[] = {
      {"an executable jar", u"Main Jar", u"app.jar", true},
      {"a module", u"Main Module", u"app", true},
      {"the launcher as its own jar", u"Embedded Jar", u"YES", true},
      {"no embedded jar", u"Embedded Jar", u"no", false},
  };
  for (const Case& c : cases) {
    FakeSource source = acmeSource();
    source.mainLayered.erase({std::u16string(kJre), u"Main Class"});
    const std::u16string section(c.key == u"Embedded Jar" ? kApp : kJre);
    source.mainLayered[{section, std::u16string(c.key)}] = std::u16string(c.value);
    source.mainLayered[{u"Class Path", u"Module Path"}] = u"mods;%APP%\\lib";
    LauncherSettings settings;
    const SettingsOutcome outcome = readSettingsFrom(source, settings);
    EXPECT_EQ(static_cast<bool>(outcome), c.startable) << c.what;
    EXPECT_EQ(outcome.status, c.startable ? SettingsOutcome::complete : SettingsOutcome::requiredKeyEmpty) << c.what;
    EXPECT_EQ(settings.modulePath, c.startable ? u"mods;%APP%\\lib" : u"") << c.what;
  }
  // An unreadable "Main Class" still stops, whatever else is set.
  FakeSource source = acmeSource();
  source.mainLayered[{std::u16string(kJre), u"Main Jar"}] = u"app.jar";
  source.unreadable = {u"Main Class"};
  LauncherSettings settings;
  EXPECT_EQ(readSettingsFrom(source, settings).status, SettingsOutcome::requiredKeyUnreadable);
}

TEST(ReadSettingsFrom, MainClassWrittenAsModuleAndClassStartsTheModule) {
  struct Case {
    std::u16string_view written, mainClass, mainModule;
  };
  const Case cases[] = {
      {u"app/com.acme.Main", u"", u"app/com.acme.Main"},
      {u"com.acme.app/com.acme.app.Main", u"", u"com.acme.app/com.acme.app.Main"},
      // The JNI form and dotted names stay class names.
      {u"com/acme/Main", u"com/acme/Main", u""},
      {u"com.acme.Main", u"com/acme/Main", u""},
      {u"com.acme/Main", u"com/acme/Main", u""},
      {u"a/b/c.D", u"a/b/c/D", u""},
  };
  for (const Case& c : cases) {
    FakeSource source = acmeSource();
    source.mainLayered[{std::u16string(kJre), u"Main Class"}] = std::u16string(c.written);
    LauncherSettings settings;
    EXPECT_TRUE(readSettingsFrom(source, settings));
    EXPECT_EQ(settings.mainClass, c.mainClass);
    EXPECT_EQ(settings.mainModule, c.mainModule);
  }
  // "Main Module" itself wins over a "Main Class" in the module form.
  FakeSource source = acmeSource();
  source.mainLayered[{std::u16string(kJre), u"Main Module"}] = u"other";
  source.mainLayered[{std::u16string(kJre), u"Main Class"}] = u"app/app.Main";
  LauncherSettings settings;
  readSettingsFrom(source, settings);
  EXPECT_EQ(settings.mainModule, u"other");
}

TEST(MainTargetOf, TheClassOrTheJarOrTheModuleAndTheLauncherAsItsOwnJar) {
  LauncherSettings settings;
  settings.embeddedJar = true;
  EXPECT_EQ(mainTargetOf(settings, u"C:\\App\\app.exe").jar, u"C:\\App\\app.exe");
  settings.mainJar = u"lib\\app.jar";
  EXPECT_EQ(mainTargetOf(settings, u"C:\\App\\app.exe").jar, u"lib\\app.jar");
  settings.mainJar.clear();
  settings.mainModule = u"app";
  EXPECT_EQ(mainTargetOf(settings, u"C:\\App\\app.exe").jar, u"");
  settings.mainModule.clear();
  settings.mainClass = u"com/acme/Main";
  const MainTarget target = mainTargetOf(settings, u"C:\\App\\app.exe");
  EXPECT_EQ(target.className, u"com/acme/Main");
  EXPECT_EQ(target.jar, u"");
  // Beside a module the class is the module's main class; a module naming its own keeps it.
  settings.mainModule = u"app";
  EXPECT_EQ(mainTargetOf(settings, u"x.exe").module, u"app/com.acme.Main");
  EXPECT_EQ(mainTargetOf(settings, u"x.exe").className, u"");
  settings.mainModule = u"app/app.Start";
  EXPECT_EQ(mainTargetOf(settings, u"x.exe").module, u"app/app.Start");
}

}  // namespace
}  // namespace launcher
