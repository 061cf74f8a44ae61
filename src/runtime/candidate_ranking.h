#pragma once
// Which of the candidates of one registry pass is taken: their order of rank, then the first
// preferred version any of them matches.

#include <optional>
#include <vector>

#include "runtime/runtime_candidates.h"

namespace launcher {

// Best first: favoured (only when the kind setting favours one), then server VM (only under
// "favor_server"), then newest. Candidates that rank equal keep the order they were found in.
void orderCandidates(std::vector<JvmCandidate>& candidates, const RuntimeCriteria& criteria);

// Orders `candidates` and takes the first that matches the first preferred version any of them
// matches; without such a match, the best. Nothing for an empty list.
std::optional<JvmCandidate> pickCandidate(std::vector<JvmCandidate>& candidates, const RuntimeCriteria& criteria);

}  // namespace launcher
