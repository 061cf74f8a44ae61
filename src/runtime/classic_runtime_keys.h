#pragma once
// The classic registry keys under which installers of Sun's, JRockit's and IBM's lineage register
// their runtimes, one subkey per version with a "JavaHome" value, and how they are read.

#include <array>
#include <string_view>
#include <vector>

#include "runtime/runtime_candidates.h"

namespace launcher {

struct RegisteredRuntimeKey {
  std::u16string_view path;  // under HKEY_LOCAL_MACHINE, ending in a backslash
  RuntimeKind kind;
  RuntimeVendor vendor;
  // Appended to a registration's "JavaHome": the two "Java Development Kit" keys name the JDK's
  // folder, whose loadable runtime lies in its "jre\" subfolder.
  std::u16string_view homeSuffix;
  // Runtimes registered as JREs by Sun are probed client-first even under "favor_server", so
  // they do not rank as server VMs; the final lookup still uses the setting as written.
  bool probesFavorServerAsDefault;
};

// The keys in the order they are searched; candidates keep this order among equals.
extern const std::array<RegisteredRuntimeKey, 7> kRegisteredRuntimeKeys;

// Whether `key` is searched at all: the kind and vendor it registers are accepted.
bool isKeySearched(const RegisteredRuntimeKey& key, const RuntimeCriteria& criteria);

// Admits every subkey of `key` in `view` in the order the registry lists them. Its version is the
// subkey's name (a name without digits reads as 0.0.0.0); its folder is its "JavaHome" with the
// key's suffix. Subkeys that name the same installation ("1.8" and "1.8.0_151") give a candidate
// each; registrations whose runtime was uninstalled give none.
void scanRegistryKey(RuntimeEnvironment& env, const RegisteredRuntimeKey& key, RegistryView view,
                     const RuntimeCriteria& criteria, std::vector<JvmCandidate>& candidates);

}  // namespace launcher
