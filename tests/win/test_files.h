#pragma once
// Small file helpers for the Windows-side tests: they set up real files and folders for the
// code under test, through the same Win32 calls the launcher uses.

#include <windows.h>

#include <string>

#include "base/wide.h"
#include "settings/settings_paths.h"

namespace launcher::testing {

// The launch context of this test program, formed as the launcher forms its own.
inline LaunchContext ownLaunchContext() {
  wchar_t path[MAX_PATH];
  DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  return launchContextFor(std::u16string_view(reinterpret_cast<const char16_t*>(path), length));
}

// Writes `bytes` to `path`, replacing it; false when the file cannot be created.
inline bool writeFile(const std::u16string& path, const std::string& bytes) {
  HANDLE file = ::CreateFileW(as_wcstr(path), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  bool ok = ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
            written == bytes.size();
  ::CloseHandle(file);
  return ok;
}

inline std::string readFile(const std::u16string& path) {
  std::string bytes;
  HANDLE file = ::CreateFileW(as_wcstr(path), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return bytes;
  char buffer[4096];
  DWORD got = 0;
  while (::ReadFile(file, buffer, sizeof(buffer), &got, nullptr) && got > 0) bytes.append(buffer, got);
  ::CloseHandle(file);
  return bytes;
}

// Deletes a folder with everything in it.
inline void removeTree(const std::u16string& folder) {
  WIN32_FIND_DATAW data;
  std::u16string pattern = folder + u"\\*";
  HANDLE find = ::FindFirstFileW(as_wcstr(pattern), &data);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      std::u16string name(as_u16view(data.cFileName));
      if (name == u"." || name == u"..") continue;
      std::u16string path = folder + u"\\" + name;
      if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        removeTree(path);
      } else {
        ::DeleteFileW(as_wcstr(path));
      }
    } while (::FindNextFileW(find, &data));
    ::FindClose(find);
  }
  ::RemoveDirectoryW(as_wcstr(folder));
}

// This test program's temporary folder, with its closing backslash.
inline std::u16string tempFolder() {
  wchar_t folder[MAX_PATH];
  DWORD length = ::GetTempPathW(MAX_PATH, folder);
  return std::u16string(as_u16view(folder, length));
}

}  // namespace launcher::testing
