#include "runtime/runtime_candidates.h"

#include <utility>

#include "runtime/jvm_dll_probe.h"
#include "runtime/search_trace.h"

namespace launcher {

bool isKindAccepted(RuntimeKind kind, const RuntimeCriteria& criteria) {
  return kind == RuntimeKind::jdk ? criteria.jdkAccepted : criteria.jreAccepted;
}

bool isAccepted(RuntimeKind kind, RuntimeVendor vendor, const RuntimeCriteria& criteria) {
  const VendorRule& rule = criteria.vendor(vendor);
  return (criteria.sourceFavored || isKindAccepted(kind, criteria)) && (rule.accepted || rule.favored);
}

bool isWithinVersionRange(const JavaVersion& version, const RuntimeCriteria& criteria) {
  if (JavaVersion::compare(version, criteria.minimumVersion) < 0) return false;
  return JavaVersion::isUnbounded(criteria.maximumVersion) ||
         JavaVersion::compare(version, criteria.maximumVersion) <= 0;
}

void admit(RuntimeEnvironment& env, Registration r, const RuntimeCriteria& criteria,
           std::vector<JvmCandidate>& candidates, const ReadHome& readHome) {
  if (!isAccepted(r.kind, r.vendor, criteria)) {
    traceRegistration(r, Verdict::kindOrVendor);
    return;
  }
  if (!isWithinVersionRange(r.version, criteria)) {
    traceRegistration(r, Verdict::versionRange);
    return;
  }
  // A registration out of range needs no further reading.
  if (r.home.empty() && (!readHome || !readHome(r))) return;
  const RunnableMachines machines = runnableMachines(criteria);
  JvmDllProbe probe = findJvmDll(env, r.home, r.probeType, &machines);
  if (probe.path.empty()) {
    // A runtime of another machine in the same registry view (ARM64 beside x64 on Windows on
    // ARM) would be chosen for its version and then fail to load.
    traceRegistration(r, probe.passedOver.empty() ? Verdict::noJvmDll : Verdict::foreignMachine, probe.passedOver);
    return;
  }
  traceRegistration(r, probe.isServer ? Verdict::serverCandidate : Verdict::clientCandidate);
  const bool favored = isKindAccepted(r.kind, criteria) && criteria.vendor(r.vendor).favored;
  candidates.push_back({r.version, std::move(r.home), probe.isServer, favored, r.vendor, r.fromVendorKey, r.root});
}

}  // namespace launcher
