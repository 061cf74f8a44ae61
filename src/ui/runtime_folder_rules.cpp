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
  std::optional<std::uint16_t> machine = machineOf(pick.jvmDllPath);
  bool runnable =
      machine && (*machine == machines.own || (machines.companionAllowed && *machine == machines.companion));
  pick.verdict = runnable ? PickVerdict::usable : PickVerdict::notRunnable;
  return pick;
}

ScreenPoint centredPosition(const ScreenRect& area, long width, long height, const ScreenRect& workArea) {
  ScreenPoint at{area.left + (area.right - area.left - width) / 2, area.top + (area.bottom - area.top - height) / 2};
  // Right and bottom edges first, so that a window too large for the work area ends at its top left.
  at.x = std::max(std::min(at.x, workArea.right - width), workArea.left);
  at.y = std::max(std::min(at.y, workArea.bottom - height), workArea.top);
  return at;
}

std::optional<LinkColor> parseAnchorColor(std::u16string_view value) {
  if (value.size() > kAnchorColorMaxLength) return std::nullopt;
  std::vector<std::u16string> parts = splitAt(value, u',');
  // splitAt drops a final empty piece ("0,0,"), which is still a missing number.
  if (parts.size() != 3 || value.ends_with(u',')) return std::nullopt;
  std::uint8_t components[3] = {};
  for (size_t i = 0; i < 3; ++i) {
    std::u16string_view number = trimWhiteSpace(parts[i]);
    if (number.empty() || number.size() > 3) return std::nullopt;
    unsigned component = 0;
    for (char16_t c : number) {
      if (!isAsciiDigit(c)) return std::nullopt;
      component = component * 10 + static_cast<unsigned>(c - u'0');
    }
    if (component > 255) return std::nullopt;
    components[i] = static_cast<std::uint8_t>(component);
  }
  return LinkColor{components[0], components[1], components[2]};
}

bool isOpenableWebAddress(std::u16string_view text) {
  constexpr std::u16string_view kScheme = u"https://";
  if (text.size() <= kScheme.size() || !equalsIgnoringAsciiCase(text.substr(0, kScheme.size()), kScheme)) return false;
  for (char16_t c : text) {
    if (c <= u' ' || c == 0x7F || c == u'"' || c == u'\'' || c == u'<' || c == u'>' || isWhiteSpace(c)) return false;
  }
  return text[kScheme.size()] != u'/';
}

}  // namespace launcher
