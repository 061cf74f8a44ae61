#pragma once
// Ending a thread that runs a message loop.

#include <windows.h>

namespace launcher {

// Posts the quit message to `threadId` until its thread `thread` has ended, waiting on the thread
// between attempts: a quit posted before the thread has made its message queue is lost.
void stopMessageLoopThread(HANDLE thread, DWORD threadId);

// Gives the calling thread its message queue, so that messages posted to it from now on are kept.
void ensureMessageQueue();

}  // namespace launcher
