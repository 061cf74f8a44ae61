#include "runtime/search_trace.h"

#include "base/text.h"
#include "base/trace.h"

namespace launcher {
namespace {

constexpr std::u16string_view kArea = u"runtime";

std::u16string_view kindName(RuntimeKind kind) { return kind == RuntimeKind::jdk ? u"JDK" : u"JRE"; }

std::u16string versionText(const JavaVersion& v) { return JavaVersion::isUnbounded(v) ? u"none" : JavaVersion::toString(v); }

// "HKLM\Software\...\1.8 (64-bit view)": where a registration was read.
std::u16string registrationText(RegistryRoot root, std::u16string_view keyPath, RegistryView view) {
  std::u16string text(root == RegistryRoot::currentUser ? u"HKCU\\" : u"HKLM\\");
  text += keyPath;
  text += view == RegistryView::view64 ? u" (64-bit view)" : u" (default view)";
  return text;
}

}  // namespace

std::u16string_view verdictText(Verdict verdict) {
  switch (verdict) {
    case Verdict::kindOrVendor: return u"rejected: kind or VM vendor not accepted (\"JVM Source\", \"VM Provider\")";
    case Verdict::versionRange: return u"rejected: version outside the range";
    case Verdict::noJvmDll: return u"rejected: no jvm.dll there for the JVM Type";
    case Verdict::foreignMachine: return u"passed over: its jvm.dll is built for another machine";
    case Verdict::noFolderValue: return u"rejected: no folder value";
    case Verdict::notAVm: return u"skipped: not a VM this key registers";
    case Verdict::clientCandidate: return u"candidate (client VM)";
    case Verdict::serverCandidate: return u"candidate (server VM)";
  }
  return {};
}

void traceCriteria(const RuntimeCriteria& c) {
  if (!tracing()) return;
  constexpr std::u16string_view kJvmTypes[] = {u"any", u"server", u"favor_server"};
  auto yesNo = [](bool b) { return b ? u"yes" : u"no"; };
  std::u16string line = u"looking for: minimum version " + versionText(c.minimumVersion) + u", maximum version " +
                        versionText(c.maximumVersion) + u", JVM Type " +
                        std::u16string(kJvmTypes[static_cast<int>(c.jvmType)]) + u", JDK accepted " +
                        yesNo(c.jdkAccepted) + u", JRE accepted " + yesNo(c.jreAccepted) + u", kind favoured " +
                        yesNo(c.sourceFavored) + u", preferred versions " +
                        decimalText(c.preferredVersions.size()) + u", companion " + yesNo(c.withCompanion) +
                        u", vendor keys " + yesNo(c.searchVendorKeys) + u", JAVA_HOME " + yesNo(c.useJavaHome);
  trace(kArea, line);
}

void traceRegistration(const Registration& r, Verdict verdict, std::u16string_view detail) {
  if (!tracing()) return;
  std::u16string line = registrationText(r.root, r.keyPath, r.view);
  // A registration whose folder is missing is known by its version alone when the key names it;
  // a vendor key's version may live in the folder, so nothing is known of it yet.
  if (verdict != Verdict::noFolderValue || !r.fromVendorKey) {
    line += u": version " + JavaVersion::toString(r.version) + u" (from " + std::u16string(r.versionFrom) + u"), " +
            std::u16string(kindName(r.kind)) + u", " + std::u16string(r.vendorName);
    if (!r.home.empty()) line += u", home " + quotedForTrace(r.home);
  }
  line += u": ";
  if (verdict == Verdict::noFolderValue) {
    line += u"rejected: no " + quotedForTrace(detail) + u" value";
  } else {
    line += verdict == Verdict::foreignMachine && !detail.empty() ? detail : verdictText(verdict);
  }
  trace(kArea, line);
}

void traceRegistryKey(RegistryRoot root, std::u16string_view keyPath, RegistryView view, Verdict verdict) {
  if (!tracing()) return;
  trace(kArea, registrationText(root, keyPath, view) + u": " + std::u16string(verdictText(verdict)));
}

void traceOrder(const std::vector<JvmCandidate>& candidates) {
  if (!tracing()) return;
  std::u16string order = u"order:";
  for (size_t i = 0; i < candidates.size(); ++i) {
    order += u" " + decimalText(i + 1) + u". " + JavaVersion::toString(candidates[i].version) + u" " +
             quotedForTrace(candidates[i].home);
  }
  trace(kArea, order);
}

void traceTaken(const JvmCandidate& candidate, const std::u16string* preferred) {
  if (!tracing()) return;
  trace(kArea, u"taken: " + quotedForTrace(candidate.home) +
                   (preferred == nullptr ? std::u16string(u", first in order")
                                         : u", preferred version " + quotedForTrace(*preferred)));
}

void traceStage(std::u16string_view stage, std::u16string_view outcome) {
  if (!tracing()) return;
  trace(kArea, std::u16string(stage) + u": " + std::u16string(outcome));
}

void traceSearch(std::u16string_view line) { trace(kArea, line); }

}  // namespace launcher
