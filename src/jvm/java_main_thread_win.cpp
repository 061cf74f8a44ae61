#include "jvm/java_main_thread_win.h"

#include <windows.h>

#include "base/handle_owners_win.h"

namespace launcher {
namespace {

struct ThreadWork {
  const JavaMainRequest* request;
  JavaVmState* state;
  JavaHostServices* services;
  JavaMainResult result = JavaMainResult::launchFailed;
};

DWORD WINAPI javaMainThread(void* parameter) {
  auto* work = static_cast<ThreadWork*>(parameter);
  work->result = runJavaMain(*work->request, *work->state, *work->services);
  return 0;
}

}  // namespace

std::uint32_t mainThreadStackSize(std::uint32_t requested, const JavaRuntimeEntryPoints& entryPoints) {
  return requested != 0 ? requested : defaultMainThreadStackSize(entryPoints);
}

JavaMainResult runJavaMainThread(std::uint32_t stackSize, const JavaMainRequest& request, JavaVmState& state,
                                 JavaHostServices& services) {
  ThreadWork work{&request, &state, &services};
  // The size is what the thread may grow to (its reservation), as -Xss means for a Java thread;
  // without the flag Windows would take it as the part committed up front.
  UniqueHandle thread(::CreateThread(nullptr, stackSize, javaMainThread, &work,
                                     stackSize != 0 ? STACK_SIZE_PARAM_IS_A_RESERVATION : 0, nullptr));
  if (!thread) {
    javaMainThread(&work);
    return work.result;
  }
  ::WaitForSingleObject(thread.get(), INFINITE);
  return work.result;
}

}  // namespace launcher
