#pragma once
// The dialog shown when no Java runtime qualifies: it says which runtime the application needs,
// offers a link to where one can be had, and lets the user browse for the folder of an installed
// runtime. OK can be chosen only while the last folder picked holds a runtime this launcher (or
// its companion) can start.

#include <windows.h>

#include <functional>
#include <optional>
#include <string>

#include "runtime/runtime_criteria.h"
#include "ui/hyperlink_win.h"
#include "ui/modal_dialog_win.h"
#include "ui/runtime_folder_rules.h"

namespace launcher {

class RuntimeFolderDialog : public ModalDialog<RuntimeFolderDialog> {
 public:
  // Asks the user for a folder, owned by the given window; nothing when no folder was picked.
  using FolderBrowser = std::function<std::optional<std::u16string>(HWND owner)>;

  enum class Outcome {
    // OK with a usable runtime: chosenFolder and chosenJvmDll name it.
    chosen,
    // Cancel, Esc, the close box, or no desktop the user could see the dialog on.
    cancelled,
    // The dialog could not be created at all, or the console launcher shows none.
    unavailable,
  };

  // `companionAllowed`: a runtime of the companion's architecture may be chosen, because a
  // companion executable may be started for it. `browse` is the system's folder browser unless
  // a test puts another in its place.
  RuntimeFolderDialog(std::u16string explanation, JvmType jvmType, bool companionAllowed,
                      FolderBrowser browse = nullptr);
  RuntimeFolderDialog(const RuntimeFolderDialog&) = delete;
  RuntimeFolderDialog& operator=(const RuntimeFolderDialog&) = delete;

  // Shows the dialog modally, owned by `owner` (the launcher's box owner when it opens), and
  // waits for the user.
  Outcome show(HWND owner = nullptr);

  // After `chosen`: the runtime's home with its closing backslash, to be stored as "JRE Path",
  // and its jvm.dll.
  const std::u16string& chosenFolder() const { return pick_.home; }
  const std::u16string& chosenJvmDll() const { return pick_.jvmDllPath; }

 private:
  friend class ModalDialog<RuntimeFolderDialog>;
  INT_PTR handle(UINT message, WPARAM wParam, LPARAM lParam);

  void onInitDialog();
  void onCommand(int id, int code);
  void onClose();

  void browse();
  bool pickIsUsable() const { return pick_.verdict == PickVerdict::usable; }

  std::u16string explanation_;
  JvmType jvmType_;
  bool companionAllowed_;
  FolderBrowser browse_;
  RuntimePick pick_;
  Hyperlink link_;
};

}  // namespace launcher
