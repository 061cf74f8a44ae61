#include "settings/launcher_settings.h"

#include <algorithm>
#include <array>

#include "base/text.h"

namespace launcher {
namespace {

constexpr std::u16string_view kProductInformation = u"Product Information";
constexpr std::u16string_view kJavaRuntime = u"Java Runtime Environment";
constexpr std::u16string_view kApplication = u"Application";
constexpr std::u16string_view kClassPath = u"Class Path";
constexpr std::u16string_view kDisplay = u"Display";

constexpr VendorRule kNo{false, false};
constexpr VendorRule kAccepted{true, false};
constexpr VendorRule kFavored{true, true};

struct VmProviderRow {
  std::u16string_view name;
  VendorPolicy vendors;  // sun, jrockit, ibm
};

constexpr VmProviderRow kVmProviders[] = {
    {u"jrockit", {kNo, kFavored, kNo}},
    {u"ibm", {kNo, kNo, kFavored}},
    {u"favor_sun", {kFavored, kAccepted, kAccepted}},
    {u"favor_jrockit", {kAccepted, kFavored, kAccepted}},
    {u"favor_ibm", {kAccepted, kAccepted, kFavored}},
    {u"any", {kAccepted, kAccepted, kAccepted}},
};

struct JvmSourceRow {
  std::u16string_view name;
  bool jdkAccepted, jreAccepted, sourceFavored;
};

constexpr JvmSourceRow kJvmSources[] = {
    {u"favor_JRE", false, true, true},
    {u"favor_JDK", true, false, true},
    {u"only_JRE", false, true, false},
    {u"only_JDK", true, false, false},
};

using Value = std::u16string_view;
using Settings = LauncherSettings;

// The table. Its order is the reading order; "Main Class" ends it early when empty, so the keys
// after it are read only for a launch that can happen.
constexpr SettingKey kSettingKeys[] = {
    {kProductInformation, u"Product Code", ValueRead::plain, false,
     [](Value v, Settings& s) { s.productCode = v; }},
    {kProductInformation, u"Product Name", ValueRead::plain, false,
     [](Value v, Settings& s) { s.productName = v; }},
    {kJavaRuntime, u"Minimum Version", ValueRead::layered, false,
     [](Value v, Settings& s) { s.runtime.minimumVersion = minimumVersionFrom(v); }},
    {kJavaRuntime, u"Maximum Version", ValueRead::layered, false,
     [](Value v, Settings& s) { s.runtime.maximumVersion = maximumVersionFrom(v); }},
    {kApplication, u"Application Type", ValueRead::layered, false,
     [](Value v, Settings& s) { s.isService = isServiceType(v); }},
    {kJavaRuntime, u"Preferred versions", ValueRead::layered, false,
     [](Value v, Settings& s) { s.runtime.preferredVersions = splitPreferredVersions(v); }},
    {kJavaRuntime, u"JRE Path", ValueRead::jrePath, false,
     [](Value v, Settings& s) { s.runtime.jrePath = v; }},
    {kJavaRuntime, u"JVM Type", ValueRead::layered, false,
     [](Value v, Settings& s) { s.runtime.jvmType = jvmTypeFrom(v); }},
    {kJavaRuntime, u"JVM Source", ValueRead::layered, false,
     [](Value v, Settings& s) { applyJvmSource(v, s.runtime); }},
    {kJavaRuntime, u"VM Provider", ValueRead::layered, false,
     [](Value v, Settings& s) { applyVmProvider(v, s.runtime); }},
    {kJavaRuntime, u"Search Vendor Keys", ValueRead::layered, false,
     [](Value v, Settings& s) { s.runtime.searchVendorKeys = isYesInAnyCase(v); }},
    {kJavaRuntime, u"Use JAVA_HOME", ValueRead::layered, false,
     [](Value v, Settings& s) { s.runtime.useJavaHome = isYesInAnyCase(v); }},
    {kJavaRuntime, u"Main Jar", ValueRead::layered, false,
     [](Value v, Settings& s) { s.mainJar = v; }},
    {kJavaRuntime, u"Main Module", ValueRead::layered, false,
     [](Value v, Settings& s) { s.mainModule = v; }},
    {kApplication, u"Embedded Jar", ValueRead::layered, false,
     [](Value v, Settings& s) { s.embeddedJar = isYesInAnyCase(v); }},
    {kJavaRuntime, u"Main Class", ValueRead::layered, true,
     [](Value v, Settings& s) {
       if (isModuleAndClass(v)) {
         if (s.mainModule.empty()) s.mainModule = v;
         return;
       }
       s.mainClass = v;
       // JNI names classes with "/" between the package names.
       std::replace(s.mainClass.begin(), s.mainClass.end(), u'.', u'/');
     }},
    {kApplication, u"Failure Check", ValueRead::layered, false,
     [](Value v, Settings& s) { s.failureCheck = isYesInAnyCase(v); }},
    {kApplication, u"Override WorkingDir", ValueRead::layered, false,
     [](Value v, Settings& s) { s.overrideWorkingDir = isYesInAnyCase(v); }},
    {kJavaRuntime, u"System Path", ValueRead::layered, false,
     [](Value v, Settings& s) { s.systemPath = v; }},
    {kJavaRuntime, u"Library Path", ValueRead::layered, false,
     [](Value v, Settings& s) { s.libraryPath = v; }},
    {kApplication, u"Pair Product", ValueRead::layered, false,
     [](Value v, Settings& s) {
       s.pairProduct = v;
       s.runtime.withCompanion = !v.empty();
     }},
    {kApplication, u"Pair Return Code", ValueRead::layered, false,
     [](Value v, Settings& s) { s.pairReturnCode = isYesInAnyCase(v); }},
    {kApplication, u"Single Instance", ValueRead::layered, false,
     [](Value v, Settings& s) { s.singleInstance = isExactYes(v); }},
    {kClassPath, u"Class Path", ValueRead::layered, false,
     [](Value v, Settings& s) { s.classPath = v; }},
    {kClassPath, u"Module Path", ValueRead::layered, false,
     [](Value v, Settings& s) { s.modulePath = v; }},
    {kJavaRuntime, u"Virtual Machine Parameters", ValueRead::layeredList, false,
     [](Value v, Settings& s) { s.vmParameters = v; }},
    {kJavaRuntime, u"Class Data Archive", ValueRead::layered, false,
     [](Value v, Settings& s) { s.classDataArchive = isYesInAnyCase(v); }},
    {kApplication, u"Output File", ValueRead::layered, false,
     [](Value v, Settings& s) { s.streams.outputFile = v; }},
    {kApplication, u"Output Append", ValueRead::layered, false,
     [](Value v, Settings& s) { s.streams.outputAppend = isExactYes(v); }},
    {kApplication, u"Error File", ValueRead::layered, false,
     [](Value v, Settings& s) { s.streams.errorFile = v; }},
    {kApplication, u"Error Append", ValueRead::layered, false,
     [](Value v, Settings& s) { s.streams.errorAppend = isExactYes(v); }},
    {kApplication, u"Cmd", ValueRead::layeredList, false,
     [](Value v, Settings& s) { s.extraArguments = v; }},
    {kDisplay, u"Splash Screen", ValueRead::plain, false,
     [](Value v, Settings& s) { s.splashImage = v; }},
    {kDisplay, u"Splash Screen Shadow", ValueRead::plain, false,
     [](Value v, Settings& s) { s.splashShadow = isExactTrue(v); }},
    {kDisplay, u"Preffer Native Splash Screen", ValueRead::plain, false,
     [](Value v, Settings& s) { s.preferRuntimeSplash = isYesInAnyCase(v); }},
};

std::optional<std::u16string> readValue(SettingsSource& source, const SettingKey& row, const LauncherSettings& settings) {
  switch (row.read) {
    case ValueRead::plain:
      return source.readMainPlain(row.section, row.key);
    case ValueRead::layered:
    case ValueRead::layeredList:
      return source.readMainLayered(row.section, row.key, row.read == ValueRead::layeredList);
    case ValueRead::jrePath: {
      // A service keeps the runtime choice in its main file; a per-user file is not even
      // looked for.
      ProductIdentity product{settings.productName, settings.productCode};
      bool userFileExists = !settings.isService && source.userFileExists(product);
      if (jrePathSource(settings.isService, userFileExists) == JrePathSource::userPlain) {
        return source.readUserPlain(product, row.section, row.key);
      }
      return source.readMainLayered(row.section, row.key, false);
    }
  }
  return {};
}

}  // namespace

bool isExactYes(std::u16string_view value) { return value == u"yes"; }

bool isYesInAnyCase(std::u16string_view value) { return equalsIgnoringAsciiCase(value, u"yes"); }

bool isExactTrue(std::u16string_view value) { return value == u"true"; }

bool isServiceType(std::u16string_view value) { return value == u"service"; }

JvmType jvmTypeFrom(std::u16string_view value) {
  if (value == u"server") return JvmType::server;
  if (value == u"favor_server") return JvmType::favorServer;
  return JvmType::any;
}

void applyJvmSource(std::u16string_view value, RuntimeCriteria& criteria) {
  if (value.empty()) {
    criteria.jdkAccepted = true;
    criteria.jreAccepted = true;
    return;
  }
  for (const JvmSourceRow& row : kJvmSources) {
    if (value == row.name) {
      criteria.jdkAccepted = row.jdkAccepted;
      criteria.jreAccepted = row.jreAccepted;
      criteria.sourceFavored = row.sourceFavored;
      return;
    }
  }
  criteria.jdkAccepted = false;
  criteria.jreAccepted = false;
  criteria.sourceFavored = false;
}

void applyVmProvider(std::u16string_view value, RuntimeCriteria& criteria) {
  for (const VmProviderRow& row : kVmProviders) {
    if (equalsIgnoringAsciiCase(value, row.name)) {
      criteria.vendors = row.vendors;
      return;
    }
  }
}

std::vector<std::u16string> splitPreferredVersions(std::u16string_view value) { return splitAt(value, u';'); }

JrePathSource jrePathSource(bool isService, bool userFileExists) {
  if (isService) return JrePathSource::mainLayered;
  return userFileExists ? JrePathSource::userPlain : JrePathSource::mainLayered;
}

std::span<const SettingKey> settingKeys() { return kSettingKeys; }

bool isModuleAndClass(std::u16string_view mainClass) {
  const size_t slash = mainClass.find(u'/');
  return slash != std::u16string_view::npos && mainClass.find(u'/', slash + 1) == std::u16string_view::npos &&
         mainClass.find(u'.', slash) != std::u16string_view::npos;
}

MainTarget mainTargetOf(const LauncherSettings& settings, std::u16string_view executablePath) {
  MainTarget target{settings.mainClass, settings.mainJar, settings.mainModule};
  // A module is started as a module: a class named besides it is its main class.
  if (!target.module.empty()) {
    if (target.module.find(u'/') == std::u16string::npos && !target.className.empty()) {
      std::u16string dotted = target.className;
      std::replace(dotted.begin(), dotted.end(), u'/', u'.');
      target.module += u'/' + dotted;
    }
    target.className.clear();
  }
  if (target.className.empty() && target.jar.empty() && target.module.empty() && settings.embeddedJar) {
    target.jar = executablePath;
  }
  return target;
}

SettingsOutcome readSettingsFrom(SettingsSource& source, LauncherSettings& settings) {
  for (const SettingKey& row : kSettingKeys) {
    std::optional<std::u16string> value = readValue(source, row, settings);
    row.apply(value.value_or(u""), settings);
    if (row.required && !value) return {SettingsOutcome::requiredKeyUnreadable, &row};
    // A jar or a module starts the program without a class named.
    const bool startable = !settings.mainClass.empty() || !settings.mainJar.empty() ||
                           !settings.mainModule.empty() || settings.embeddedJar;
    if (row.required && !startable) return {SettingsOutcome::requiredKeyEmpty, &row};
  }
  return {};
}

}  // namespace launcher
