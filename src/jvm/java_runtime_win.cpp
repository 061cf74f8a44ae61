#include "jvm/java_runtime_win.h"

#include "base/error_box_win.h"
#include "base/module_win.h"
#include "base/wide.h"
#include "jvm/java_environment.h"
#include "resources/resource_ids.h"

namespace launcher {

bool loadJavaRuntime(const MessageOwner& messageOwner, const std::u16string& jvmDllPath, JavaRuntimeEntryPoints& entryPoints) {
  // The libraries jvm.dll needs (the C runtime the runtime ships, say) come from its own folder,
  // then from the runtime's bin folder, before the system folders and Path, so a copy planted in a
  // folder on Path is not taken; the runtime's own later loads search its bin folder too. Loaded
  // by full path, and never freed: the VM lives until the process ends.
  std::u16string binFolder = javaBinFolderFromJvmDll(jvmDllPath);
  ::SetDllDirectoryW(as_wcstr(binFolder));
  HMODULE runtime = ::LoadLibraryExW(as_wcstr(jvmDllPath), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
  if (!runtime) {
    DWORD error = ::GetLastError();
    launcher::showError(messageOwner, IDS_RUNTIME_LOAD_FAILED, {jvmDllPath, static_cast<std::uint32_t>(error)});
    return false;
  }
  entryPoints.createJavaVm = moduleFunction<CreateJavaVmFn>(runtime, "JNI_CreateJavaVM");
  if (entryPoints.createJavaVm) {
    entryPoints.getDefaultJavaVmInitArgs = moduleFunction<GetDefaultJavaVmInitArgsFn>(runtime, "JNI_GetDefaultJavaVMInitArgs");
  }
  if (!entryPoints.createJavaVm || !entryPoints.getDefaultJavaVmInitArgs) {
    DWORD error = ::GetLastError();
    launcher::showError(messageOwner, IDS_SYSTEM_CALL_FAILED,
                        {loadText(IDS_ENTRY_POINT_MISSING), static_cast<std::uint32_t>(error)});
    return false;
  }
  entryPoints.findClassFromBootLoader = moduleFunction<FindClassFromBootLoaderFn>(runtime, "JVM_FindClassFromBootLoader");
  return true;
}

}  // namespace launcher
