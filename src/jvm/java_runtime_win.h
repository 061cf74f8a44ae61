#pragma once
// The Java runtime on Windows: loading jvm.dll and binding its entry points.

#include <windows.h>

#include <string>

#include "base/message_owner_win.h"
#include "jvm/java_host.h"

namespace launcher {

// Loads the runtime library and binds JNI_CreateJavaVM and JNI_GetDefaultJavaVMInitArgs (both
// required) and JVM_FindClassFromBootLoader (optional). The library stays loaded for the rest of
// the process. False after the user has been told why (IDS_RUNTIME_LOAD_FAILED, or IDS_SYSTEM_CALL_FAILED with IDS_ENTRY_POINT_MISSING).
bool loadJavaRuntime(const MessageOwner& messageOwner, const std::u16string& jvmDllPath, JavaRuntimeEntryPoints& entryPoints);

}  // namespace launcher
