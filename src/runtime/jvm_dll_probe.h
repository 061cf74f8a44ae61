#pragma once
// Where a runtime folder keeps the jvm.dll of each VM flavour, and whether the launcher's own
// folder holds a runtime.

#include <optional>
#include <string>
#include <string_view>

#include "runtime/runtime_criteria.h"
#include "runtime/runtime_environment.h"

namespace launcher {

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

}  // namespace launcher
