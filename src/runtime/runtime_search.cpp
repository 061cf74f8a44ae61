#include "runtime/runtime_search.h"

#include <algorithm>
#include <utility>

#include "base/path.h"
#include "base/text.h"
#include "base/trace.h"
#include "runtime/release_file.h"

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

constexpr std::u16string_view kTrace = u"runtime";

constexpr std::u16string_view kClassicVendorNames[kRuntimeVendorCount] = {u"Sun", u"JRockit", u"IBM"};

std::u16string_view kindName(RuntimeKind kind) { return kind == RuntimeKind::jdk ? u"JDK" : u"JRE"; }

// "HKLM\Software\...\1.8 (64-bit view)": where a registration was read.
std::u16string registrationText(RegistryRoot root, std::u16string_view keyPath, RegistryView view) {
  std::u16string text(root == RegistryRoot::currentUser ? u"HKCU\\" : u"HKLM\\");
  text += keyPath;
  text += view == RegistryView::view64 ? u" (64-bit view)" : u" (default view)";
  return text;
}

// One line about a registered runtime: where, what it is, and the verdict.
void traceRegistration(RegistryRoot root, std::u16string_view keyPath, RegistryView view, std::u16string_view facts,
                       std::u16string_view verdict) {
  if (!tracing()) return;
  std::u16string line = registrationText(root, keyPath, view);
  if (!facts.empty()) line += u": " + std::u16string(facts);
  line += u": ";
  line += verdict;
  trace(kTrace, line);
}

std::u16string runtimeFacts(const JavaVersion& version, std::u16string_view versionFrom, RuntimeKind kind,
                            std::u16string_view vendor, std::u16string_view home) {
  std::u16string facts = u"version " + JavaVersion::toString(version) + u" (from " + std::u16string(versionFrom) +
                         u"), " + std::u16string(kindName(kind)) + u", " + std::u16string(vendor);
  if (!home.empty()) facts += u", home " + quotedForTrace(home);
  return facts;
}

std::u16string_view takenText(bool isServer) { return isServer ? u"candidate (server VM)" : u"candidate (client VM)"; }

std::u16string versionText(const JavaVersion& v) { return JavaVersion::isUnbounded(v) ? u"none" : JavaVersion::toString(v); }

void traceCriteria(const RuntimeCriteria& c) {
  if (!tracing()) return;
  constexpr std::u16string_view kJvmTypes[] = {u"any", u"server", u"favor_server"};
  auto yesNo = [](bool b) { return b ? u"yes" : u"no"; };
  std::u16string line = u"looking for: minimum version " + versionText(c.minimumVersion) + u", maximum version " +
                        versionText(c.maximumVersion) + u", JVM Type " +
                        std::u16string(kJvmTypes[static_cast<int>(c.jvmType)]) + u", JDK accepted " +
                        yesNo(c.jdkAccepted) + u", JRE accepted " + yesNo(c.jreAccepted) + u", kind favoured " +
                        yesNo(c.sourceFavored) + u", preferred versions " +
                        decimalText(c.preferredVersions.size()) + u", companion " + yesNo(c.withCompanion) +
                        u", vendor keys " + yesNo(c.searchVendorKeys) + u", JAVA_HOME " + yesNo(c.useJavaHome);
  trace(kTrace, line);
}

// The version of a runtime found under a vendor key, and where it was read.
JavaVersion vendorRuntimeVersion(RuntimeEnvironment& env, std::u16string_view subkeyName, std::u16string_view home,
                                 std::u16string_view& from) {
  JavaVersion version;
  if (!subkeyName.empty() && isAsciiDigit(subkeyName.front()) && version.parse(subkeyName, 0)) {
    from = u"key name";
    return version;
  }
  if (std::optional<std::string> release = env.readReleaseFile(home)) {
    if (std::optional<JavaVersion> stated = releaseJavaVersion(*release)) {
      from = u"release file";
      return *stated;
    }
  }
  // As a classic key's name: its digits, or 0.0.0.0 without any.
  version.parse(subkeyName, 0);
  from = u"key name digits";
  return version;
}

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
  std::u16string keyPath = joinPath(key.path, subkeyName);
  std::optional<std::u16string> javaHome = env.readString(RegistryRoot::localMachine, keyPath, u"JavaHome", view);
  if (!javaHome || javaHome->empty()) {
    traceRegistration(RegistryRoot::localMachine, keyPath, view, {}, u"rejected: no \"JavaHome\" value");
    return false;
  }
  std::u16string probedHome = withTrailingBackslash(*javaHome) + std::u16string(key.homeSuffix);
  JvmType probeType = key.probesFavorServerAsDefault && jvmType == JvmType::favorServer ? JvmType::any : jvmType;
  JvmDllProbe probe = findJvmDll(env, probedHome, probeType);
  if (probe.path.empty()) {
    if (tracing()) {
      traceRegistration(RegistryRoot::localMachine, keyPath, view, u"home " + quotedForTrace(probedHome),
                        u"rejected: no jvm.dll there for the JVM Type");
    }
    return false;
  }
  home = std::move(probedHome);
  isServer = probe.isServer;
  return true;
}

void scanRegistryKey(RuntimeEnvironment& env, const RegisteredRuntimeKey& key, RegistryView view,
                     const RuntimeCriteria& criteria, std::vector<JvmCandidate>& candidates) {
  const bool favored = isKindAccepted(key.kind, criteria) && criteria.vendor(key.vendor).favored;
  const std::u16string_view vendorName = kClassicVendorNames[static_cast<size_t>(key.vendor)];
  for (const std::u16string& name : env.subkeyNames(RegistryRoot::localMachine, key.path, view)) {
    // A name without digits (or with an overflowing group) reads as 0.0.0.0 and is filtered
    // like any other version.
    JavaVersion version;
    version.parse(name, 0);
    if (!isWithinVersionRange(version, criteria)) {
      if (tracing()) {
        traceRegistration(RegistryRoot::localMachine, joinPath(key.path, name), view,
                          runtimeFacts(version, u"key name", key.kind, vendorName, {}),
                          u"rejected: version outside the range");
      }
      continue;
    }
    std::u16string home;
    bool isServer = false;
    if (!probeRegisteredRuntime(env, key, name, view, criteria.jvmType, home, isServer)) continue;
    if (tracing()) {
      traceRegistration(RegistryRoot::localMachine, joinPath(key.path, name), view,
                        runtimeFacts(version, u"key name", key.kind, vendorName, home), takenText(isServer));
    }
    candidates.push_back({version, std::move(home), isServer, favored, key.vendor});
  }
}

const std::array<VendorRuntimeKey, 8> kVendorRuntimeKeys{{
    {u"SOFTWARE\\Eclipse Adoptium\\JDK\\", u"Eclipse Adoptium", VendorLayout::msi, RuntimeKind::jdk, true},
    {u"SOFTWARE\\Eclipse Adoptium\\JRE\\", u"Eclipse Adoptium", VendorLayout::msi, RuntimeKind::jre, true},
    {u"SOFTWARE\\AdoptOpenJDK\\JDK\\", u"AdoptOpenJDK", VendorLayout::msi, RuntimeKind::jdk, true},
    {u"SOFTWARE\\AdoptOpenJDK\\JRE\\", u"AdoptOpenJDK", VendorLayout::msi, RuntimeKind::jre, true},
    {u"SOFTWARE\\Eclipse Foundation\\JDK\\", u"Eclipse Foundation", VendorLayout::msi, RuntimeKind::jdk, true},
    {u"SOFTWARE\\Eclipse Foundation\\JRE\\", u"Eclipse Foundation", VendorLayout::msi, RuntimeKind::jre, true},
    {u"SOFTWARE\\Microsoft\\JDK\\", u"Microsoft", VendorLayout::msi, RuntimeKind::jdk, false},
    {u"SOFTWARE\\Azul Systems\\Zulu\\", u"Azul Zulu", VendorLayout::installationPath, RuntimeKind::jdk, false},
}};

namespace {

// Where one vendor registration was found and what it says about itself.
struct VendorRegistration {
  const VendorRuntimeKey& key;
  RegistryRoot root;
  RegistryView view;
  std::u16string keyPath;  // of the key holding the path value
  std::u16string_view valueName;
  std::u16string_view versionName;  // the version (or Zulu) subkey's name
  RuntimeVendor rule;  // whose "VM Provider" rule applies
};

void considerVendorRuntime(RuntimeEnvironment& env, const VendorRegistration& r, const RuntimeCriteria& criteria,
                           std::vector<JvmCandidate>& candidates) {
  std::optional<std::u16string> path = env.readString(r.root, r.keyPath, r.valueName, r.view);
  if (!path || path->empty()) {
    if (tracing()) {
      traceRegistration(r.root, r.keyPath, r.view, {},
                        u"rejected: no " + quotedForTrace(r.valueName) + u" value");
    }
    return;
  }
  std::u16string home = withTrailingBackslash(*path);
  RuntimeKind kind = r.key.kind;
  if (r.key.layout == VendorLayout::installationPath) {
    kind = env.fileExists(joinPath(home, u"bin\\javac.exe")) ? RuntimeKind::jdk : RuntimeKind::jre;
  }
  std::u16string_view versionFrom;
  JavaVersion version = vendorRuntimeVersion(env, r.versionName, home, versionFrom);
  auto report = [&](std::u16string_view verdict) {
    if (tracing()) {
      traceRegistration(r.root, r.keyPath, r.view, runtimeFacts(version, versionFrom, kind, r.key.vendorName, home),
                        verdict);
    }
  };
  const VendorRule& rule = criteria.vendor(r.rule);
  if (!(criteria.sourceFavored || isKindAccepted(kind, criteria)) || !(rule.accepted || rule.favored)) {
    report(u"rejected: kind or VM vendor not accepted (\"JVM Source\", \"VM Provider\")");
    return;
  }
  if (!isWithinVersionRange(version, criteria)) {
    report(u"rejected: version outside the range");
    return;
  }
  JvmDllProbe probe = findJvmDll(env, home, criteria.jvmType);
  if (probe.path.empty()) {
    report(u"rejected: no jvm.dll there for the JVM Type");
    return;
  }
  report(takenText(probe.isServer));
  candidates.push_back({version, std::move(home), probe.isServer, isKindAccepted(kind, criteria) && rule.favored,
                        r.rule, true, r.root});
}

}  // namespace

void scanVendorKey(RuntimeEnvironment& env, const VendorRuntimeKey& key, RegistryRoot root, RegistryView view,
                   const RuntimeCriteria& criteria, std::vector<JvmCandidate>& candidates) {
  for (const std::u16string& name : env.subkeyNames(root, key.path, view)) {
    std::u16string registration = joinPath(key.path, name);
    if (key.layout == VendorLayout::installationPath) {
      considerVendorRuntime(
          env, {key, root, view, registration, u"InstallationPath", name, RuntimeVendor::sun}, criteria, candidates);
      continue;
    }
    for (const std::u16string& vm : env.subkeyNames(root, registration, view)) {
      // HotSpot is the VM of Sun's lineage; OpenJ9 is IBM's J9.
      bool openJ9 = key.takesOpenJ9 && equalsIgnoringAsciiCase(vm, u"openj9");
      if (!openJ9 && !equalsIgnoringAsciiCase(vm, u"hotspot")) {
        traceRegistration(root, joinPath(registration, vm), view, {}, u"skipped: not a VM this key registers");
        continue;
      }
      considerVendorRuntime(env,
                            {key, root, view, joinPath(joinPath(registration, vm), u"MSI"), u"Path", name,
                             openJ9 ? RuntimeVendor::ibm : RuntimeVendor::sun},
                            criteria, candidates);
    }
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
  if (tracing()) {
    std::u16string order = u"order:";
    for (size_t i = 0; i < candidates.size(); ++i) {
      order += u" " + decimalText(i + 1) + u". " + JavaVersion::toString(candidates[i].version) + u" " +
               quotedForTrace(candidates[i].home);
    }
    trace(kTrace, order);
  }
  for (const std::u16string& entry : criteria.preferredVersions) {
    JavaVersion pattern;
    pattern.parse(entry, 0);
    for (const JvmCandidate& candidate : candidates) {
      if (JavaVersion::matchesPattern(candidate.version, pattern)) {
        if (tracing()) trace(kTrace, u"taken: " + quotedForTrace(candidate.home) + u", preferred version " + quotedForTrace(entry));
        return candidate;
      }
    }
  }
  if (tracing()) trace(kTrace, u"taken: " + quotedForTrace(candidates.front().home) + u", first in order");
  return candidates.front();
}

std::optional<JvmCandidate> chooseRegistered(RuntimeEnvironment& env, const RuntimeCriteria& criteria,
                                             RegistryView view) {
  // Only the companion executable can start a runtime from the 64-bit view.
  const std::u16string_view viewName = view == RegistryView::view64 ? u"64-bit view" : u"default view";
  if (view == RegistryView::view64 && !criteria.withCompanion) {
    trace(kTrace, u"64-bit view not searched: no \"Pair Product\" to start a runtime found there");
    return std::nullopt;
  }
  if (tracing()) trace(kTrace, u"registry, " + std::u16string(viewName));
  std::vector<JvmCandidate> candidates;
  for (const RegisteredRuntimeKey& key : kRegisteredRuntimeKeys) {
    if (isKeySearched(key, criteria)) scanRegistryKey(env, key, view, criteria, candidates);
  }
  if (criteria.searchVendorKeys) {
    for (RegistryRoot root : {RegistryRoot::localMachine, RegistryRoot::currentUser}) {
      for (const VendorRuntimeKey& key : kVendorRuntimeKeys) scanVendorKey(env, key, root, view, criteria, candidates);
    }
  }
  std::optional<JvmCandidate> chosen = pickCandidate(candidates, criteria);
  if (!chosen && tracing()) trace(kTrace, u"no candidate in the " + std::u16string(viewName));
  return chosen;
}

RuntimeLocation findJavaHomeJvm(RuntimeEnvironment& env, const RuntimeCriteria& criteria) {
  std::u16string value = env.javaHomeVariable();
  if (value.empty()) {
    trace(kTrace, u"JAVA_HOME: not set");
    return {};
  }
  // A relative value would be taken against whatever folder the user started the launcher from.
  if (!isAbsolutePath(value)) {
    if (tracing()) trace(kTrace, u"JAVA_HOME " + quotedForTrace(value) + u": rejected: not an absolute path");
    return {};
  }
  std::u16string home = withTrailingBackslash(value);
  std::optional<std::string> release = env.readReleaseFile(home);
  std::optional<JavaVersion> stated = release ? releaseJavaVersion(*release) : std::nullopt;
  // Without a readable version it is filtered as a registry name without digits.
  JavaVersion version = stated.value_or(JavaVersion{});
  std::u16string facts = u"JAVA_HOME " + quotedForTrace(value) + u": version " + JavaVersion::toString(version) +
                         (stated ? u" (from release file)" : u" (no release file version)");
  if (!isWithinVersionRange(version, criteria)) {
    trace(kTrace, facts + u": rejected: version outside the range");
    return {};
  }
  JvmDllProbe probe = findJvmDll(env, home, criteria.jvmType);
  trace(kTrace, facts + (probe.path.empty() ? u": rejected: no jvm.dll there for the JVM Type" : u": taken"));
  if (probe.path.empty()) return {};
  return {RuntimeSource::javaHome, std::move(probe.path), std::nullopt, stated};
}

RuntimeLocation locateRuntimeStages(RuntimeEnvironment& env, const RuntimeCriteria& criteria,
                                    std::u16string_view launcherFolder) {
  traceCriteria(criteria);
  // An empty "JRE Path" is no path at all rather than the root of the current drive.
  if (!criteria.jrePath.empty()) {
    JvmDllProbe probe = findJvmDll(env, withTrailingBackslash(criteria.jrePath), criteria.jvmType);
    if (tracing()) {
      trace(kTrace, u"\"JRE Path\" " + quotedForTrace(criteria.jrePath) +
                        (probe.path.empty() ? u": rejected: no jvm.dll there for the JVM Type" : u": taken"));
    }
    if (!probe.path.empty()) return {RuntimeSource::jrePath, std::move(probe.path), std::nullopt, std::nullopt};
  }
  if (std::optional<std::u16string> home = findBesideLauncher(env, launcherFolder)) {
    JvmDllProbe probe = findJvmDll(env, *home, criteria.jvmType);
    if (tracing()) {
      trace(kTrace, u"beside the launcher " + quotedForTrace(*home) +
                        (probe.path.empty() ? u": rejected: no jvm.dll there for the JVM Type" : u": taken"));
    }
    if (!probe.path.empty()) return {RuntimeSource::besideLauncher, std::move(probe.path), std::nullopt, std::nullopt};
  } else if (tracing()) {
    trace(kTrace, u"beside the launcher " + quotedForTrace(launcherFolder) + u": no bin\\java.dll there or in jre\\");
  }
  if (criteria.useJavaHome) {
    RuntimeLocation javaHome = findJavaHomeJvm(env, criteria);
    if (javaHome.source != RuntimeSource::none) return javaHome;
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
    if (chosen->root == RegistryRoot::currentUser) source = RuntimeSource::registryUser;
    // A vendor key says nothing of the runtime's own habits; its release file does, later.
    std::optional<RuntimeVendor> vendor = chosen->fromVendorKey ? std::nullopt : std::optional(chosen->vendor);
    if (!probe.path.empty()) return {source, std::move(probe.path), vendor, chosen->version};
  }
  return {};
}

}  // namespace launcher
