#include "runtime/jvm_dll_probe.h"

#include <array>
#include <utility>

#include "base/path.h"
#include "runtime/pe_header_check.h"

namespace launcher {
namespace {

struct JvmDllLocation {
  std::u16string_view relativePath;
  bool isServer;
};

constexpr JvmDllLocation kServerJvm{u"bin\\server\\jvm.dll", true};

// The order in which a home is searched when no server VM is demanded or favoured. The server VM
// sits after the classic and hotspot ones, as runtimes that ship both expect.
constexpr std::array<JvmDllLocation, 5> kJvmDllLocations{{
    {u"bin\\client\\jvm.dll", false},
    {u"bin\\classic\\jvm.dll", false},
    {u"bin\\hotspot\\jvm.dll", false},
    kServerJvm,
    {u"bin\\jrockit\\jvm.dll", false},
}};

// Whether the jvm.dll at `location` of `home` exists and may be started; records in `probe` why
// one that exists was passed over.
bool takeJvmDll(RuntimeEnvironment& env, std::u16string_view home, const JvmDllLocation& location,
                const RunnableMachines* machines, JvmDllProbe& probe) {
  std::u16string path = joinPath(home, location.relativePath);
  if (!env.fileExists(path)) return false;
  if (machines) {
    std::optional<std::uint16_t> machine = env.moduleMachine(path);
    if (!machines->admit(machine)) {
      probe.passedOver = !machine ? u"passed over: its jvm.dll is not a complete module (damaged header)"
                         : *machine == machines->companion
                             ? u"passed over: its jvm.dll is built for " + machineName(*machine) +
                                   u", which only a companion could start"
                             : u"passed over: its jvm.dll is built for " + machineName(*machine);
      return false;
    }
  }
  probe = {std::move(path), location.isServer, {}};
  return true;
}

}  // namespace

RunnableMachines runnableMachines(const RuntimeCriteria& criteria) {
  return {kOwnMachine, kCompanionMachine, criteria.withCompanion};
}

JvmDllProbe findJvmDll(RuntimeEnvironment& env, std::u16string_view home, JvmType jvmType,
                       const RunnableMachines* machines) {
  JvmDllProbe probe;
  if (jvmType != JvmType::any) {
    if (takeJvmDll(env, home, kServerJvm, machines, probe) || jvmType == JvmType::server) return probe;
  }
  for (const JvmDllLocation& location : kJvmDllLocations) {
    if (takeJvmDll(env, home, location, machines, probe)) return probe;
  }
  return probe;
}

std::optional<std::u16string> findBesideLauncher(RuntimeEnvironment& env, std::u16string_view launcherFolder) {
  // Without a folder the probes below would look in the current directory, which is not where
  // the launcher lies.
  if (launcherFolder.empty()) return std::nullopt;
  std::u16string home = withTrailingBackslash(launcherFolder);
  if (env.fileExists(joinPath(home, u"bin\\java.dll"))) return home;
  home += u"jre\\";
  if (env.fileExists(joinPath(home, u"bin\\java.dll"))) return home;
  return std::nullopt;
}

}  // namespace launcher
