#include "app/companion_decision.h"

#include <gtest/gtest.h>

namespace launcher {
namespace {

// The rule that acts and the reason the trace gives are one decision: over every combination of
// facts, the companion starts exactly when one may start, the runtime does not load here and its
// jvm.dll is built for the companion; the reason says yes exactly then; and the jvm.dll, whose
// header is read from disk, is looked at only when the rest allows a relaunch.
TEST(CompanionDecision, ActsAndExplainsAsOneOverEveryCombination) {
  for (int bits = 0; bits < 32; ++bits) {
    CompanionFacts facts;
    facts.startedAsCompanion = bits & 1;
    facts.pairProductNamed = bits & 2;
    facts.pairIsThisLauncher = facts.pairProductNamed && (bits & 4);
    facts.runtimeLoadsHere = bits & 8;
    const bool forCompanion = bits & 16;
    int asked = 0;
    const CompanionDecision decision = decideCompanion(facts, [&] {
      ++asked;
      return forCompanion;
    });
    const bool allowed = mayStartCompanion(facts) && !facts.runtimeLoadsHere;
    EXPECT_EQ(decision.relaunch, allowed && forCompanion) << bits;
    EXPECT_EQ(decision.reason.starts_with(u"yes: "), decision.relaunch) << bits;
    EXPECT_TRUE(decision.relaunch || decision.reason.starts_with(u"no: ")) << bits;
    EXPECT_EQ(asked, allowed ? 1 : 0) << bits;
  }
}

}  // namespace
}  // namespace launcher
