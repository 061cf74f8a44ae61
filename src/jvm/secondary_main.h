#pragma once
// A forwarded start in the first instance: on a thread of its own, attach to the running VM, call
// the main class's static secondaryMain with the forwarded arguments, answer the second start,
// and detach. Portable JNI; the answer travels through SecondaryMainReply.

#include <jni.h>

#include <cstdint>
#include <string_view>
#include <string>
#include <vector>

namespace launcher {

class SecondaryMainReply {
 public:
  virtual ~SecondaryMainReply() = default;
  // Hands `result` to the second start, which then ends with it.
  virtual void send(std::int32_t result) = 0;
};

// On a thread not attached to `javaVm`: attaches, finds `mainClass` (slash form) and its
// secondaryMain, and calls it with `arguments`. The int form is answered with what it returned,
// or 1 when an exception escaped it; the void form is answered with 0 before it is called.
// Exceptions are printed on System.err. Nothing is answered when the thread cannot attach (the
// VM is gone, say), the class or method is missing or the array cannot be built. The thread is
// detached again before this returns. True when an answer was sent.
bool callSecondaryMain(JavaVM* javaVm, std::u16string_view mainClass, const std::vector<std::u16string>& arguments,
                       SecondaryMainReply& reply);

}  // namespace launcher
