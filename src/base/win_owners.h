#pragma once
// Owners for the Win32 handle kinds the launcher holds.

#include <windows.h>

#include "base/unique_any.h"

namespace launcher {

namespace detail {
inline void closeHandle(HANDLE handle) { ::CloseHandle(handle); }
inline void closeFind(HANDLE handle) { ::FindClose(handle); }
inline void closeKey(HKEY key) { ::RegCloseKey(key); }
inline void freeLibrary(HMODULE module) { ::FreeLibrary(module); }
inline void unmapView(void* view) { ::UnmapViewOfFile(view); }
inline void destroyWindow(HWND window) { ::DestroyWindow(window); }
inline void deleteGdiObject(HGDIOBJ object) { ::DeleteObject(object); }
inline void localFree(HLOCAL memory) { ::LocalFree(memory); }
}  // namespace detail

using UniqueHandle = UniqueAny<HANDLE, detail::closeHandle>;
using UniqueFileHandle = UniqueAny<HANDLE, detail::closeHandle, -1>;  // INVALID_HANDLE_VALUE
using UniqueFindHandle = UniqueAny<HANDLE, detail::closeFind, -1>;
using UniqueKey = UniqueAny<HKEY, detail::closeKey>;
using UniqueModule = UniqueAny<HMODULE, detail::freeLibrary>;
using UniqueView = UniqueAny<void*, detail::unmapView>;
using UniqueWindow = UniqueAny<HWND, detail::destroyWindow>;
using UniqueGdiObject = UniqueAny<HGDIOBJ, detail::deleteGdiObject>;
using UniqueLocalMemory = UniqueAny<HLOCAL, detail::localFree>;

}  // namespace launcher
