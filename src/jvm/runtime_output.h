#pragma once
// The runtime's own output. The VM writes it through the launcher's "vfprintf" hook, which passes
// it on to the process's streams and, while the VM is being created, keeps its first few KB: when
// the runtime refuses to start, the user reads its own words in message IDS_VM_CREATION_FAILED, whether creation
// fails or the runtime aborts the process, and they go into the "Error File" as well.

#include <jni.h>

#include <cstdarg>
#include <cstdio>

#include "jvm/java_host.h"
#include "settings/stream_files.h"

namespace launcher {

// The hook the "vfprintf" option carries. It formats into a fixed buffer (text past its 8 KB is
// not passed on, and marks the kept words cut) and returns the length of what it passed on.
jint JNICALL runtimeOutputHook(FILE* stream, const char* format, va_list args);
// Function pointers convert only to their own type, calling convention included (JNICALL is
// __stdcall on x86, where a hook of another convention would unbalance the runtime's stack).
inline constexpr VmVfprintfHookFn kRuntimeOutputHook = &runtimeOutputHook;

// From now on the runtime's notice that it recorded an ahead-of-time configuration is not passed
// on: the launcher records one for its cache, which is none of the program's output.
void quietCacheRecordingNotice();

// While one exists, the runtime's output is kept and an abort of the VM is reported with it
// (reportVmCreationAbort). The process creates one VM, so there is one watch at a time. From its
// creation on, the hook handles the output through `output` for the rest of the process.
class VmCreationWatch {
 public:
  VmCreationWatch(const RuntimeOutput& output, const StreamFiles& streamFiles, JavaHostServices& services);
  ~VmCreationWatch();
  VmCreationWatch(const VmCreationWatch&) = delete;
  VmCreationWatch& operator=(const VmCreationWatch&) = delete;

  // After JNI_CreateJavaVM failed: IDS_VM_CREATION_FAILED with the runtime's words, or text `reasonId`
  // (none when 0) when it said nothing; the words also go into the error file.
  void reportFailure(unsigned reasonId);
};

// For the VM's abort hook: while a VM is being created, reports the failure as reportFailure does
// and returns true, and the caller ends the process with -1, the code of a failed launch. False,
// having done nothing, at any other time.
bool reportVmCreationAbort();

}  // namespace launcher
