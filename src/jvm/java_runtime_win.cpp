#include "jvm/java_runtime_win.h"

#include "base/error_box.h"
#include "base/wide.h"
#include "jvm/stream_files_win.h"
#include "resources/resource_ids.h"
#include "ui/failure_dialog.h"

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

void WindowsJavaHostServices::showError(unsigned id, std::initializer_list<MessageArg> args) {
  launcher::showError(messageOwner_, id, args);
}

std::u16string WindowsJavaHostServices::text(unsigned id) { return loadText(id); }

bool WindowsJavaHostServices::confirmFailure(std::u16string_view stackTrace) {
  return FailureDialog(std::u16string(stackTrace)).show(::GetActiveWindow()) == IDOK;
}

void WindowsJavaHostServices::closeSplashWindow() {
  // The launcher's own splash window is not part of this launcher yet.
}

void WindowsJavaHostServices::signalMainStarted() {
  if (mainStartedEvent_) ::SetEvent(mainStartedEvent_);
}

void WindowsJavaHostServices::sleepForever() {
  for (;;) ::Sleep(INFINITE);
}

void WindowsJavaHostServices::stampStreamFileNames(std::u16string& outputFile, std::u16string& errorFile) {
  stampStreamFileNamesWithLocalTime(outputFile, errorFile);
}

void WindowsJavaHostServices::createParentFolders(std::u16string_view filePath) { createParentFoldersOf(filePath); }

}  // namespace launcher
