#include "app/java_host_services_win.h"

#include "base/error_box.h"
#include "jvm/stream_files_win.h"
#include "ui/failure_dialog.h"

namespace launcher {

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

void WindowsJavaHostServices::signalMainStarted(JavaVM* javaVm) {
  // The VM first: a forwarded start that the event lets through reads it at once.
  if (server_) server_->publish(javaVm);
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
