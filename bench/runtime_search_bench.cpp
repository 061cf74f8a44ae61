// What choosing among many registered runtimes costs: parsing the subkey names, filtering them
// by range, probing their homes, ordering the candidates and matching the preferred versions.
// The ordering exchanges neighbours pass after pass, so it grows with the square of the count.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <string>
#include <vector>

#include "fake_runtime_environment.h"
#include "runtime/runtime_search.h"
#include "settings/launcher_settings.h"

namespace launcher {
namespace {

std::u16string decimal(int value) {
  std::string digits = std::to_string(value);
  return std::u16string(digits.begin(), digits.end());
}

// Names as installers write them, in the alphabetical order the registry lists subkeys in.
std::vector<std::u16string> versionNames(int count) {
  std::vector<std::u16string> names;
  for (int i = 0; i < count; ++i) {
    int n = i / 3 + 1;
    switch (i % 3) {
      case 0: names.push_back(u"1.8.0_" + decimal(n)); break;
      case 1: names.push_back(u"11.0." + decimal(n)); break;
      default: names.push_back(u"17.0." + decimal(n)); break;
    }
  }
  std::sort(names.begin(), names.end());
  return names;
}

// `count` runtimes, each with its own home holding a client and a server VM, spread round-robin
// over the first `keys` registry keys.
FakeRuntimeEnvironment machineWith(int count, int keys) {
  FakeRuntimeEnvironment machine;
  int i = 0;
  for (const std::u16string& name : versionNames(count)) {
    int keyNumber = i++ % keys + 1;
    std::u16string javaHome = u"C:\\Program Files\\Java\\" + decimal(keyNumber) + u"\\" + name;
    machine.registerRuntime(keyNumber, name, javaHome);
    machine.install(javaHome + u"\\" + std::u16string(kRegisteredRuntimeKeys[keyNumber - 1].homeSuffix),
                    {u"client", u"server"});
  }
  return machine;
}

RuntimeCriteria realisticSettings() {
  RuntimeCriteria settings;
  applyVmProvider(u"any", settings);
  settings.jvmType = JvmType::favorServer;  // favour the server VM: the ordering's every key counts
  settings.minimumVersion = minimumVersionFrom(u"1.8");
  settings.maximumVersion = maximumVersionFrom(u"any");
  settings.preferredVersions = {u"1.7", u"11"};
  return settings;
}

void searchRegistryOf(benchmark::State& state, int keys) {
  const int count = static_cast<int>(state.range(0));
  FakeRuntimeEnvironment machine = machineWith(count, keys);
  const RuntimeCriteria settings = realisticSettings();
  for (auto _ : state) {
    benchmark::DoNotOptimize(searchRegistry(machine, settings, RegistryView::defaultView));
    // The fake records every key listed; the search itself keeps nothing.
    machine.listedKeys.clear();
  }
  state.SetComplexityN(count);
}

void BM_SearchRegistryOneKey(benchmark::State& state) { searchRegistryOf(state, 1); }
void BM_SearchRegistrySevenKeys(benchmark::State& state) { searchRegistryOf(state, 7); }

// Ordering and picking alone, over candidates already found; the copy is part of each round.
void BM_PickCandidate(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  std::vector<JvmCandidate> found;
  for (const std::u16string& name : versionNames(count)) {
    JvmCandidate candidate;
    candidate.version.parse(name, 0);
    candidate.home = u"C:\\Java\\" + name + u"\\";
    candidate.isServer = found.size() % 2 == 0;
    candidate.favored = true;
    found.push_back(candidate);
  }
  const RuntimeCriteria settings = realisticSettings();
  for (auto _ : state) {
    std::vector<JvmCandidate> candidates = found;
    benchmark::DoNotOptimize(pickCandidate(candidates, settings));
  }
  state.SetComplexityN(count);
}

BENCHMARK(BM_SearchRegistryOneKey)->RangeMultiplier(10)->Range(10, 1000)->Unit(benchmark::kMicrosecond)->Complexity();
BENCHMARK(BM_SearchRegistrySevenKeys)->Arg(1000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PickCandidate)->RangeMultiplier(10)->Range(10, 1000)->Unit(benchmark::kMicrosecond)->Complexity();

}  // namespace
}  // namespace launcher
