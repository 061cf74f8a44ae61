#pragma once
// The Java main thread on Windows: a thread of the requested stack size that runs the Java
// program and whose end the primary thread waits for.

#include <cstdint>

#include "jvm/java_host.h"
#include "jvm/java_vm.h"
#include "jvm/main_invocation.h"

namespace launcher {

// The stack size for the Java main thread: `requested` when the settings gave one, else the
// runtime's default (0 when it has none, which gives the executable's default).
std::uint32_t mainThreadStackSize(std::uint32_t requested, const JavaRuntimeEntryPoints& entryPoints);

// Runs the Java program on a new thread with `stackSize` bytes of stack (on the calling thread
// when no thread can be made) and waits for it without time limit.
JavaMainResult runJavaMainThread(std::uint32_t stackSize, const JavaMainRequest& request, JavaVmState& state,
                                 JavaHostServices& services);

}  // namespace launcher
