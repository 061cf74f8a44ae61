#pragma once
// How today's distributions register their runtimes: under keys of their own, not the classic
// ones, in one of two layouts. A new vendor's key is a row of `kVendorRuntimeKeys`; a new layout
// is a case of `VendorLayout` and of `scanVendorKey`. The search reads these keys only when the
// settings ask for it ("Search Vendor Keys").

#include <array>
#include <string_view>
#include <vector>

#include "runtime/runtime_candidates.h"

namespace launcher {

enum class VendorLayout {
  // <key>\<version>\<VM>\MSI, value "Path"; VM "hotspot", or "openj9" where the key allows it.
  msi,
  // <key>\<name such as zulu-17>, value "InstallationPath"; JDK or JRE as the folder shows.
  installationPath,
};

struct VendorRuntimeKey {
  std::u16string_view path;  // ending in a backslash
  std::u16string_view vendorName;
  VendorLayout layout;
  RuntimeKind kind;  // for `msi` keys; an `installationPath` runtime with bin\javac.exe is a JDK
  bool takesOpenJ9;
};

// In the order they are searched, HKEY_LOCAL_MACHINE before HKEY_CURRENT_USER; every one after
// the classic keys, so a classic registration wins among runtimes that rank equal.
extern const std::array<VendorRuntimeKey, 8> kVendorRuntimeKeys;

// Admits every runtime registered under `key` in `root` and `view`. Its version is the version
// subkey's name when that starts with a digit, else the runtime's "release" file JAVA_VERSION,
// else the digits of the name. A HotSpot runtime counts as Sun's for "VM Provider", an OpenJ9 one
// as IBM's.
void scanVendorKey(RuntimeEnvironment& env, const VendorRuntimeKey& key, RegistryRoot root, RegistryView view,
                   const RuntimeCriteria& criteria, std::vector<JvmCandidate>& candidates);

}  // namespace launcher
