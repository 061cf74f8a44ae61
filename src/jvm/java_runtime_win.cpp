#include "jvm/java_runtime_win.h"

#include "base/error_box.h"
#include "base/wide.h"
#include "resources/resource_ids.h"

namespace launcher {
namespace {

template <typename Fn>
Fn bind(HMODULE module, const char* name) {
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
}

}  // namespace

bool loadJavaRuntime(HWND messageOwner, const std::u16string& jvmDllPath, JavaRuntimeEntryPoints& entryPoints) {
  // Never freed: the VM lives until the process ends.
  HMODULE runtime = ::LoadLibraryW(as_wcstr(jvmDllPath));
  if (!runtime) {
    DWORD error = ::GetLastError();
    launcher::showError(messageOwner, IDS_RUNTIME_LOAD_FAILED, {jvmDllPath, static_cast<std::uint32_t>(error)});
    return false;
  }
  entryPoints.createJavaVm = bind<CreateJavaVmFn>(runtime, "JNI_CreateJavaVM");
  if (entryPoints.createJavaVm) {
    entryPoints.getDefaultJavaVmInitArgs = bind<GetDefaultJavaVmInitArgsFn>(runtime, "JNI_GetDefaultJavaVMInitArgs");
  }
  if (!entryPoints.createJavaVm || !entryPoints.getDefaultJavaVmInitArgs) {
    DWORD error = ::GetLastError();
    launcher::showError(messageOwner, IDS_SYSTEM_CALL_FAILED,
                        {loadText(IDS_ENTRY_POINT_MISSING), static_cast<std::uint32_t>(error)});
    return false;
  }
  entryPoints.findClassFromBootLoader = bind<FindClassFromBootLoaderFn>(runtime, "JVM_FindClassFromBootLoader");
  return true;
}

}  // namespace launcher
