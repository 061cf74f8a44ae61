#include "app/module_path_win.h"

#include "base/error_box_win.h"
#include "base/wide.h"
#include "resources/resource_ids.h"

namespace launcher {

std::optional<std::u16string> launcherModulePath(const MessageOwner& messageOwner) {
  // The folder a vendor installs into may be deeper than MAX_PATH where long paths are enabled:
  // the buffer grows until the path fits, up to the longest path Windows has.
  constexpr DWORD kLongestPath = 32768;
  std::u16string buffer;
  DWORD error = ERROR_SUCCESS;
  for (DWORD size = MAX_PATH; size <= kLongestPath; size *= 2) {
    buffer.resize(size);
    ::SetLastError(ERROR_SUCCESS);
    DWORD length = ::GetModuleFileNameW(nullptr, as_writable_wcstr(buffer.data()), size);
    error = ::GetLastError();
    // A path that filled the buffer was cut; using it would name a file that is not ours.
    if (length > 0 && length < size) {
      buffer.resize(length);
      return buffer;
    }
    if (length == 0) break;
  }
  if (error == ERROR_SUCCESS) error = ERROR_INSUFFICIENT_BUFFER;
  showError(messageOwner, IDS_SYSTEM_CALL_FAILED, {loadText(IDS_OWN_PATH_UNAVAILABLE), error});
  return std::nullopt;
}

}  // namespace launcher
