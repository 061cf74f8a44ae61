#pragma once
// One registered runtime on its way to becoming a candidate: the acceptance rule for its kind and
// vendor, its version range, and the one `admit` step that every registration passes through,
// from the classic keys and from today's vendor keys alike.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/java_version.h"
#include "runtime/runtime_criteria.h"
#include "runtime/runtime_environment.h"

namespace launcher {

// One registered runtime that passed every test of one registry pass.
struct JvmCandidate {
  JavaVersion version;
  std::u16string home;  // ends in a backslash
  bool isServer = false;
  bool favored = false;  // an accepted kind from a favoured vendor
  RuntimeVendor vendor = RuntimeVendor::sun;  // whose key registered it; for a vendor key, whose rule applies
  // Found under one of today's distributions' own keys rather than a classic key.
  bool fromVendorKey = false;
  RegistryRoot root = RegistryRoot::localMachine;
};

// Whether the criteria accept runtimes of this kind.
bool isKindAccepted(RuntimeKind kind, const RuntimeCriteria& criteria);

// The acceptance rule of "JVM Source" and "VM Provider": the kind is accepted (or both kinds are,
// because one is favoured) and the vendor is accepted or favoured.
bool isAccepted(RuntimeKind kind, RuntimeVendor vendor, const RuntimeCriteria& criteria);

// Whether a registered runtime's version lies within the criteria's range. A maximum that stands
// for no bound (absent, unreadable, or "any") admits every version, as the range text shown to
// the user says; read literally, an absent maximum of 0.0.0.0 would admit nothing.
bool isWithinVersionRange(const JavaVersion& version, const RuntimeCriteria& criteria);

// What a registry key says about one runtime it registers.
struct Registration {
  RegistryRoot root = RegistryRoot::localMachine;
  RegistryView view = RegistryView::defaultView;
  std::u16string keyPath;  // of the key that holds its folder
  JavaVersion version;
  std::u16string_view versionFrom;  // "key name", "release file"...
  RuntimeKind kind = RuntimeKind::jre;
  RuntimeVendor vendor = RuntimeVendor::sun;  // whose "VM Provider" rule applies
  std::u16string_view vendorName;             // as the trace names it
  // Its folder, ending in a backslash; empty while it is still to be read (see `admit`).
  std::u16string home;
  JvmType probeType = JvmType::any;  // the flavour its folder is probed for
  bool fromVendorKey = false;
};

// Reads a registration's folder into its `home`; false, after tracing why, when it has none.
using ReadHome = std::function<bool(Registration&)>;

// The one way a registration becomes a candidate: its kind and vendor are accepted, its version
// is in range, its folder (read by `readHome` only now, when not known yet) holds a jvm.dll of the
// flavour asked for, built for a machine this launcher or its companion can start; each verdict
// is traced. Appends the candidate when all hold.
void admit(RuntimeEnvironment& env, Registration registration, const RuntimeCriteria& criteria,
           std::vector<JvmCandidate>& candidates, const ReadHome& readHome = {});

}  // namespace launcher
