#pragma once
// The system's folder browser, as the runtime folder dialog uses it.

#include <windows.h>
#include <shtypes.h>

#include <optional>
#include <string>

namespace launcher {

// Lets the user pick a folder of the file system, starting at the desktop, with IDS_BROWSE_TITLE as the
// browser's instructions; nothing when the user cancels or picks something that is no folder of
// the file system. The calling thread must be in a single-threaded COM apartment.
std::optional<std::u16string> browseForRuntimeFolder(HWND owner);

// The file-system path of a shell item; nothing for an item that has none (a library, a virtual
// folder such as the computer itself); long paths are given whole.
std::optional<std::u16string> fileSystemPathOf(LPCITEMIDLIST item);

}  // namespace launcher
