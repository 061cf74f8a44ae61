#pragma once
// The boundary between the launcher's JNI code, which is portable C++ against jni.h, and the
// operating system it runs on. The JNI code is built into the Windows executables and, for its
// tests, natively against a real HotSpot; each side supplies JavaHostServices.

#include <jni.h>

#include <cstdarg>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <initializer_list>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "base/message_format.h"

namespace launcher {

// The runtime's entry points, with the calling convention jni.h declares (JNICALL is __stdcall
// on 32-bit Windows: a pointer of the wrong convention passes every x64 test and crashes on x86).
using CreateJavaVmFn = jint(JNICALL*)(JavaVM**, void**, void*);
using GetDefaultJavaVmInitArgsFn = jint(JNICALL*)(void*);
// Exported by the runtime but not declared in jni.h.
using FindClassFromBootLoaderFn = jclass(JNICALL*)(JNIEnv*, const char*);
static_assert(std::is_same_v<CreateJavaVmFn, decltype(&JNI_CreateJavaVM)>);
static_assert(std::is_same_v<GetDefaultJavaVmInitArgsFn, decltype(&JNI_GetDefaultJavaVMInitArgs)>);

// The VM's exit and abort hooks, handed over as the extraInfo of the "exit" and "abort" options.
using VmExitHookFn = void(JNICALL*)(jint code);
using VmAbortHookFn = void(JNICALL*)();
// The VM's output hook, the extraInfo of the "vfprintf" option: once the VM has read that option,
// it hands everything it would write on its standard streams to the hook, as vfprintf's arguments.
// `stream` is the runtime's own C library's stream, which only that library may write to.
using VmVfprintfHookFn = jint(JNICALL*)(FILE* stream, const char* format, va_list args);
// What becomes of the runtime's output where the launcher runs.
struct RuntimeOutput {
  // Formats `format` with `args` into `buffer` as the C library `stream` belongs to would, at most
  // `size` bytes; how many it wrote there. `cut` is set when the text was longer.
  std::size_t (*format)(FILE* stream, char* buffer, std::size_t size, const char* format, va_list args,
                        bool& cut) = nullptr;
  // Writes `text` to where the runtime's `stream` leads, as the runtime itself would have.
  void (*passOn)(FILE* stream, std::string_view text) = nullptr;
};

struct JavaRuntimeEntryPoints {
  CreateJavaVmFn createJavaVm = nullptr;
  GetDefaultJavaVmInitArgsFn getDefaultJavaVmInitArgs = nullptr;
  // Null when the runtime does not export it; the main class is then found with FindClass.
  FindClassFromBootLoaderFn findClassFromBootLoader = nullptr;
};

// What the JNI code needs of the operating system.
class JavaHostServices {
 public:
  virtual ~JavaHostServices() = default;
  // Shows string resource `id` filled with `args` as an error message.
  virtual void showError(unsigned id, std::initializer_list<MessageArg> args) = 0;
  // String resource `id` itself, empty when there is none; for texts that fill another message.
  virtual std::u16string text(unsigned id) = 0;
  // Shows the failure dialog with a stack trace; true when the user chose OK.
  virtual bool confirmFailure(std::u16string_view stackTrace) = 0;
  // Closes the splash, the launcher's own window and the runtime's, whichever is shown, before a
  // failure is reported or the VM waits for the program's threads.
  virtual void closeSplashes() = 0;
  // Tells forwarded starts that `javaVm` runs and main is about to be called: from then on they
  // may attach to it and call secondaryMain.
  virtual void signalMainStarted(JavaVM* javaVm) = 0;
  // Blocks the calling thread for the rest of the process.
  [[noreturn]] virtual void sleepForever() = 0;
  // Fills the time-stamp pattern of each name that has one (expandTimeStamp), with a single
  // reading of the local time for both, so the two files of a launch carry the same stamp.
  virtual void stampStreamFileNames(std::u16string& outputFile, std::u16string& errorFile) = 0;
  // Creates the missing folders above the file `filePath` (ensureParentFolders). Failures are
  // not reported: opening the file reports them, naming the path.
  virtual void createParentFolders(std::u16string_view filePath) = 0;
  // Writes `bytes` as they are into the file `filePath`, replacing it or, with `append`, after
  // what it holds. Failures are not reported: the launch has already failed, and said why.
  virtual void writeStreamFile(std::u16string_view filePath, bool append, std::string_view bytes) = 0;
  // The runtime's own words read in the code page it writes in (see fromRuntimeUtf8 for UTF-8).
  virtual std::u16string fromRuntimeCodePage(std::string_view bytes) = 0;
  // Whether the runtime's own words reach the user on a stream as they are (the console
  // launcher's), so that a message need not repeat them.
  virtual bool userSeesRuntimeOutput() = 0;
};

}  // namespace launcher
