#include "app/pair_relaunch_win.h"

#include <windows.h>

#include "base/error_box_win.h"
#include "base/wide.h"
#include "base/handle_owners_win.h"
#include "resources/resource_ids.h"

namespace launcher {
namespace {

// Set for the companion only. A companion that finds a runtime it cannot load must say so rather
// than hand the start on again: two launchers that name each other (or one that names itself)
// would otherwise start each other without end.
constexpr char16_t kCompanionMark[] = u"QV_LAUNCHER_COMPANION";

}  // namespace

bool takeCompanionMark() {
  bool marked = ::GetEnvironmentVariableW(as_wcstr(kCompanionMark), nullptr, 0) != 0;
  ::SetEnvironmentVariableW(as_wcstr(kCompanionMark), nullptr);
  return marked;
}

int startPairProduct(const MessageOwner& messageOwner, const std::u16string& pairProduct, bool waitForExitCode) {
  // CreateProcessW may write into the command line it is given, so it gets a copy.
  std::u16string commandLine(as_u16view(::GetCommandLineW()));
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION started{};
  ::SetEnvironmentVariableW(as_wcstr(kCompanionMark), L"1");
  if (!::CreateProcessW(as_wcstr(pairProduct), as_writable_wcstr(commandLine), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &started)) {
    // Missing, not a program, or not allowed: without a word the application would simply not
    // open, and a script would read success.
    std::uint32_t error = ::GetLastError();
    showError(messageOwner, IDS_COMPANION_START_FAILED, {pairProduct, systemErrorText(error)});
    return -1;
  }
  UniqueHandle process(started.hProcess), thread(started.hThread);
  if (!waitForExitCode) return 0;
  ::WaitForSingleObject(process.get(), INFINITE);
  DWORD exitCode = 0;
  if (!::GetExitCodeProcess(process.get(), &exitCode)) return 0;
  return static_cast<int>(exitCode);
}

}  // namespace launcher
