#include "ui/runtime_folder_rules.h"

#include <algorithm>

#include "base/message_format.h"
#include "base/path.h"
#include "base/text.h"
#include "resources/resource_ids.h"

namespace launcher {

unsigned noRuntimeTextId(JvmType jvmType) {
  // Only a demanded server VM changes what the user must install; favouring one does not.
  return jvmType == JvmType::server ? IDS_NO_SERVER_RUNTIME : IDS_NO_RUNTIME;
}

std::u16string composeRuntimeExplanation(JvmType jvmType, const VersionRangeText& range, const TextLoader& loadText) {
  std::vector<MessageArg> rangeArgs(range.args.begin(), range.args.end());
  std::u16string rangeText = formatMessage(loadText(range.textId), rangeArgs);
  return formatMessage(loadText(noRuntimeTextId(jvmType)), {rangeText});
}

RuntimePick examinePickedFolder(RuntimeEnvironment& env, std::u16string_view folder, JvmType jvmType,
                                const MachineReader& machineOf, const RunnableMachines& machines) {
  RuntimePick pick;
  // An empty text would become "\", the root of the current drive, which nobody picked.
  if (folder.empty()) return pick;
  pick.home = withTrailingBackslash(folder);
  JvmDllProbe probe = findJvmDll(env, pick.home, jvmType);
  if (probe.path.empty()) {
    // A JDK of version 8 or older keeps its runtime in "jre\", where the other stages of the
    // search look as well.
    std::u16string jreHome = pick.home + u"jre\\";
    probe = findJvmDll(env, jreHome, jvmType);
    if (probe.path.empty()) return pick;
    pick.home = std::move(jreHome);
  }
  pick.jvmDllPath = std::move(probe.path);
  pick.verdict = machines.admit(machineOf(pick.jvmDllPath)) ? PickVerdict::usable : PickVerdict::notRunnable;
  return pick;
}

}  // namespace launcher
