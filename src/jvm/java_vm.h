#pragma once
// Creating and destroying the one Java VM of the process through the runtime's invocation
// entry points, and the default stack size the runtime asks for its threads.

#include <jni.h>

#include <cstdint>
#include <string>
#include <vector>

#include "jvm/java_host.h"
#include "settings/stream_files.h"

namespace launcher {

// The VM and the environment of the thread that created it. jniEnv is valid on that thread only.
struct JavaVmState {
  JavaVM* javaVm = nullptr;
  JNIEnv* jniEnv = nullptr;
};

// The JNI 1.1 argument record. Current jni.h headers no longer declare it, yet the runtimes
// still answer a JNI_GetDefaultJavaVMInitArgs call made with it by filling in their default
// thread stack size, and this is the only way to ask for that size before the VM exists.
struct Jdk11InitArgs {
  jint version;
  char** properties;
  jint checkSource;
  jint nativeStackSize;
  jint javaStackSize;
  jint minHeapSize;
  jint maxHeapSize;
  jint verifyMode;
  char* classpath;
  jint(JNICALL* vfprintf)(void* stream, const char* format, void* args);
  void(JNICALL* exit)(jint code);
  void(JNICALL* abort)();
  jint enableClassGC;
  jint enableVerboseGC;
  jint disableAsyncGC;
  jint verbose;
  jboolean debugging;
  jint debugPort;
};

// The stack size in bytes the runtime gives its threads by default, for the Java main thread when
// no "-Xss" chose one; 0 (the executable's own default) when the runtime names none.
std::uint32_t defaultMainThreadStackSize(const JavaRuntimeEntryPoints& entryPoints);

// Creates the VM on the calling thread, which becomes the VM's main thread, from the "vfprintf"
// hook (runtime_output.h; the runtime's output goes through `output`), `vmOptions` in their
// order, and the "abort" and "exit" hooks. An option the VM does not know fails the creation. On
// failure, error message IDS_VM_CREATION_FAILED has been shown with what the runtime said, which has also gone into
// the error file of `streamFiles`, and `state` is left empty.
bool createJavaVm(const JavaRuntimeEntryPoints& entryPoints, const std::vector<std::string>& vmOptions,
                  VmExitHookFn exitHook, VmAbortHookFn abortHook, const RuntimeOutput& output,
                  const StreamFiles& streamFiles, JavaVmState& state, JavaHostServices& services);

// Destroys the VM if it exists, waiting for the Java program's non-daemon threads, and empties
// `state`; a second call does nothing. The calling thread must be the one that created the VM or
// one that is not attached to it.
void destroyJavaVm(JavaVmState& state);

}  // namespace launcher
