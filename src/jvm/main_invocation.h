#pragma once
// The work of the Java main thread: create the VM, find and check the main class, call the main
// method the runtime's own launcher would start (main_entry.h) with the launcher's arguments, deal with an exception that main lets escape, then detach
// and destroy the VM, which waits for the Java program's other threads.

#include <string>
#include <vector>

#include "jvm/java_host.h"
#include "jvm/java_vm.h"
#include "jvm/stream_redirection.h"

namespace launcher {

struct JavaMainRequest {
  JavaRuntimeEntryPoints entryPoints;
  // In the ANSI code page, in the order they go to the VM, after the "vfprintf" hook and before
  // the other hooks.
  std::vector<std::string> vmOptions;
  VmExitHookFn exitHook = nullptr;
  VmAbortHookFn abortHook = nullptr;
  // Slash form, as in "com/example/Main".
  std::u16string mainClass;
  // Without a main class: the executable jar whose manifest names it (full path), or else the
  // main module, "module" or "module/class". The runtime's LauncherHelper reads either.
  std::u16string mainJar;
  std::u16string mainModule;
  std::vector<std::u16string> arguments;
  // Show the stack trace of an exception that escapes main and let the user end the program.
  bool failureCheck = false;
  // IBM runtimes end the program only through System.exit: once main returns, the thread sleeps
  // for the rest of the process instead of detaching and destroying the VM.
  bool sleepAfterMain = false;
  // Where System.out and System.err go, set up right after the VM is created. The error file
  // also gets what the runtime wrote when it refused to create the VM.
  StreamFiles streamFiles;
  // What becomes of the runtime's own output (through the "vfprintf" hook); without a formatter
  // it is neither kept nor passed on.
  RuntimeOutput runtimeOutput;
};

enum class JavaMainResult {
  // main returned; the VM has been destroyed, so every non-daemon Java thread has ended.
  mainReturned,
  // main let an exception escape (and the user, if asked, chose to go on); the VM has been
  // destroyed as after a return. The program failed, so the launcher must not end with 0.
  mainThrew,
  // Nothing ran: the VM could not be created, the main class or its main method was not found,
  // the arguments could not be built, or the thread could not detach. The user has been told
  // where the launcher has a message for it.
  launchFailed,
};

// The whole Java main thread. The thread's stack size is the caller's: the VM takes the calling
// thread as it is. `state` holds the VM while it exists and is empty again on return (unless the
// process ended inside, through System.exit or the user's Cancel in the failure dialog).
JavaMainResult runJavaMain(const JavaMainRequest& request, JavaVmState& state, JavaHostServices& services);

// The part of runJavaMain after creation: find the class, call main, handle an escaped exception,
// detach. On mainReturned and mainThrew the thread is detached; on launchFailed it is not.
JavaMainResult invokeMainClass(const JavaMainRequest& request, JavaVmState& state, JavaHostServices& services);

}  // namespace launcher
