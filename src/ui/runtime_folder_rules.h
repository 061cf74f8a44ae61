#pragma once
// The decisions of the runtime folder dialog that need no window: the explanation it shows,
// whether a folder the user picked holds a runtime this launcher can start, where the dialog is
// placed, and the link colours a user may have set. The dialog itself only asks Windows and
// shows the answers.

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

// The machines a jvm.dll may be built for to be started: this launcher's own, and its
// companion's when one may be started.
struct RunnableMachines {
  std::uint16_t own;
  std::uint16_t companion;
  bool companionAllowed;
};

// The machine type of the module at a path; nothing when it is not a readable image.
using MachineReader = std::function<std::optional<std::uint16_t>(const std::u16string& path)>;

// Examines `folder` (with or without a trailing backslash) as the user picked it.
RuntimePick examinePickedFolder(RuntimeEnvironment& env, std::u16string_view folder, JvmType jvmType,
                                const MachineReader& machineOf, const RunnableMachines& machines);

// A rectangle in screen coordinates; right and bottom lie just outside it.
struct ScreenRect {
  long left = 0, top = 0, right = 0, bottom = 0;
};

struct ScreenPoint {
  long x = 0, y = 0;
};

// Where a window of `width` x `height` goes when it is centred over `area` (its owner, or the
// work area) and then moved as little as needed to lie inside `workArea`; a window larger than
// the work area keeps its top left corner inside it, so its caption stays reachable.
ScreenPoint centredPosition(const ScreenRect& area, long width, long height, const ScreenRect& workArea);

// A colour as three 0-255 components.
struct LinkColor {
  std::uint8_t red = 0, green = 0, blue = 0;
  friend bool operator==(const LinkColor&, const LinkColor&) = default;
};

// The longest "Anchor Color" value read: "255,255,255".
inline constexpr std::size_t kAnchorColorMaxLength = 11;

// Whether the link's text may be handed to the shell to open: an "https://" address (any case)
// with a host, and nothing that could end the address inside the browser's command line (white
// space, control characters, quotes). Any other text (a program, a file, another scheme: a
// translated text could hold one) is shown but not opened.
bool isOpenableWebAddress(std::u16string_view text);

// A user's "Anchor Color" or "Anchor Color Visited" value: three decimal numbers from 0 to 255
// separated by commas, spaces allowed around each number ("0,0,255" or "0, 0, 255"). Nothing for
// any other text, a longer one included, so the caller keeps its default colour.
std::optional<LinkColor> parseAnchorColor(std::u16string_view value);

}  // namespace launcher
