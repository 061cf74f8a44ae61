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
  JvmDllProbe probe = findJvmDll(env, r.home, r.probeType);
  if (probe.path.empty()) {
    traceRegistration(r, Verdict::noJvmDll);
    return;
  }
  traceRegistration(r, probe.isServer ? Verdict::serverCandidate : Verdict::clientCandidate);
  const bool favored = isKindAccepted(r.kind, criteria) && criteria.vendor(r.vendor).favored;
  candidates.push_back({r.version, std::move(r.home), probe.isServer, favored, r.vendor, r.fromVendorKey, r.root});
}

}  // namespace launcher
