#pragma once
// The decision whether the companion executable ("Pair Product", the launcher of the other
// architecture) starts in this launcher's place, with the reason the trace gives for it. The
// rule that acts and the words that explain it are one function, so they cannot drift apart.

#include <functional>
#include <string_view>

namespace launcher {

struct CompanionFacts {
  // Another launcher started this one as its companion: it never hands on again.
  bool startedAsCompanion = false;
  bool pairProductNamed = false;
  // "Pair Product" names this launcher itself.
  bool pairIsThisLauncher = false;
  // The runtime came from this launcher's own registry view or folder, so it loads here.
  bool runtimeLoadsHere = false;
};

struct CompanionDecision {
  bool relaunch = false;
  // "yes: ..." or "no: ...".
  std::u16string_view reason;
};

// Whether a companion may be started at all: one is named, it is not this launcher, and this
// launcher is not a companion already.
bool mayStartCompanion(const CompanionFacts& facts);

// Relaunch through the companion exactly when one may start and the chosen jvm.dll is built for
// its architecture (`jvmIsForCompanion`, asked only then). The search has already passed over a
// runtime whose headers name a machine neither launcher may start; one that still cannot be
// handed on is tried here, so that the load error names it.
CompanionDecision decideCompanion(const CompanionFacts& facts, const std::function<bool()>& jvmIsForCompanion);

}  // namespace launcher
