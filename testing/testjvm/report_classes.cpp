// The report that the test application's main methods write: one "key=value" line per fact about
// how the launcher started them, in UTF-8.
#include "testjvm.h"

#include <tlhelp32.h>

namespace testjvm {

namespace {

// The size of the address range reserved for the calling thread's stack.
size_t reservedStackSize() {
  MEMORY_BASIC_INFORMATION info{};
  int local = 0;
  VirtualQuery(&local, &info, sizeof info);
  auto* base = static_cast<char*>(info.AllocationBase);
  char* address = base;
  while (VirtualQuery(address, &info, sizeof info) == sizeof info &&
         info.AllocationBase == base) {
    address += info.RegionSize;
  }
  return static_cast<size_t>(address - base);
}

// Whether the calling thread is the process's earliest-created thread still running.
bool onFirstThread() {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
  if (snapshot == INVALID_HANDLE_VALUE) {
    return false;
  }
  DWORD firstId = 0;
  ULONGLONG firstCreated = ~0ULL;
  THREADENTRY32 entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
    if (entry.th32OwnerProcessID != GetCurrentProcessId()) {
      continue;
    }
    HANDLE thread = OpenThread(THREAD_QUERY_LIMITED_INFORMATION, FALSE, entry.th32ThreadID);
    FILETIME created{}, exited{}, kernel{}, user{};
    if (thread != nullptr && GetThreadTimes(thread, &created, &exited, &kernel, &user)) {
      ULONGLONG when = (ULONGLONG(created.dwHighDateTime) << 32) | created.dwLowDateTime;
      if (when < firstCreated || (when == firstCreated && entry.th32ThreadID < firstId)) {
        firstCreated = when;
        firstId = entry.th32ThreadID;
      }
    }
    if (thread != nullptr) {
      CloseHandle(thread);
    }
  }
  CloseHandle(snapshot);
  return firstId == GetCurrentThreadId();
}

std::string line(const std::string& key, const std::string& value) {
  return key + "=" + value + "\n";
}

}  // namespace

std::string argumentLines(Object* stringArray) {
  auto* array = dynamic_cast<ObjectArray*>(stringArray);
  if (array == nullptr) {
    return line("arg.count", "null");
  }
  std::string text = line("arg.count", std::to_string(array->items.size()));
  for (size_t i = 0; i < array->items.size(); ++i) {
    std::string key = "arg." + std::to_string(i);
    auto* string = dynamic_cast<StringObject*>(array->items[i]);
    if (string == nullptr) {
      text += line(key + ".units", "null");
      continue;
    }
    text += line(key + ".units", hexUnits(string->units));
    text += line(key + ".text", utf8(string->units));
  }
  return text;
}

void writeMainReport(const std::string& className, Object* stringArray) {
  const VmState& state = vm();
  std::string text = line("class", className);
  text += line("thread.name", currentThreadName());
  text += line("thread.first", onFirstThread() ? "yes" : "no");
  text += line("thread.loader", GetCurrentThreadId() == state.loaderThreadId ? "yes" : "no");
  text += line("thread.stack.reserved", std::to_string(reservedStackSize()));
  text += argumentLines(stringArray);
  for (const wchar_t* name : {L"QV_JVM_PATH", L"QV_JVM_HOME", L"Path"}) {
    if (environmentIsSet(name)) {
      text += line("env." + utf8FromWide(name), utf8FromWide(environment(name)));
    }
  }
  wchar_t folder[MAX_PATH * 4];
  DWORD length = GetCurrentDirectoryW(MAX_PATH * 4, folder);
  text += line("cwd", utf8FromWide(std::wstring(folder, length)));
  char version[16];
  wsprintfA(version, "0x%08lX", state.version);
  text += line("vm.version", version);
  text += line("vm.ignoreUnrecognized", state.ignoreUnrecognized ? "true" : "false");
  text += line("option.count", std::to_string(state.options.size()));
  std::string classPath;
  bool hasClassPath = false;
  for (size_t i = 0; i < state.options.size(); ++i) {
    std::string key = "option." + std::to_string(i);
    text += line(key, state.options[i]);
    if (state.optionHasExtraInfo[i]) {
      text += line(key + ".extraInfo", "set");
    }
    if (state.options[i].rfind("-Djava.class.path=", 0) == 0) {
      classPath = state.options[i].substr(18);
      hasClassPath = true;
    }
  }
  if (hasClassPath) {
    text += line("classpath", classPath);
    // How many elements name nothing, read as a runtime reads them: in the ANSI code page.
    int missing = 0;
    for (size_t start = 0; start <= classPath.size();) {
      size_t end = classPath.find(';', start);
      if (end == std::string::npos) end = classPath.size();
      std::string element = classPath.substr(start, end - start);
      if (!element.empty() && GetFileAttributesA(element.c_str()) == INVALID_FILE_ATTRIBUTES) ++missing;
      start = end + 1;
    }
    text += line("classpath.missing", std::to_string(missing));
  }
  for (size_t i = 0; i < state.lookups.size(); ++i) {
    text += line("lookup." + std::to_string(i), state.lookups[i]);
  }
  std::wstring path = environment(L"TESTJVM_REPORT", L"report.txt");
  appendFile(path, text, true);
  logEvent("report " + utf8FromWide(fullPath(path)));
}

void sleepIfAsked() {
  // Until the test lets it go: TESTJVM_MAIN_UNTIL_FILE names a file that ends the wait.
  if (environmentIsSet(L"TESTJVM_MAIN_UNTIL_FILE")) {
    std::wstring file = fullPath(environment(L"TESTJVM_MAIN_UNTIL_FILE"));
    while (GetFileAttributesW(file.c_str()) == INVALID_FILE_ATTRIBUTES) Sleep(50);
  }
  if (environmentIsSet(L"TESTJVM_MAIN_SLEEP_MS")) {
    Sleep(static_cast<DWORD>(_wtol(environment(L"TESTJVM_MAIN_SLEEP_MS").c_str())));
  }
}

}  // namespace testjvm
