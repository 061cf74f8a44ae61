#include "runtime/jvm_dll_probe.h"

#include <array>
#include <utility>

#include "base/path.h"

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

}  // namespace

JvmDllProbe findJvmDll(RuntimeEnvironment& env, std::u16string_view home, JvmType jvmType) {
  if (jvmType != JvmType::any) {
    std::u16string path = joinPath(home, kServerJvm.relativePath);
    if (env.fileExists(path)) return {std::move(path), true};
    if (jvmType == JvmType::server) return {};
  }
  for (const JvmDllLocation& location : kJvmDllLocations) {
    std::u16string path = joinPath(home, location.relativePath);
    if (env.fileExists(path)) return {std::move(path), location.isServer};
  }
  return {};
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
