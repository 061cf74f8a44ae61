#pragma once
// What the launcher's portable JNI code asks of Windows while the Java program runs: message
// boxes, the failure dialog, the splash and single-instance signals, and the file system work of
// the stream redirection.

#include <windows.h>

#include <string>
#include <string_view>

#include "app/secondary_main_server.h"
#include "jvm/java_host.h"

namespace launcher {

class WindowsJavaHostServices : public JavaHostServices {
 public:
  // `mainStartedEvent` and `server` are null when no forwarded starts are served.
  WindowsJavaHostServices(HWND messageOwner, HANDLE mainStartedEvent, SecondaryMainServer* server)
      : messageOwner_(messageOwner), mainStartedEvent_(mainStartedEvent), server_(server) {}

  void showError(unsigned id, std::initializer_list<MessageArg> args) override;
  std::u16string text(unsigned id) override;
  bool confirmFailure(std::u16string_view stackTrace) override;
  void closeSplashWindow() override;
  void signalMainStarted(JavaVM* javaVm) override;
  [[noreturn]] void sleepForever() override;
  void stampStreamFileNames(std::u16string& outputFile, std::u16string& errorFile) override;
  void createParentFolders(std::u16string_view filePath) override;

 private:
  HWND messageOwner_;
  HANDLE mainStartedEvent_;
  SecondaryMainServer* server_;
};

}  // namespace launcher
