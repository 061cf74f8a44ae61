#include "base/thread_win.h"

namespace launcher {
namespace {

// How long a stop waits for the thread between two quit messages.
constexpr DWORD kQuitRetryMs = 20;

}  // namespace

void stopMessageLoopThread(HANDLE thread, DWORD threadId) {
  do {
    ::PostThreadMessageW(threadId, WM_QUIT, 0, 0);
  } while (::WaitForSingleObject(thread, kQuitRetryMs) == WAIT_TIMEOUT);
}

void ensureMessageQueue() {
  MSG message;
  ::PeekMessageW(&message, nullptr, WM_USER, WM_USER, PM_NOREMOVE);
}

}  // namespace launcher
