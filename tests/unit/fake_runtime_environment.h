#pragma once
// A machine for the runtime search held in memory: a set of existing files and, per registry
// view, the runtime registrations under the search's keys.

#include <functional>
#include <initializer_list>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/runtime_search.h"

namespace launcher {

class FakeRuntimeEnvironment : public RuntimeEnvironment {
 public:
  // A runtime at `home` (ending in a backslash) with a jvm.dll in "bin\<vm>\" for each of `vms`.
  void install(std::u16string_view home, std::initializer_list<std::u16string_view> vms) {
    for (std::u16string_view vm : vms) files.insert(std::u16string(home) + u"bin\\" + std::u16string(vm) + u"\\jvm.dll");
  }

  // Registers `javaHome` as subkey `name` of the key numbered `keyNumber` (1 to 7, in search
  // order); subkeys are listed in the order they were registered.
  void registerRuntime(int keyNumber, std::u16string_view name, std::u16string_view javaHome,
                       RegistryView view = RegistryView::defaultView) {
    std::u16string keyPath(kRegisteredRuntimeKeys.at(static_cast<size_t>(keyNumber - 1)).path);
    subkeys[index(view)][keyPath].emplace_back(name);
    javaHomes[index(view)][keyPath + std::u16string(name)] = javaHome;
  }

  bool fileExists(std::u16string_view path) override { return files.contains(path); }

  std::vector<std::u16string> subkeyNames(std::u16string_view keyPath, RegistryView view) override {
    listedKeys.emplace_back(keyPath);
    auto found = subkeys[index(view)].find(keyPath);
    return found == subkeys[index(view)].end() ? std::vector<std::u16string>{} : found->second;
  }

  std::optional<std::u16string> readString(std::u16string_view keyPath, std::u16string_view valueName,
                                           RegistryView view) override {
    auto found = javaHomes[index(view)].find(keyPath);
    if (valueName != u"JavaHome" || found == javaHomes[index(view)].end() || found->second.empty()) return std::nullopt;
    return found->second;
  }

  std::set<std::u16string, std::less<>> files;
  std::vector<std::u16string> listedKeys;

 private:
  static size_t index(RegistryView view) { return view == RegistryView::view64 ? 1 : 0; }

  std::map<std::u16string, std::vector<std::u16string>, std::less<>> subkeys[2];
  std::map<std::u16string, std::u16string, std::less<>> javaHomes[2];
};

// The home of the runtime the registry search chooses in `view`, as the checks compare it.
inline std::optional<std::u16string> searchRegistry(RuntimeEnvironment& env, const RuntimeCriteria& c, RegistryView v) {
  std::optional<JvmCandidate> chosen = chooseRegistered(env, c, v);
  return chosen ? std::optional(chosen->home) : std::nullopt;
}

}  // namespace launcher
