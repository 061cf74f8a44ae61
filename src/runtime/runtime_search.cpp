#include "runtime/runtime_search.h"

#include <algorithm>
#include <utility>

#include "base/path.h"

namespace launcher {
namespace {

struct JvmDllLocation {
  std::u16string_view relativePath;
  bool isServer;
};

constexpr JvmDllLocation kServerJvm{u"bin\\server\\jvm.dll", true};

// The order in which a home is searched when no server VM is demanded or favoured. The server VM
// sits after the classic and hotspot ones, as runtimes that ship both expect.
constexpr std::array<JvmDllLocation, 5> kJvmDllLocations{{
    {u"bin\\client\\jvm.dll", false},
    {u"bin\\classic\\jvm.dll", false},
    {u"bin\\hotspot\\jvm.dll", false},
    kServerJvm,
    {u"bin\\jrockit\\jvm.dll", false},
}};

// Whether `a` belongs strictly before `b` in the order of `orderCandidates`.
bool ranksHigher(const JvmCandidate& a, const JvmCandidate& b, const RuntimeCriteria& criteria) {
  if (criteria.sourceFavored && a.favored != b.favored) return a.favored;
  if (criteria.jvmType == JvmType::favorServer && a.isServer != b.isServer) return a.isServer;
  return JavaVersion::compare(a.version, b.version) > 0;
}

}  // namespace

JvmDllProbe findJvmDll(RuntimeEnvironment& env, std::u16string_view home, JvmType jvmType) {
  if (jvmType != JvmType::any) {
    std::u16string path = joinPath(home, kServerJvm.relativePath);
    if (env.fileExists(path)) return {std::move(path), true};
    if (jvmType == JvmType::server) return {};
  }
  for (const JvmDllLocation& location : kJvmDllLocations) {
    std::u16string path = joinPath(home, location.relativePath);
    if (env.fileExists(path)) return {std::move(path), location.isServer};
  }
  return {};
}

std::optional<std::u16string> findBesideLauncher(RuntimeEnvironment& env, std::u16string_view launcherFolder) {
  // Without a folder the probes below would look in the current directory, which is not where
  // the launcher lies.
  if (launcherFolder.empty()) return std::nullopt;
  std::u16string home = withTrailingBackslash(launcherFolder);
  if (env.fileExists(joinPath(home, u"bin\\java.dll"))) return home;
  home += u"jre\\";
  if (env.fileExists(joinPath(home, u"bin\\java.dll"))) return home;
  return std::nullopt;
}

const std::array<RegisteredRuntimeKey, 7> kRegisteredRuntimeKeys{{
    {u"Software\\JavaSoft\\JDK\\", RuntimeKind::jdk, RuntimeVendor::sun, u"", false},
    {u"Software\\JavaSoft\\JRE\\", RuntimeKind::jre, RuntimeVendor::sun, u"", false},
    {u"Software\\JavaSoft\\Java Development Kit\\", RuntimeKind::jdk, RuntimeVendor::sun, u"jre\\", false},
    {u"Software\\JavaSoft\\Java Runtime Environment\\", RuntimeKind::jre, RuntimeVendor::sun, u"", true},
    {u"Software\\JRockit\\Java Runtime Environment\\", RuntimeKind::jre, RuntimeVendor::jrockit, u"", false},
    {u"Software\\JRockit\\Java Development Kit\\", RuntimeKind::jdk, RuntimeVendor::jrockit, u"jre\\", false},
    {u"Software\\IBM\\Java2 Runtime Environment\\", RuntimeKind::jre, RuntimeVendor::ibm, u"", false},
}};

bool isKindAccepted(RuntimeKind kind, const RuntimeCriteria& criteria) {
  return kind == RuntimeKind::jdk ? criteria.jdkAccepted : criteria.jreAccepted;
}

bool isKeySearched(const RegisteredRuntimeKey& key, const RuntimeCriteria& criteria) {
  const VendorRule& vendor = criteria.vendor(key.vendor);
  return (criteria.sourceFavored || isKindAccepted(key.kind, criteria)) && (vendor.accepted || vendor.favored);
}

bool isWithinVersionRange(const JavaVersion& version, const RuntimeCriteria& criteria) {
  if (JavaVersion::compare(version, criteria.minimumVersion) < 0) return false;
  return JavaVersion::isUnbounded(criteria.maximumVersion) ||
         JavaVersion::compare(version, criteria.maximumVersion) <= 0;
}

bool probeRegisteredRuntime(RuntimeEnvironment& env, const RegisteredRuntimeKey& key, std::u16string_view subkeyName,
                            RegistryView view, JvmType jvmType, std::u16string& home, bool& isServer) {
  std::optional<std::u16string> javaHome = env.readString(joinPath(key.path, subkeyName), u"JavaHome", view);
  if (!javaHome || javaHome->empty()) return false;
  std::u16string probedHome = withTrailingBackslash(*javaHome) + std::u16string(key.homeSuffix);
  JvmType probeType = key.probesFavorServerAsDefault && jvmType == JvmType::favorServer ? JvmType::any : jvmType;
  JvmDllProbe probe = findJvmDll(env, probedHome, probeType);
  if (probe.path.empty()) return false;
  home = std::move(probedHome);
  isServer = probe.isServer;
  return true;
}

void scanRegistryKey(RuntimeEnvironment& env, const RegisteredRuntimeKey& key, RegistryView view,
                     const RuntimeCriteria& criteria, std::vector<JvmCandidate>& candidates) {
  const bool favored = isKindAccepted(key.kind, criteria) && criteria.vendor(key.vendor).favored;
  for (const std::u16string& name : env.subkeyNames(key.path, view)) {
    // A name without digits (or with an overflowing group) reads as 0.0.0.0 and is filtered
    // like any other version.
    JavaVersion version;
    version.parse(name, 0);
    if (!isWithinVersionRange(version, criteria)) continue;
    std::u16string home;
    bool isServer = false;
    if (!probeRegisteredRuntime(env, key, name, view, criteria.jvmType, home, isServer)) continue;
    candidates.push_back({version, std::move(home), isServer, favored, key.vendor});
  }
}

void orderCandidates(std::vector<JvmCandidate>& candidates, const RuntimeCriteria& criteria) {
  // Stable, so equals keep the order in which they were found: the key table's, then the
  // registry's.
  std::stable_sort(candidates.begin(), candidates.end(),
                   [&](const JvmCandidate& a, const JvmCandidate& b) { return ranksHigher(a, b, criteria); });
}

std::optional<JvmCandidate> pickCandidate(std::vector<JvmCandidate>& candidates, const RuntimeCriteria& criteria) {
  if (candidates.empty()) return std::nullopt;
  orderCandidates(candidates, criteria);
  for (const std::u16string& entry : criteria.preferredVersions) {
    JavaVersion pattern;
    pattern.parse(entry, 0);
    for (const JvmCandidate& candidate : candidates) {
      if (JavaVersion::matchesPattern(candidate.version, pattern)) return candidate;
    }
  }
  return candidates.front();
}

std::optional<JvmCandidate> chooseRegistered(RuntimeEnvironment& env, const RuntimeCriteria& criteria,
                                             RegistryView view) {
  // Only the companion executable can start a runtime from the 64-bit view.
  if (view == RegistryView::view64 && !criteria.withCompanion) return std::nullopt;
  std::vector<JvmCandidate> candidates;
  for (const RegisteredRuntimeKey& key : kRegisteredRuntimeKeys) {
    if (isKeySearched(key, criteria)) scanRegistryKey(env, key, view, criteria, candidates);
  }
  return pickCandidate(candidates, criteria);
}

RuntimeLocation locateRuntimeStages(RuntimeEnvironment& env, const RuntimeCriteria& criteria,
                                    std::u16string_view launcherFolder) {
  // An empty "JRE Path" is no path at all rather than the root of the current drive.
  if (!criteria.jrePath.empty()) {
    JvmDllProbe probe = findJvmDll(env, withTrailingBackslash(criteria.jrePath), criteria.jvmType);
    if (!probe.path.empty()) return {RuntimeSource::jrePath, std::move(probe.path), std::nullopt, std::nullopt};
  }
  if (std::optional<std::u16string> home = findBesideLauncher(env, launcherFolder)) {
    JvmDllProbe probe = findJvmDll(env, *home, criteria.jvmType);
    if (!probe.path.empty()) return {RuntimeSource::besideLauncher, std::move(probe.path), std::nullopt, std::nullopt};
  }
  // The probe of a registered runtime may have used another VM type than the setting (see the
  // key table), so its jvm.dll is looked up again with the setting as written.
  RuntimeSource source = RuntimeSource::registry;
  std::optional<JvmCandidate> chosen = chooseRegistered(env, criteria, RegistryView::defaultView);
  if (!chosen) {
    source = RuntimeSource::registry64;
    chosen = chooseRegistered(env, criteria, RegistryView::view64);
  }
  if (chosen) {
    JvmDllProbe probe = findJvmDll(env, chosen->home, criteria.jvmType);
    if (!probe.path.empty()) return {source, std::move(probe.path), chosen->vendor, chosen->version};
  }
  return {};
}

}  // namespace launcher
