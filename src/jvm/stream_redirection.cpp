#include "jvm/stream_redirection.h"

#include "base/text.h"
#include "jvm/java_strings.h"
#include "jvm/jni_local_ref.h"
#include "jvm/time_stamp.h"

namespace launcher {

namespace {

// A new FileOutputStream(path, append) wrapped in a PrintStream without automatic flushing.
jobject newPrintStream(JNIEnv* env, std::u16string_view path, bool append) {
  const LocalRef name(env, newJavaString(env, path));
  if (!name) return nullptr;
  const LocalRef fileStreamClass(env, env->FindClass("java/io/FileOutputStream"));
  if (!fileStreamClass) return nullptr;
  const jclass fileClass = static_cast<jclass>(fileStreamClass.get());
  const jmethodID openFile = env->GetMethodID(fileClass, "<init>", "(Ljava/lang/String;Z)V");
  if (openFile == nullptr) return nullptr;
  // An unusable path leaves the constructor's FileNotFoundException pending.
  const LocalRef file(env, env->NewObject(fileClass, openFile, name.get(), append ? JNI_TRUE : JNI_FALSE));
  if (!file) return nullptr;

  const LocalRef printStreamClass(env, env->FindClass("java/io/PrintStream"));
  if (!printStreamClass) return nullptr;
  const jclass printClass = static_cast<jclass>(printStreamClass.get());
  const jmethodID wrap = env->GetMethodID(printClass, "<init>", "(Ljava/io/OutputStream;)V");
  if (wrap == nullptr) return nullptr;
  return env->NewObject(printClass, wrap, file.get());
}

// Makes `printStream` System.out or System.err. An exception the call raised is printed.
bool installStream(JNIEnv* env, StandardStream stream, jobject printStream) {
  const LocalRef systemClass(env, env->FindClass("java/lang/System"));
  if (!systemClass) return false;
  const jclass system = static_cast<jclass>(systemClass.get());
  const jmethodID install = env->GetStaticMethodID(system, stream == StandardStream::output ? "setOut" : "setErr",
                                                   "(Ljava/io/PrintStream;)V");
  if (install == nullptr) return false;
  env->CallStaticVoidMethod(system, install, printStream);
  if (env->ExceptionCheck()) {
    env->ExceptionDescribe();
    return false;
  }
  return true;
}

}  // namespace

bool redirectStream(JNIEnv* env, StandardStream stream, std::u16string_view path, bool append,
                    JavaHostServices& services) {
  // Whether that worked is for the file's opening to tell, which names the path.
  services.createParentFolders(path);
  const LocalRef printStream(env, newPrintStream(env, path, append));
  return printStream && installStream(env, stream, printStream.get());
}

void redirectStandardStreams(JNIEnv* env, const StreamFiles& files, JavaHostServices& services) {
  std::u16string outputFile = files.outputFile;
  std::u16string errorFile = files.errorFile;
  // One reading of the clock for both names, so that the files of one launch carry the same
  // stamp; a name without a pattern needs none.
  if (hasTimeStampPattern(outputFile) || hasTimeStampPattern(errorFile)) {
    services.stampStreamFileNames(outputFile, errorFile);
  }

  // Output first: a failure there is still printed on the error stream the VM started with.
  LocalRef outputStream(env, nullptr);
  if (!outputFile.empty()) {
    services.createParentFolders(outputFile);
    outputStream.reset(newPrintStream(env, outputFile, files.outputAppend));
    if (!outputStream || !installStream(env, StandardStream::output, outputStream.get())) {
      describePendingException(env);
      outputStream.reset(nullptr);
    }
  }
  if (errorFile.empty()) return;
  // Two streams opened on one file would each write from their own position and overwrite each
  // other's lines; the error stream shares the output's instead, and the output's append flag.
  if (outputStream && equalsIgnoringAsciiCase(outputFile, errorFile)) {
    if (!installStream(env, StandardStream::error, outputStream.get())) describePendingException(env);
    return;
  }
  if (!redirectStream(env, StandardStream::error, errorFile, files.errorAppend, services)) {
    describePendingException(env);
  }
}

}  // namespace launcher
