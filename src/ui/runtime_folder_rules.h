#pragma once
// The decisions of the runtime folder dialog that need no window: the explanation it shows, and
// whether a folder the user picked holds a runtime this launcher can start. The dialog itself
// only asks Windows and shows the answers.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "runtime/java_version.h"
#include "runtime/runtime_criteria.h"
#include "runtime/runtime_search.h"

namespace launcher {

// A numbered text of the executable; empty when it has none.
using TextLoader = std::function<std::u16string(unsigned id)>;

// The text for when no runtime qualifies: the one for a required server VM or the general one.
unsigned noRuntimeTextId(JvmType jvmType);

// What the user reads when no runtime qualifies: that text, filled with the description of the
// accepted versions.
std::u16string composeRuntimeExplanation(JvmType jvmType, const VersionRangeText& range, const TextLoader& loadText);

// What a picked folder offers.
enum class PickVerdict {
  usable,
  // No jvm.dll of the configured VM flavour, in the folder or in its "jre\" subfolder.
  noRuntime,
  // A jvm.dll that neither this launcher nor its companion can load: another machine, not a
  // readable module at all, or the companion's machine when no companion may start.
  notRunnable,
};

struct RuntimePick {
  PickVerdict verdict = PickVerdict::noRuntime;
  // The runtime's home, ending in a backslash: the picked folder itself, or its "jre\" subfolder
  // where the folder is the home of a JDK that keeps its runtime there (JDK 8 and older). This
  // is what "JRE Path" must name for the next start to find the runtime.
  std::u16string home;
  std::u16string jvmDllPath;
};

// The machine type of the module at a path; nothing when it is not a readable image.
using MachineReader = std::function<std::optional<std::uint16_t>(const std::u16string& path)>;

// Examines `folder` (with or without a trailing backslash) as the user picked it.
RuntimePick examinePickedFolder(RuntimeEnvironment& env, std::u16string_view folder, JvmType jvmType,
                                const MachineReader& machineOf, const RunnableMachines& machines);

}  // namespace launcher
