#include "runtime/candidate_ranking.h"

#include <algorithm>

#include "runtime/search_trace.h"

namespace launcher {
namespace {

// Whether `a` belongs strictly before `b` in the order of `orderCandidates`.
bool ranksHigher(const JvmCandidate& a, const JvmCandidate& b, const RuntimeCriteria& criteria) {
  if (criteria.sourceFavored && a.favored != b.favored) return a.favored;
  if (criteria.jvmType == JvmType::favorServer && a.isServer != b.isServer) return a.isServer;
  return JavaVersion::compare(a.version, b.version) > 0;
}

}  // namespace

void orderCandidates(std::vector<JvmCandidate>& candidates, const RuntimeCriteria& criteria) {
  // Stable, so equals keep the order in which they were found: the key table's, then the
  // registry's.
  std::stable_sort(candidates.begin(), candidates.end(),
                   [&](const JvmCandidate& a, const JvmCandidate& b) { return ranksHigher(a, b, criteria); });
}

std::optional<JvmCandidate> pickCandidate(std::vector<JvmCandidate>& candidates, const RuntimeCriteria& criteria) {
  if (candidates.empty()) return std::nullopt;
  orderCandidates(candidates, criteria);
  traceOrder(candidates);
  for (const std::u16string& entry : criteria.preferredVersions) {
    JavaVersion pattern;
    pattern.parse(entry, 0);
    for (const JvmCandidate& candidate : candidates) {
      if (JavaVersion::matchesPattern(candidate.version, pattern)) {
        traceTaken(candidate, &entry);
        return candidate;
      }
    }
  }
  traceTaken(candidates.front(), nullptr);
  return candidates.front();
}

}  // namespace launcher
