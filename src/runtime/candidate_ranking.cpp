#include "runtime/candidate_ranking.h"

#include <utility>

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
  // registry's. An insertion sort: a machine has a handful of runtimes, and std::stable_sort's
  // merging buffers would weigh more in the launcher than all of this file.
  for (size_t i = 1; i < candidates.size(); ++i) {
    for (size_t j = i; j > 0 && ranksHigher(candidates[j], candidates[j - 1], criteria); --j) {
      std::swap(candidates[j], candidates[j - 1]);
    }
  }
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
