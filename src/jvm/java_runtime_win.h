#pragma once
// The Java runtime on Windows: loading jvm.dll and binding its entry points, and what the
// portable JNI code asks of Windows while the Java program runs.

#include <windows.h>

#include <string>

#include "jvm/java_host.h"

namespace launcher {

// Loads the runtime library and binds JNI_CreateJavaVM and JNI_GetDefaultJavaVMInitArgs (both
// required) and JVM_FindClassFromBootLoader (optional). The library stays loaded for the rest of
// the process. False after the user has been told why (message 222, or 202 with 212).
bool loadJavaRuntime(HWND messageOwner, const std::u16string& jvmDllPath, JavaRuntimeEntryPoints& entryPoints);

class WindowsJavaHostServices : public JavaHostServices {
 public:
  WindowsJavaHostServices(HWND messageOwner, HANDLE mainStartedEvent)
      : messageOwner_(messageOwner), mainStartedEvent_(mainStartedEvent) {}

  void showError(unsigned id, std::initializer_list<MessageArg> args) override;
  std::u16string text(unsigned id) override;
  bool confirmFailure(std::u16string_view stackTrace) override;
  void closeSplashWindow() override;
  void signalMainStarted() override;
  [[noreturn]] void sleepForever() override;
  void stampStreamFileNames(std::u16string& outputFile, std::u16string& errorFile) override;
  void createParentFolders(std::u16string_view filePath) override;

 private:
  HWND messageOwner_;
  HANDLE mainStartedEvent_;
};

}  // namespace launcher
