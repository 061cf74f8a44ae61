#pragma once
// Which jvm.dll the launcher loads: the search's stages in their fixed order. The runtime folder
// named in the settings, a runtime beside the launcher, the one JAVA_HOME names (when the
// settings ask for it), then the runtimes installers registered, in the default registry view and
// then the 64-bit one. Every question to the machine goes through `RuntimeEnvironment`, so the
// whole choice can be checked without Windows.

#include <optional>
#include <string>
#include <string_view>

#include "runtime/candidate_ranking.h"
#include "runtime/classic_runtime_keys.h"
#include "runtime/jvm_dll_probe.h"
#include "runtime/runtime_candidates.h"
#include "runtime/runtime_environment.h"
#include "runtime/vendor_runtime_keys.h"

namespace launcher {

// The runtime chosen among those registered in `view`: the classic keys under
// HKEY_LOCAL_MACHINE, then, when the settings ask for it, the vendor keys under
// HKEY_LOCAL_MACHINE and HKEY_CURRENT_USER, all ranked together. The 64-bit view is searched only
// for a launcher with a companion executable, which alone can start a runtime found there.
std::optional<JvmCandidate> chooseRegistered(RuntimeEnvironment& env, const RuntimeCriteria& criteria,
                                             RegistryView view);

// Where the runtime was found; `registry64` means this process cannot load it and the companion
// executable must start instead. A runtime from JAVA_HOME or from HKEY_CURRENT_USER (which both
// registry views share) may be of either architecture, so its jvm.dll decides as for "JRE Path".
// `picked`: the user chose its folder in the runtime folder dialog.
enum class RuntimeSource { jrePath, besideLauncher, javaHome, registry, registry64, registryUser, picked, none };

struct RuntimeLocation {
  RuntimeSource source = RuntimeSource::none;
  std::u16string jvmDllPath;
  // For a registered runtime, the vendor whose key registered it; IBM for another runtime whose
  // release file names IBM (see completeFromReleaseFile).
  std::optional<RuntimeVendor> vendor;
  // For a registered runtime, the version its key names; else its release file's.
  std::optional<JavaVersion> version;
};

// Fills in, from the runtime's release file and reading it once, what the search did not learn
// from a registry key or from JAVA_HOME's release file: the version, and IBM as the vendor when
// the file names it (whose runtimes end a program only through System.exit). The release file
// lies in the runtime's home, three levels above its jvm.dll.
void completeFromReleaseFile(RuntimeEnvironment& env, RuntimeLocation& location);

// The home JAVA_HOME names, when it is an absolute path whose runtime's "release" version lies in
// range and which holds a jvm.dll for the VM type; kind and vendor rules do not apply, as to
// "JRE Path". Its location (source `javaHome`), or `none`.
RuntimeLocation findJavaHomeJvm(RuntimeEnvironment& env, const RuntimeCriteria& criteria);

// The search in its fixed order: "JRE Path", beside the launcher (skipped when its folder,
// which ends in a backslash, is unknown and so empty), JAVA_HOME when "Use JAVA_HOME" is on,
// the default registry view, then the 64-bit one. The first source that yields a jvm.dll built
// for this launcher's machine (or the companion's, with `withCompanion`) decides; `none` when
// none does.
RuntimeLocation locateRuntimeStages(RuntimeEnvironment& env, const RuntimeCriteria& criteria,
                                    std::u16string_view launcherFolder);

}  // namespace launcher
