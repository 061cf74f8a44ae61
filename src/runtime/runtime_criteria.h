#pragma once
// What a runtime must be for the launcher to choose it: the version range and preferences, the
// VM flavour, the kinds and vendors accepted or favoured, and the folder named outright. The
// settings file fills it; the search reads nothing else.

#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include "runtime/java_version.h"

namespace launcher {

// "JVM Type": which VM of a runtime home is taken.
enum class JvmType {
  any,          // the client VM first; the server VM after the classic and hotspot ones
  server,       // only the server VM
  favorServer,  // the server VM first, then as `any`
};

enum class RuntimeKind { jdk, jre };
enum class RuntimeVendor { sun, jrockit, ibm };
inline constexpr std::size_t kRuntimeVendorCount = 3;

// How one vendor's runtimes are treated.
struct VendorRule {
  bool accepted = false;
  bool favored = false;
  friend bool operator==(const VendorRule&, const VendorRule&) = default;
};

// One rule per vendor, in the order of `RuntimeVendor`.
using VendorPolicy = std::array<VendorRule, kRuntimeVendorCount>;

// Without a "VM Provider" value only Sun runtimes qualify, and they are favoured.
inline constexpr VendorPolicy kDefaultVendorPolicy{{{true, true}, {false, false}, {false, false}}};

struct RuntimeCriteria {
  // The accepted range of registered runtimes. "any" opens either end; an empty or unreadable
  // value gives 0.0.0.0, which the range text treats as no bound.
  JavaVersion minimumVersion;
  JavaVersion maximumVersion;
  // Kept as written, in order; each entry is parsed as a pattern when runtimes are chosen.
  std::vector<std::u16string> preferredVersions;
  // A runtime folder named outright; empty when none is.
  std::u16string jrePath;
  JvmType jvmType = JvmType::any;
  // Which kinds of runtime qualify. Without a "JVM Source" value both do.
  bool jdkAccepted = true;
  bool jreAccepted = true;
  bool sourceFavored = true;
  VendorPolicy vendors = kDefaultVendorPolicy;
  // Whether a companion executable of the other architecture can start a runtime this process
  // cannot load.
  bool withCompanion = false;
  // Opt-in sources: the registry keys of today's distributions, and the JAVA_HOME variable.
  bool searchVendorKeys = false;
  bool useJavaHome = false;

  const VendorRule& vendor(RuntimeVendor which) const { return vendors[static_cast<std::size_t>(which)]; }
};

}  // namespace launcher
