#pragma once
// A machine for the runtime search held in memory: a set of existing files, per registry root and
// view the registry's keys and string values, release files and JAVA_HOME.

#include <algorithm>
#include <functional>
#include <initializer_list>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/pe_header_check.h"
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
    setValue(RegistryRoot::localMachine, view, keyPath + std::u16string(name), u"JavaHome", javaHome);
  }

  // Sets a string value of key `keyPath` (no closing backslash), which is created with its parents;
  // subkeys are listed in the order they were created.
  void setValue(RegistryRoot root, RegistryView view, std::u16string_view keyPath, std::u16string_view valueName,
                std::u16string_view data) {
    auto& keys = subkeys[index(root, view)];
    for (size_t end = keyPath.find(u'\\'); end != std::u16string_view::npos; end = keyPath.find(u'\\', end + 1)) {
      size_t next = keyPath.find(u'\\', end + 1);
      std::u16string child(keyPath.substr(end + 1, next == std::u16string_view::npos ? next : next - end - 1));
      std::vector<std::u16string>& list = keys[std::u16string(keyPath.substr(0, end))];
      if (std::find(list.begin(), list.end(), child) == list.end()) list.push_back(child);
    }
    values[index(root, view)][std::u16string(keyPath)][std::u16string(valueName)] = data;
  }

  bool fileExists(std::u16string_view path) override { return files.contains(path); }

  std::vector<std::u16string> subkeyNames(RegistryRoot root, std::u16string_view keyPath, RegistryView view) override {
    listedKeys.emplace_back(keyPath);
    if (keyPath.ends_with(u'\\')) keyPath.remove_suffix(1);
    auto found = subkeys[index(root, view)].find(keyPath);
    return found == subkeys[index(root, view)].end() ? std::vector<std::u16string>{} : found->second;
  }

  std::optional<std::u16string> readString(RegistryRoot root, std::u16string_view keyPath,
                                           std::u16string_view valueName, RegistryView view) override {
    auto& keys = values[index(root, view)];
    auto key = keys.find(keyPath);
    if (key == keys.end()) return std::nullopt;
    auto found = key->second.find(valueName);
    if (found == key->second.end() || found->second.empty()) return std::nullopt;
    return found->second;
  }

  std::optional<std::string> readReleaseFile(std::u16string_view home) override {
    auto found = releaseFiles.find(home);
    return found == releaseFiles.end() ? std::nullopt : std::optional(found->second);
  }

  std::u16string javaHomeVariable() override { return javaHome; }

  // Every jvm.dll is built for this build's own machine unless `machines` says otherwise
  // (nothing: a damaged header).
  std::optional<std::uint16_t> moduleMachine(std::u16string_view path) override {
    auto found = machines.find(path);
    return found == machines.end() ? std::optional(kOwnMachine) : found->second;
  }

  std::set<std::u16string, std::less<>> files;
  std::vector<std::u16string> listedKeys;
  std::map<std::u16string, std::string, std::less<>> releaseFiles;  // by home, ending in a backslash
  std::u16string javaHome;
  std::map<std::u16string, std::optional<std::uint16_t>, std::less<>> machines;

 private:
  static size_t index(RegistryRoot root, RegistryView view) {
    return (root == RegistryRoot::currentUser ? 2 : 0) + (view == RegistryView::view64 ? 1 : 0);
  }

  std::map<std::u16string, std::vector<std::u16string>, std::less<>> subkeys[4];
  using Values = std::map<std::u16string, std::u16string, std::less<>>;
  std::map<std::u16string, Values, std::less<>> values[4];
};

// The home of the runtime the registry search chooses in `view`, as the checks compare it.
inline std::optional<std::u16string> searchRegistry(RuntimeEnvironment& env, const RuntimeCriteria& c, RegistryView v) {
  std::optional<JvmCandidate> chosen = chooseRegistered(env, c, v);
  return chosen ? std::optional(chosen->home) : std::nullopt;
}

}  // namespace launcher
