#include "ui/folder_browser_win.h"

#include <shlobj.h>

#include "base/error_box_win.h"
#include "base/wide.h"
#include "base/handle_owners_win.h"
#include "resources/resource_ids.h"

namespace launcher {

std::optional<std::u16string> browseForRuntimeFolder(HWND owner) {
  std::u16string title = loadText(IDS_BROWSE_TITLE);
  BROWSEINFOW info{};
  info.hwndOwner = owner;
  info.pidlRoot = nullptr;  // the desktop
  info.lpszTitle = as_wcstr(title);
  info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE | BIF_NONEWFOLDERBUTTON;
  UniqueItemIdList picked(::SHBrowseForFolderW(&info));
  if (!picked) return std::nullopt;
  return fileSystemPathOf(picked.get());
}

std::optional<std::u16string> fileSystemPathOf(LPCITEMIDLIST item) {
  // A picked folder may lie beyond MAX_PATH where long paths are enabled.
  constexpr DWORD kLongestPath = 32768;
  std::u16string path(kLongestPath, u'\0');
  // On failure the buffer may hold an empty text, which a caller would take for the drive's root.
  if (!item || !::SHGetPathFromIDListEx(item, as_writable_wcstr(path.data()), kLongestPath, GPFIDL_DEFAULT) ||
      path[0] == u'\0') {
    return std::nullopt;
  }
  path.resize(path.find(u'\0'));
  return path;
}

}  // namespace launcher
