#include "ui/runtime_folder_dialog_win.h"

#include <commctrl.h>

#include "base/error_box_win.h"
#include "base/wide.h"
#include "base/handle_owners_win.h"
#include "resources/resource_ids.h"
#include "runtime/pe_header_check.h"
#include "runtime/pe_image_file_win.h"
#include "runtime/runtime_environment_win.h"
#include "ui/dialog_placement_win.h"
#include "ui/folder_browser_win.h"

namespace launcher {
namespace {

// Whether this process's window station is one a user sees. A service or a task that runs
// without the user logged on has another, where a dialog would wait for ever for a click.
bool hasInteractiveDesktop() {
  HWINSTA station = ::GetProcessWindowStation();  // the process's own; not to be closed
  USEROBJECTFLAGS flags{};
  if (!station || !::GetUserObjectInformationW(station, UOI_FLAGS, &flags, sizeof(flags), nullptr)) return true;
  return (flags.dwFlags & WSF_VISIBLE) != 0;
}

}  // namespace

RuntimeFolderDialog::RuntimeFolderDialog(std::u16string explanation, JvmType jvmType, bool companionAllowed,
                                         FolderBrowser browse)
    : explanation_(std::move(explanation)),
      jvmType_(jvmType),
      companionAllowed_(companionAllowed),
      browse_(browse ? std::move(browse) : FolderBrowser(browseForRuntimeFolder)) {}

RuntimeFolderDialog::Outcome RuntimeFolderDialog::show(HWND owner) {
  // The console launcher's user may be a script: the text of the runtime needed goes to
  // standard error instead.
  if (errorsGoToStandardError()) return Outcome::unavailable;
  if (!hasInteractiveDesktop()) return Outcome::cancelled;
  // The folder browser needs COM; the thread leaves it again before it goes on to wait for the
  // Java program.
  ComApartment com = enterComApartment();
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_TAB_CLASSES};  // the link's tooltip
  ::InitCommonControlsEx(&controls);
  INT_PTR result = runModal(owner, IDD_RUNTIME_FOLDER);
  if (result == IDOK && pickIsUsable()) return Outcome::chosen;
  if (result == IDOK || result == IDCANCEL) return Outcome::cancelled;
  return Outcome::unavailable;
}

INT_PTR RuntimeFolderDialog::handle(UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      onInitDialog();
      return FALSE;  // the focus is set
    case WM_COMMAND:
      onCommand(LOWORD(wParam), HIWORD(wParam));
      return TRUE;
    case WM_CLOSE:
      onClose();
      return TRUE;
  }
  return FALSE;
}

void RuntimeFolderDialog::onInitDialog() {
  link_.attach(::GetDlgItem(window_, IDC_LINK));
  ::SetDlgItemTextW(window_, IDC_EXPLANATION, as_wcstr(explanation_));
  ::EnableWindow(::GetDlgItem(window_, IDOK), FALSE);
  // Until a runtime is picked, Enter browses.
  ::SendMessageW(window_, DM_SETDEFID, IDC_BROWSE, 0);
  ::SetFocus(::GetDlgItem(window_, IDC_BROWSE));
  centreDialog(window_);
}

void RuntimeFolderDialog::onCommand(int id, int code) {
  switch (id) {
    case IDOK:
      // A disabled OK can still be reached by Enter or by another program's message.
      if (pickIsUsable()) ::EndDialog(window_, IDOK);
      break;
    case IDCANCEL:
      ::EndDialog(window_, IDCANCEL);
      break;
    case IDC_BROWSE:
      browse();
      break;
    case IDC_LINK:
      if (code == STN_CLICKED) link_.open();
      break;
  }
}

void RuntimeFolderDialog::onClose() { ::EndDialog(window_, IDCANCEL); }

void RuntimeFolderDialog::browse() {
  std::optional<std::u16string> folder = browse_(window_);
  // Cancelled, or nothing with a path: the last pick stands.
  if (!folder || folder->empty()) return;
  WindowsRuntimeEnvironment machine;
  pick_ = examinePickedFolder(machine, *folder, jvmType_, moduleMachine,
                              {kOwnMachine, kCompanionMachine, companionAllowed_});
  ::SetDlgItemTextW(window_, IDC_CHOSEN_FOLDER, as_wcstr(*folder));
  std::u16string hint;
  if (pick_.verdict == PickVerdict::noRuntime) hint = loadText(IDS_PICK_NO_RUNTIME);
  if (pick_.verdict == PickVerdict::notRunnable) hint = loadText(IDS_PICK_NOT_RUNNABLE);
  ::SetDlgItemTextW(window_, IDC_PICK_HINT, as_wcstr(hint));
  // Enter confirms a usable runtime and browses again otherwise; the focus never stays on a
  // disabled OK.
  HWND ok = ::GetDlgItem(window_, IDOK), browseButton = ::GetDlgItem(window_, IDC_BROWSE);
  if (pickIsUsable()) {
    ::EnableWindow(ok, TRUE);
    ::SendMessageW(window_, DM_SETDEFID, IDOK, 0);
    ::SendMessageW(window_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(ok), TRUE);
  } else {
    ::SendMessageW(window_, DM_SETDEFID, IDC_BROWSE, 0);
    ::SendMessageW(window_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(browseButton), TRUE);
    ::EnableWindow(ok, FALSE);
  }
}

}  // namespace launcher
