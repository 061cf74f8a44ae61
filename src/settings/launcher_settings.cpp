#include "settings/launcher_settings.h"

#include <algorithm>

#include "base/text.h"

namespace launcher {
namespace {

constexpr std::u16string_view kProductInformation = u"Product Information";
constexpr std::u16string_view kJavaRuntime = u"Java Runtime Environment";
constexpr std::u16string_view kApplication = u"Application";

struct VmProviderRow {
  std::u16string_view name;
  bool jrockitAccepted, jrockitFavored, sunAccepted, sunFavored, ibmAccepted, ibmFavored;
};

constexpr VmProviderRow kVmProviders[] = {
    {u"jrockit", true, true, false, false, false, false},
    {u"ibm", false, false, false, false, true, true},
    {u"favor_sun", true, false, true, true, true, false},
    {u"favor_jrockit", true, true, true, false, true, false},
    {u"favor_ibm", true, false, true, false, true, true},
    {u"any", true, false, true, false, true, false},
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

}  // namespace

bool isExactYes(std::u16string_view value) { return value == u"yes"; }

bool isYesInAnyCase(std::u16string_view value) { return equalsIgnoringAsciiCase(value, u"yes"); }

bool isExactTrue(std::u16string_view value) { return value == u"true"; }

bool isServiceType(std::u16string_view value) { return value == u"service"; }

std::int32_t jvmTypeFrom(std::u16string_view value) {
  if (value == u"server") return 1;
  if (value == u"favor_server") return 2;
  return 0;
}

void applyJvmSource(std::u16string_view value, LauncherSettings& settings) {
  if (value.empty()) {
    settings.jdkAccepted = true;
    settings.jreAccepted = true;
    return;
  }
  for (const JvmSourceRow& row : kJvmSources) {
    if (value == row.name) {
      settings.jdkAccepted = row.jdkAccepted;
      settings.jreAccepted = row.jreAccepted;
      settings.sourceFavored = row.sourceFavored;
      return;
    }
  }
  settings.jdkAccepted = false;
  settings.jreAccepted = false;
  settings.sourceFavored = false;
}

void applyVmProvider(std::u16string_view value, LauncherSettings& settings) {
  for (const VmProviderRow& row : kVmProviders) {
    if (equalsIgnoringAsciiCase(value, row.name)) {
      settings.jrockitAccepted = row.jrockitAccepted;
      settings.jrockitFavored = row.jrockitFavored;
      settings.sunAccepted = row.sunAccepted;
      settings.sunFavored = row.sunFavored;
      settings.ibmAccepted = row.ibmAccepted;
      settings.ibmFavored = row.ibmFavored;
      return;
    }
  }
}

std::vector<std::u16string> splitPreferredVersions(std::u16string_view value) {
  std::vector<std::u16string> versions;
  size_t start = 0;
  while (start < value.size()) {
    size_t separator = value.find(u';', start);
    if (separator == std::u16string_view::npos) separator = value.size();
    versions.emplace_back(value.substr(start, separator - start));
    start = separator + 1;
  }
  return versions;
}

JrePathSource jrePathSource(bool isService, bool userFileExists) {
  if (isService) return JrePathSource::mainLayered;
  return userFileExists ? JrePathSource::userPlain : JrePathSource::mainLayered;
}

bool readSettingsFrom(SettingsSource& source, LauncherSettings& settings) {
  settings.productCode = source.readMainPlain(kProductInformation, u"Product Code");
  settings.productName = source.readMainPlain(kProductInformation, u"Product Name");

  settings.minimumVersion =
      minimumVersionFrom(source.readMainLayered(kJavaRuntime, u"Minimum Version"));
  settings.maximumVersion =
      maximumVersionFrom(source.readMainLayered(kJavaRuntime, u"Maximum Version"));
  settings.isService = isServiceType(source.readMainLayered(kApplication, u"Application Type"));
  settings.preferredVersions =
      splitPreferredVersions(source.readMainLayered(kJavaRuntime, u"Preferred versions"));

  // A service keeps the runtime choice in its main file; a per-user file is not even looked for.
  ProductIdentity product{settings.productName, settings.productCode};
  bool userFileExists = !settings.isService && source.userFileExists(product);
  if (jrePathSource(settings.isService, userFileExists) == JrePathSource::userPlain) {
    settings.jrePath = source.readUserPlain(product, kJavaRuntime, u"JRE Path");
  } else {
    settings.jrePath = source.readMainLayered(kJavaRuntime, u"JRE Path");
  }

  settings.jvmType = jvmTypeFrom(source.readMainLayered(kJavaRuntime, u"JVM Type"));
  applyJvmSource(source.readMainLayered(kJavaRuntime, u"JVM Source"), settings);
  applyVmProvider(source.readMainLayered(kJavaRuntime, u"VM Provider"), settings);

  settings.mainClass = source.readMainLayered(kJavaRuntime, u"Main Class");
  if (settings.mainClass.empty()) return false;
  // JNI names classes with "/" between the package names.
  std::replace(settings.mainClass.begin(), settings.mainClass.end(), u'.', u'/');

  settings.failureCheck = isYesInAnyCase(source.readMainLayered(kApplication, u"Failure Check"));
  settings.overrideWorkingDir =
      isYesInAnyCase(source.readMainLayered(kApplication, u"Override WorkingDir"));
  settings.systemPath = source.readMainLayered(kJavaRuntime, u"System Path");
  settings.libraryPath = source.readMainLayered(kJavaRuntime, u"Library Path");
  settings.pairProduct = source.readMainLayered(kApplication, u"Pair Product");
  settings.pairReturnCode =
      isYesInAnyCase(source.readMainLayered(kApplication, u"Pair Return Code"));
  return true;
}

}  // namespace launcher
