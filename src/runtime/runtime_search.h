#pragma once
// Which jvm.dll the launcher loads: the runtime folder named in the settings, a runtime beside
// the launcher, the one JAVA_HOME names (when the settings ask for it), or one of the runtimes
// that installers registered, filtered by version range, kind, vendor and VM flavour and matched
// against the preferred versions. Every question to the machine goes through `RuntimeEnvironment`, so the whole
// choice can be checked without Windows.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/java_version.h"
#include "runtime/runtime_criteria.h"

namespace launcher {

enum class RegistryView { defaultView, view64 };
// HKEY_LOCAL_MACHINE or HKEY_CURRENT_USER: per-user installs register under the latter.
enum class RegistryRoot { localMachine, currentUser };

// What the runtime search asks of the machine.
class RuntimeEnvironment {
 public:
  virtual ~RuntimeEnvironment() = default;
  // True when a find-first-file for exactly `path` finds an entry.
  virtual bool fileExists(std::u16string_view path) = 0;
  // Names of the subkeys of <root>\<keyPath> in `view`, in the order the registry returns them;
  // empty when the key cannot be opened. keyPath may end in a backslash.
  virtual std::vector<std::u16string> subkeyNames(RegistryRoot root, std::u16string_view keyPath,
                                                  RegistryView view) = 0;
  // The string value `valueName` of <root>\<keyPath>, up to its first NUL; nothing when the key or
  // value is missing or its data is empty.
  virtual std::optional<std::u16string> readString(RegistryRoot root, std::u16string_view keyPath,
                                                   std::u16string_view valueName, RegistryView view) = 0;
  // The text of the "release" file in the runtime folder `home` (ending in a backslash); nothing
  // when there is none or it cannot be read.
  virtual std::optional<std::string> readReleaseFile(std::u16string_view home) = 0;
  // The value of JAVA_HOME; empty when it is not set.
  virtual std::u16string javaHomeVariable() = 0;
};

// A jvm.dll inside a runtime home; an empty path when the home holds none that qualifies.
struct JvmDllProbe {
  std::u16string path;
  bool isServer = false;
};

// The jvm.dll of the runtime at `home` (which ends in a backslash) for the VM flavour `jvmType`:
// `server` takes only "bin\server\", `favorServer` tries it first, and otherwise the client VM
// comes first and the server VM only after the classic and hotspot ones.
JvmDllProbe findJvmDll(RuntimeEnvironment& env, std::u16string_view home, JvmType jvmType);

// The home of a runtime shipped beside the launcher: `launcherFolder` itself when it holds
// "bin\java.dll", else its "jre\" subfolder when that does. `launcherFolder` runs up to and
// including the last backslash of the launcher's path.
std::optional<std::u16string> findBesideLauncher(RuntimeEnvironment& env, std::u16string_view launcherFolder);

// One registry key under which a vendor's installer registers runtimes, one subkey per version.
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

// Whether the criteria accept runtimes of this kind.
bool isKindAccepted(RuntimeKind kind, const RuntimeCriteria& criteria);

// Whether `key` is searched at all: its kind is accepted (or both kinds are searched because one
// is favoured) and its vendor is accepted or favoured.
bool isKeySearched(const RegisteredRuntimeKey& key, const RuntimeCriteria& criteria);

// Whether a registered runtime's version lies within the criteria's range. A maximum that stands
// for no bound (absent, unreadable, or "any") admits every version, as the range text shown to
// the user says; read literally, an absent maximum of 0.0.0.0 would admit nothing.
bool isWithinVersionRange(const JavaVersion& version, const RuntimeCriteria& criteria);

// One registered runtime that passed every test of one registry pass.
struct JvmCandidate {
  JavaVersion version;
  std::u16string home;  // ends in a backslash
  bool isServer = false;
  bool favored = false;  // an accepted kind from a favoured vendor
  RuntimeVendor vendor = RuntimeVendor::sun;  // whose key registered it; for a vendor key, whose rule applies
  // Found under one of today's distributions' own keys (below) rather than a classic key.
  bool fromVendorKey = false;
  RegistryRoot root = RegistryRoot::localMachine;
};

// How today's distributions register their runtimes. Their installers write keys of their own,
// not the classic ones above; the search reads them only when the settings ask for it.
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

// Appends a candidate for every runtime registered under `key` in `root` and `view` that passes
// the same tests as a classic registration. Its version is the version subkey's name when that
// starts with a digit, else the runtime's "release" file JAVA_VERSION, else the digits of the
// name. A HotSpot runtime counts as Sun's for "VM Provider", an OpenJ9 one as IBM's.
void scanVendorKey(RuntimeEnvironment& env, const VendorRuntimeKey& key, RegistryRoot root, RegistryView view,
                   const RuntimeCriteria& criteria, std::vector<JvmCandidate>& candidates);

// Reads the "JavaHome" of `key` + `subkeyName` and probes it for a jvm.dll. On success `home`
// is that folder (with a trailing backslash and the key's suffix) and `isServer` tells whether
// the probe found the server VM. False, leaving both alone, for a missing or empty "JavaHome" or
// a home without a jvm.dll: registrations outlive uninstalled runtimes.
bool probeRegisteredRuntime(RuntimeEnvironment& env, const RegisteredRuntimeKey& key, std::u16string_view subkeyName,
                            RegistryView view, JvmType jvmType, std::u16string& home, bool& isServer);

// Appends a candidate for every subkey of `key` in `view` whose version is in range and whose
// home holds a jvm.dll, in the order the registry lists them. Subkeys that name the same
// installation ("1.8" and "1.8.0_151") give a candidate each.
void scanRegistryKey(RuntimeEnvironment& env, const RegisteredRuntimeKey& key, RegistryView view,
                     const RuntimeCriteria& criteria, std::vector<JvmCandidate>& candidates);

// Best first: favoured (only when the kind setting favours one), then server VM (only under
// "favor_server"), then newest. Candidates that rank equal keep the order they were found in.
void orderCandidates(std::vector<JvmCandidate>& candidates, const RuntimeCriteria& criteria);

// Orders `candidates` and takes the first that matches the first preferred version any of them
// matches; without such a match, the best. Nothing for an empty list.
std::optional<JvmCandidate> pickCandidate(std::vector<JvmCandidate>& candidates, const RuntimeCriteria& criteria);

// The runtime chosen among those registered in `view`: the classic keys under
// HKEY_LOCAL_MACHINE, then, when the settings ask for it, the vendor keys under
// HKEY_LOCAL_MACHINE and HKEY_CURRENT_USER, all ranked together. The 64-bit view is searched only
// for a launcher with a companion executable, which alone can start a runtime found there.
std::optional<JvmCandidate> chooseRegistered(RuntimeEnvironment& env, const RuntimeCriteria& criteria,
                                             RegistryView view);

// Where the runtime was found; `registry64` means this process cannot load it and the companion
// executable must start instead. A runtime from JAVA_HOME or from HKEY_CURRENT_USER (which both
// registry views share) may be of either architecture, so its jvm.dll decides as for "JRE Path".
enum class RuntimeSource { jrePath, besideLauncher, javaHome, registry, registry64, registryUser, none };

struct RuntimeLocation {
  RuntimeSource source = RuntimeSource::none;
  std::u16string jvmDllPath;
  // For a registered runtime, the vendor whose key registered it.
  std::optional<RuntimeVendor> vendor;
  // For a registered runtime, the version its key names; for JAVA_HOME's, its release file's.
  std::optional<JavaVersion> version;
};

// The home JAVA_HOME names, when it is an absolute path whose runtime's "release" version lies in
// range and which holds a jvm.dll for the VM type; kind and vendor rules do not apply, as to
// "JRE Path". Its location (source `javaHome`), or `none`.
RuntimeLocation findJavaHomeJvm(RuntimeEnvironment& env, const RuntimeCriteria& criteria);

// The search in its fixed order: "JRE Path", beside the launcher (skipped when its folder,
// which ends in a backslash, is unknown and so empty), JAVA_HOME when "Use JAVA_HOME" is on,
// the default registry view, then the 64-bit one. The first source that yields a jvm.dll decides; `none` when none does.
RuntimeLocation locateRuntimeStages(RuntimeEnvironment& env, const RuntimeCriteria& criteria,
                                    std::u16string_view launcherFolder);

}  // namespace launcher
