#pragma once
// Where a runtime folder keeps the jvm.dll of each VM flavour, and whether the launcher's own
// folder holds a runtime.

#include <cstdint>
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
  // When a jvm.dll was there but built for a machine neither this launcher nor a companion it may
  // start can load: why it was passed over, naming that machine, as a stage line ends.
  std::u16string passedOver;
};

// The machines a jvm.dll may be built for to be started: this launcher's own, and its
// companion's when one may be started.
struct RunnableMachines {
  std::uint16_t own;
  std::uint16_t companion;
  bool companionAllowed;

  // A module that is no complete image has no machine and runs nowhere.
  bool admit(std::optional<std::uint16_t> machine) const {
    return machine && (*machine == own || (companionAllowed && *machine == companion));
  }
};

// The machines the search admits: this build's own and, when the criteria allow a companion, the
// companion's.
RunnableMachines runnableMachines(const RuntimeCriteria& criteria);

// The jvm.dll of the runtime at `home` (which ends in a backslash) for the VM flavour `jvmType`:
// `server` takes only "bin\server\", `favorServer` tries it first, and otherwise the client VM
// comes first and the server VM only after the classic and hotspot ones. With `machines`, a
// jvm.dll built for another machine (or with a damaged header) is passed over: loading it would
// fail, and a runtime further down the search may well load.
JvmDllProbe findJvmDll(RuntimeEnvironment& env, std::u16string_view home, JvmType jvmType,
                       const RunnableMachines* machines = nullptr);

// The home of a runtime shipped beside the launcher: `launcherFolder` itself when it holds
// "bin\java.dll", else its "jre\" subfolder when that does. `launcherFolder` runs up to and
// including the last backslash of the launcher's path.
std::optional<std::u16string> findBesideLauncher(RuntimeEnvironment& env, std::u16string_view launcherFolder);

}  // namespace launcher
