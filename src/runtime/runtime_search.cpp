#include "runtime/runtime_search.h"

#include <utility>

#include "base/path.h"
#include "base/text.h"
#include "base/trace.h"
#include "runtime/release_file.h"
#include "runtime/search_trace.h"

namespace launcher {
namespace {

std::u16string_view probeOutcome(const JvmDllProbe& probe) {
  if (!probe.path.empty()) return u"taken";
  return probe.passedOver.empty() ? verdictText(Verdict::noJvmDll) : probe.passedOver;
}

}  // namespace

std::optional<JvmCandidate> chooseRegistered(RuntimeEnvironment& env, const RuntimeCriteria& criteria,
                                             RegistryView view) {
  // Only the companion executable can start a runtime from the 64-bit view.
  const std::u16string_view viewName = view == RegistryView::view64 ? u"64-bit view" : u"default view";
  if (view == RegistryView::view64 && !criteria.withCompanion) {
    traceSearch(u"64-bit view not searched: no \"Pair Product\" to start a runtime found there");
    return std::nullopt;
  }
  if (tracing()) traceSearch(u"registry, " + std::u16string(viewName));
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
  if (!chosen && tracing()) traceSearch(u"no candidate in the " + std::u16string(viewName));
  return chosen;
}

RuntimeLocation findJavaHomeJvm(RuntimeEnvironment& env, const RuntimeCriteria& criteria) {
  std::u16string value = env.javaHomeVariable();
  if (value.empty()) {
    traceSearch(u"JAVA_HOME: not set");
    return {};
  }
  // A relative value would be taken against whatever folder the user started the launcher from.
  if (!isAbsolutePath(value)) {
    if (tracing()) traceStage(u"JAVA_HOME " + quotedForTrace(value), u"rejected: not an absolute path");
    return {};
  }
  std::u16string home = withTrailingBackslash(value);
  std::optional<std::string> release = env.readReleaseFile(home);
  std::optional<JavaVersion> stated = release ? releaseJavaVersion(*release) : std::nullopt;
  // Without a readable version it is filtered as a registry name without digits.
  JavaVersion version = stated.value_or(JavaVersion{});
  std::u16string facts;
  if (tracing()) {
    facts = u"JAVA_HOME " + quotedForTrace(value) + u": version " + JavaVersion::toString(version) +
            (stated ? u" (from release file)" : u" (no release file version)");
  }
  if (!isWithinVersionRange(version, criteria)) {
    traceStage(facts, verdictText(Verdict::versionRange));
    return {};
  }
  const RunnableMachines machines = runnableMachines(criteria);
  JvmDllProbe probe = findJvmDll(env, home, criteria.jvmType, &machines);
  traceStage(facts, probeOutcome(probe));
  if (probe.path.empty()) return {};
  // The release file is read here once: what it says of the vendor goes with the location.
  std::optional<RuntimeVendor> vendor =
      release && isIbmRelease(*release) ? std::optional(RuntimeVendor::ibm) : std::nullopt;
  return {RuntimeSource::javaHome, std::move(probe.path), vendor, stated};
}

void completeFromReleaseFile(RuntimeEnvironment& env, RuntimeLocation& location) {
  // JAVA_HOME's release file was read by the search itself.
  if (location.jvmDllPath.empty() || location.source == RuntimeSource::javaHome ||
      (location.version && location.vendor)) {
    return;
  }
  std::optional<std::string> release =
      env.readReleaseFile(withTrailingBackslash(withoutLastComponents(location.jvmDllPath, 3)));
  if (!release) return;
  if (!location.version) location.version = releaseJavaVersion(*release);
  if (!location.vendor && isIbmRelease(*release)) location.vendor = RuntimeVendor::ibm;
}

RuntimeLocation locateRuntimeStages(RuntimeEnvironment& env, const RuntimeCriteria& criteria,
                                    std::u16string_view launcherFolder) {
  traceCriteria(criteria);
  // Every stage passes over a jvm.dll that could not be started, so that the next one may win.
  const RunnableMachines machines = runnableMachines(criteria);
  // An empty "JRE Path" is no path at all rather than the root of the current drive.
  if (!criteria.jrePath.empty()) {
    JvmDllProbe probe = findJvmDll(env, withTrailingBackslash(criteria.jrePath), criteria.jvmType, &machines);
    if (tracing()) traceStage(u"\"JRE Path\" " + quotedForTrace(criteria.jrePath), probeOutcome(probe));
    if (!probe.path.empty()) return {RuntimeSource::jrePath, std::move(probe.path), std::nullopt, std::nullopt};
  }
  if (std::optional<std::u16string> home = findBesideLauncher(env, launcherFolder)) {
    JvmDllProbe probe = findJvmDll(env, *home, criteria.jvmType, &machines);
    if (tracing()) traceStage(u"beside the launcher " + quotedForTrace(*home), probeOutcome(probe));
    if (!probe.path.empty()) return {RuntimeSource::besideLauncher, std::move(probe.path), std::nullopt, std::nullopt};
  } else if (tracing()) {
    traceStage(u"beside the launcher " + quotedForTrace(launcherFolder), u"no bin\\java.dll there or in jre\\");
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
    JvmDllProbe probe = findJvmDll(env, chosen->home, criteria.jvmType, &machines);
    if (chosen->root == RegistryRoot::currentUser) source = RuntimeSource::registryUser;
    // A vendor key says nothing of the runtime's own habits; its release file does, later.
    std::optional<RuntimeVendor> vendor = chosen->fromVendorKey ? std::nullopt : std::optional(chosen->vendor);
    if (!probe.path.empty()) return {source, std::move(probe.path), vendor, chosen->version};
  }
  return {};
}

}  // namespace launcher
