#include "app/module_path_win.h"

#include "base/error_box_win.h"
#include "base/wide.h"
#include "resources/resource_ids.h"

namespace launcher {

std::optional<std::u16string> launcherModulePath(const MessageOwner& messageOwner) {
  char16_t buffer[MAX_PATH];
  ::SetLastError(ERROR_SUCCESS);
  DWORD length = ::GetModuleFileNameW(nullptr, as_writable_wcstr(buffer), MAX_PATH);
  DWORD error = ::GetLastError();
  // A path that filled the buffer was cut; using it would name a file that is not ours.
  if (length == 0 || length >= MAX_PATH) {
    if (error == ERROR_SUCCESS) error = ERROR_INSUFFICIENT_BUFFER;
    showError(messageOwner, IDS_SYSTEM_CALL_FAILED, {loadText(IDS_OWN_PATH_UNAVAILABLE), error});
    return std::nullopt;
  }
  return std::u16string(buffer, length);
}

}  // namespace launcher
