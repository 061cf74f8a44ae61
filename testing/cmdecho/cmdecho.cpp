// cmdecho: a stand-in for a companion executable in the end-to-end tests. It writes the command
// line it was started with, as UTF-8, to the file named by CMDECHO_OUT (default cmdecho.txt in
// the current folder) and ends with the exit code in CMDECHO_EXIT (default 0), once the file named
// by CMDECHO_UNTIL_FILE exists when that is set.

#include <windows.h>

#include <cstdlib>
#include <string>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  wchar_t out[MAX_PATH] = L"cmdecho.txt";
  ::GetEnvironmentVariableW(L"CMDECHO_OUT", out, MAX_PATH);
  const wchar_t* line = ::GetCommandLineW();
  int bytes = ::WideCharToMultiByte(CP_UTF8, 0, line, -1, nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<size_t>(bytes > 0 ? bytes - 1 : 0), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, line, -1, utf8.data(), bytes, nullptr, nullptr);
  HANDLE file = ::CreateFileW(out, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file != INVALID_HANDLE_VALUE) {
    DWORD written = 0;
    ::WriteFile(file, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
    ::CloseHandle(file);
  }
  wchar_t until[MAX_PATH] = L"";
  if (::GetEnvironmentVariableW(L"CMDECHO_UNTIL_FILE", until, MAX_PATH) != 0) {
    while (::GetFileAttributesW(until) == INVALID_FILE_ATTRIBUTES) ::Sleep(50);
  }
  wchar_t code[32] = L"0";
  ::GetEnvironmentVariableW(L"CMDECHO_EXIT", code, 32);
  return _wtoi(code);
}
