#pragma once
// Owners for the Win32 handle kinds the launcher holds.

#include <windows.h>
#include <objbase.h>
#include <shtypes.h>

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
inline void deleteDc(HDC dc) { ::DeleteDC(dc); }
inline void localFree(HLOCAL memory) { ::LocalFree(memory); }
inline void freeItemIdList(LPITEMIDLIST items) { ::CoTaskMemFree(items); }
inline void leaveComApartment(bool) { ::CoUninitialize(); }
}  // namespace detail

using UniqueHandle = UniqueAny<HANDLE, detail::closeHandle>;
using UniqueFileHandle = UniqueAny<HANDLE, detail::closeHandle, -1>;  // INVALID_HANDLE_VALUE
using UniqueFindHandle = UniqueAny<HANDLE, detail::closeFind, -1>;
using UniqueKey = UniqueAny<HKEY, detail::closeKey>;
using UniqueModule = UniqueAny<HMODULE, detail::freeLibrary>;
using UniqueView = UniqueAny<void*, detail::unmapView>;
using UniqueWindow = UniqueAny<HWND, detail::destroyWindow>;
using UniqueGdiObject = UniqueAny<HGDIOBJ, detail::deleteGdiObject>;
// A device context made with CreateCompatibleDC (not one borrowed with GetDC).
using UniqueMemoryDc = UniqueAny<HDC, detail::deleteDc>;
using UniqueLocalMemory = UniqueAny<HLOCAL, detail::localFree>;
// A shell item list handed out by the shell (the folder browser's pick), freed with CoTaskMemFree.
using UniqueItemIdList = UniqueAny<LPITEMIDLIST, detail::freeItemIdList>;
// This thread's membership in a COM apartment: true while it holds one, which it leaves when the
// owner goes. Hold one only for as long as COM is needed.
using ComApartment = UniqueAny<bool, detail::leaveComApartment>;

// Joins a single-threaded apartment, as the shell's dialogs need; an empty owner when this thread
// cannot (it is in a multithreaded apartment already), which then is not left either.
inline ComApartment enterComApartment() {
  return ComApartment(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE)));
}

}  // namespace launcher
