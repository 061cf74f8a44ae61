#pragma once
// What the launcher's portable JNI code asks of Windows while the Java program runs: message
// boxes, the failure dialog, the splash and single-instance signals, and the file system work of
// the stream redirection and of the runtime's own output.

#include <windows.h>

#include <string>
#include <string_view>

#include "base/message_owner_win.h"
#include "app/secondary_main_server_win.h"
#include "jvm/java_host.h"
#include "ui/splash_screen_win.h"

namespace launcher {

class WindowsJavaHostServices : public JavaHostServices {
 public:
  // `mainStartedEvent` and `server` are null when no forwarded starts are served.
  WindowsJavaHostServices(const MessageOwner& messageOwner, HANDLE mainStartedEvent, SplashScreen& splash,
                          SecondaryMainServer* server)
      : messageOwner_(messageOwner), mainStartedEvent_(mainStartedEvent), splash_(splash), server_(server) {}

  void showError(unsigned id, std::initializer_list<MessageArg> args) override;
  std::u16string text(unsigned id) override;
  bool confirmFailure(std::u16string_view stackTrace) override;
  void closeSplashes() override;
  void signalMainStarted(JavaVM* javaVm) override;
  [[noreturn]] void sleepForever() override;
  void stampStreamFileNames(std::u16string& outputFile, std::u16string& errorFile) override;
  void createParentFolders(std::u16string_view filePath) override;
  void writeStreamFile(std::u16string_view filePath, bool append, std::string_view bytes) override;
  std::u16string fromRuntimeCodePage(std::string_view bytes) override;
  bool userSeesRuntimeOutput() override;

 private:
  const MessageOwner& messageOwner_;
  HANDLE mainStartedEvent_;
  SplashScreen& splash_;
  SecondaryMainServer* server_;
};

}  // namespace launcher
