// What the test runtime tells the tests about itself: an event log, warnings, and the loud end
// of the process when the host misuses the interface.
#include "testjvm.h"

#include <cstdio>

namespace testjvm {

std::wstring environment(const wchar_t* name, const wchar_t* fallback) {
  wchar_t buffer[32768];
  DWORD length = GetEnvironmentVariableW(name, buffer, 32768);
  if (length == 0 || length >= 32768) {
    return fallback ? fallback : L"";
  }
  return std::wstring(buffer, length);
}

bool environmentIsSet(const wchar_t* name) {
  return GetEnvironmentVariableW(name, nullptr, 0) != 0;
}

std::string utf8FromWide(const std::wstring& text) {
  return utf8(std::u16string(text.begin(), text.end()));
}

std::string narrowFromAnsi(const char* ansi) {
  int length = MultiByteToWideChar(CP_ACP, 0, ansi, -1, nullptr, 0);
  std::wstring wide(length > 0 ? length - 1 : 0, L'\0');
  if (length > 1) {
    MultiByteToWideChar(CP_ACP, 0, ansi, -1, wide.data(), length);
  }
  return utf8FromWide(wide);
}

std::wstring fullPath(const std::wstring& path) {
  wchar_t buffer[MAX_PATH * 4];
  DWORD length = GetFullPathNameW(path.c_str(), MAX_PATH * 4, buffer, nullptr);
  return length == 0 || length >= MAX_PATH * 4 ? path : std::wstring(buffer, length);
}

void appendFile(const std::wstring& path, const std::string& bytes, bool replace) {
  HANDLE file = CreateFileW(path.c_str(), replace ? GENERIC_WRITE : FILE_APPEND_DATA,
                            FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            replace ? CREATE_ALWAYS : OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    std::fprintf(stderr, "testjvm: cannot write %s (error %lu)\n", utf8FromWide(path).c_str(),
                 GetLastError());
    return;
  }
  DWORD written = 0;
  WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
}

void logEvent(const std::string& line) {
  // Several threads may log at once; appending whole lines through FILE_APPEND_DATA keeps them apart.
  if (environmentIsSet(L"TESTJVM_LOG")) {
    appendFile(environment(L"TESTJVM_LOG"), line + "\n", false);
  }
}

static void toStandardError(const std::string& text) {
  HANDLE handle = GetStdHandle(STD_ERROR_HANDLE);
  if (handle != nullptr && handle != INVALID_HANDLE_VALUE) {
    DWORD written = 0;
    WriteFile(handle, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  }
  OutputDebugStringA(text.c_str());
}

void warn(const std::string& text) {
  logEvent("warning: " + text);
  toStandardError("testjvm: warning: " + text + "\n");
}

void fatal(const std::string& text) {
  logEvent("fatal: " + text);
  toStandardError("testjvm: fatal: " + text + "\n");
  if (vm().abortHook != nullptr) {
    vm().abortHook();
  }
  ExitProcess(134);
}

}  // namespace testjvm
