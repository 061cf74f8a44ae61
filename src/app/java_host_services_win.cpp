#include "app/java_host_services_win.h"

#include "base/ansi_text_win.h"
#include "base/error_box_win.h"
#include "jvm/stream_files_win.h"
#include "ui/failure_dialog_win.h"

namespace launcher {

void WindowsJavaHostServices::showError(unsigned id, std::initializer_list<MessageArg> args) {
  // The box closes the runtime's splash first (see SplashScreen); the launcher's own window owns
  // the box and stays beneath it.
  launcher::showError(messageOwner_, id, args);
}

std::u16string WindowsJavaHostServices::text(unsigned id) { return loadText(id); }

bool WindowsJavaHostServices::confirmFailure(std::u16string_view stackTrace) {
  // The console launcher asks no one: the program finishes, and the runtime writes the trace to
  // standard error as it does for any uncaught exception.
  if (errorsGoToStandardError()) return true;
  return FailureDialog(std::u16string(stackTrace)).show(messageOwner_.current()) == IDOK;
}

void WindowsJavaHostServices::closeSplashes() {
  splash_.closeAll();
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

void WindowsJavaHostServices::writeStreamFile(std::u16string_view filePath, bool append, std::string_view bytes) {
  writeBytesToFile(filePath, append, bytes);
}

std::u16string WindowsJavaHostServices::fromRuntimeCodePage(std::string_view bytes) { return fromSystemAnsi(bytes); }

// The console launcher's standard streams are the runtime's too, and the runtime's words reach
// them through passOnRuntimeOutput.
bool WindowsJavaHostServices::userSeesRuntimeOutput() { return errorsGoToStandardError(); }

}  // namespace launcher
