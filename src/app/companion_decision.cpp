#include "app/companion_decision.h"

namespace launcher {

bool mayStartCompanion(const CompanionFacts& facts) {
  return !facts.startedAsCompanion && facts.pairProductNamed && !facts.pairIsThisLauncher;
}

CompanionDecision decideCompanion(const CompanionFacts& facts, const std::function<bool()>& jvmIsForCompanion) {
  if (facts.runtimeLoadsHere) return {false, u"no: a runtime from this launcher's own registry view or folder loads here"};
  if (!facts.pairProductNamed) return {false, u"no: no \"Pair Product\""};
  if (facts.startedAsCompanion) return {false, u"no: this launcher is the companion"};
  if (facts.pairIsThisLauncher) return {false, u"no: \"Pair Product\" names this launcher"};
  if (!jvmIsForCompanion()) return {false, u"no: the jvm.dll is not built for the companion"};
  return {true, u"yes: the jvm.dll is built for the companion"};
}

}  // namespace launcher
