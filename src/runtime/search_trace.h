#pragma once
// The runtime search's lines in the trace, and all their wording: what is looked for, each
// registration with its facts and verdict, the order of the candidates and the one taken, and
// each stage's outcome. The search decides; this file only says it.

#include <string>
#include <string_view>
#include <vector>

#include "runtime/runtime_candidates.h"
#include "runtime/runtime_criteria.h"

namespace launcher {

// What became of one registration.
enum class Verdict {
  kindOrVendor,      // rejected by "JVM Source" or "VM Provider"
  versionRange,      // rejected: outside "Minimum Version" to "Maximum Version"
  noJvmDll,          // rejected: its folder has no jvm.dll of the flavour asked for
  foreignMachine,    // passed over: its jvm.dll is built for a machine that cannot start it
  noFolderValue,     // rejected: its key names no folder
  notAVm,            // skipped: a subkey that names no VM the key registers
  clientCandidate,   // a candidate, with a client VM
  serverCandidate,   // a candidate, with a server VM
};

// The verdict's own words, as a stage line ends: "rejected: no jvm.dll there for the JVM Type".
std::u16string_view verdictText(Verdict verdict);

// "looking for: ..." with every criterion.
void traceCriteria(const RuntimeCriteria& criteria);

// One line about a registration: where it was read, what is known of it so far, and the verdict.
// `detail` names the missing value of `noFolderValue`, and is the whole verdict of
// `foreignMachine` (the words of JvmDllProbe::passedOver).
void traceRegistration(const Registration& registration, Verdict verdict, std::u16string_view detail = {});

// Where a registration was read, for lines about keys that are no registration of their own.
void traceRegistryKey(RegistryRoot root, std::u16string_view keyPath, RegistryView view, Verdict verdict);

// The candidates in their order, then the one taken and why (`preferred`: the preferred version
// it matched; null for the first in order).
void traceOrder(const std::vector<JvmCandidate>& candidates);
void traceTaken(const JvmCandidate& candidate, const std::u16string* preferred);

// A stage of the search and its outcome: `"JRE Path" "C:\jre": taken`.
void traceStage(std::u16string_view stage, std::u16string_view outcome);
// A line of its own, such as a registry view that is not searched.
void traceSearch(std::u16string_view line);

}  // namespace launcher
