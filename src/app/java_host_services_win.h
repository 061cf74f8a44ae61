#pragma once
// What the launcher's portable JNI code asks of Windows while the Java program runs: message
// boxes, the failure dialog, the splash and single-instance signals, and the file system work of
// the stream redirection.

#include <windows.h>

#include <string>
#include <string_view>

#include "jvm/java_host.h"

namespace launcher {

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
