// The test runtime's shared declarations: a tiny object model (classes with native method
// bodies, strings of UTF-16 units, arrays, stream and throwable instances), the per-thread VM
// state, and the diagnostics that make a misuse of the interface fail loudly.
#pragma once

#include <windows.h>

// The library defines the invocation entry points that jni.h otherwise declares as imports.
#define _JNI_IMPLEMENTATION_
#include <jni.h>

#include <cstdarg>
#include <cstdio>
#include <deque>
#include <string>
#include <vector>

namespace testjvm {

struct Klass;

struct Object {
  Klass* klass = nullptr;
  virtual ~Object() = default;
};

// The body of a method: `self` is null for static methods; `args` holds one jvalue per parameter.
using MethodBody = jvalue (*)(Object* self, const jvalue* args);

struct Method {
  std::string name;
  std::string signature;
  bool isStatic = false;
  MethodBody body = nullptr;
  Klass* owner = nullptr;
};

enum class ClassInit { notYet, done, failed };

struct Klass : Object {
  std::string name;  // slash form, e.g. "java/lang/String"
  Klass* super = nullptr;
  bool bootClass = false;  // visible to the boot loader (runtime classes, not the application's)
  Object* (*allocate)() = nullptr;  // null: not instantiable through NewObject
  std::deque<Method> methods;  // a deque keeps method addresses (the jmethodIDs) stable
  ClassInit init = ClassInit::notYet;  // a static "<clinit>" ()V among the methods runs once
};

struct StringObject : Object {
  std::u16string units;
};

struct CharArray : Object {
  std::vector<jchar> units;
};

struct ObjectArray : Object {
  Klass* elementClass = nullptr;
  std::vector<Object*> items;
};

struct OutputStreamObject : Object {
  virtual void write(const std::string& bytes) = 0;
};

struct FileOutputStreamObject : OutputStreamObject {
  HANDLE file = INVALID_HANDLE_VALUE;
  void write(const std::string& bytes) override;
};

struct ByteArrayOutputStreamObject : OutputStreamObject {
  std::string bytes;
  void write(const std::string& more) override { bytes += more; }
};

struct PrintStreamObject : Object {
  Object* out = nullptr;  // an OutputStreamObject, or null for a stream that drops its text
  void print(const std::string& utf8);
  void println(const std::string& utf8) { print(utf8 + "\r\n"); }
};

struct ThrowableObject : Object {
  bool hasMessage = false;
  std::u16string message;
  std::vector<std::string> frames;  // "test.app.Thrower.main(Thrower.java:9)"
  ThrowableObject* cause = nullptr;
};

// What ToReflectedMethod hands out: a java.lang.reflect.Method.
struct ReflectedMethodObject : Object {
  const Method* method = nullptr;
};

// ---- objects and classes (object_model.cpp)

// Every object the runtime handed out stays alive and registered, so that a reference that never
// came from here is recognised.
void registerObject(Object* object);
template <class T>
T* newObject(Klass* klass) {
  T* object = new T();
  object->klass = klass;
  registerObject(object);
  return object;
}
bool isLiveObject(const void* reference);
Object* checkedObject(const void* reference, const char* what);  // fatal when not one of ours

Klass* defineClass(const char* name, const char* superName, bool bootClass,
                   Object* (*allocate)(), std::vector<Method> methods);
Klass* findClass(const std::string& slashName);  // null when unknown
// Runs the class's static initialiser the first time, as the JVM does; false with the pending
// ExceptionInInitializerError (or the Error it threw) when it fails, and NoClassDefFoundError on
// every later attempt.
bool initializeClass(Klass* klass);
Klass* classClass();
bool isSubclass(const Klass* klass, const Klass* ancestor);
bool isInstanceOf(const Object* object, const char* className);
const Method* findMethod(const Klass* klass, const char* name, const char* signature, bool isStatic);
std::string dottedName(const Klass* klass);

StringObject* newString(const std::u16string& units);
std::u16string utf16(const std::string& utf8);
std::string utf8(const std::u16string& units);  // Java's standard UTF-8 encoding
std::string modifiedUtf8(const std::u16string& units);  // the JNI form
std::string hexUnits(const std::u16string& units);  // "0061 D83D DE00"

// ---- exceptions: one pending throwable per thread
ThrowableObject* newThrowable(const char* className, const std::u16string* message,
                              std::vector<std::string> frames = {});
void throwNew(const char* className, const std::u16string* message,
              std::vector<std::string> frames = {});
void throwNew(const char* className, const std::string& message);
Object*& pendingException();
std::string throwableText(const ThrowableObject* throwable);  // Throwable.toString()
std::string stackTraceText(const ThrowableObject* throwable);  // printStackTrace's output, causes too

// ---- the runtime's classes (runtime_classes.cpp, app_classes.cpp)
void defineRuntimeClasses();
void defineApplicationClasses();
PrintStreamObject* systemOut();
PrintStreamObject* systemErr();
void setStandardStreams(PrintStreamObject* out, PrintStreamObject* err);
FileOutputStreamObject* newFileOutputStream(HANDLE file);
PrintStreamObject* newPrintStream(Object* out);
[[noreturn]] void systemExit(jint code);

// What the test application classes report (report_classes.cpp).
std::string argumentLines(Object* stringArray);  // "arg.count=N", then units and text per argument
void writeMainReport(const std::string& className, Object* stringArray);
void sleepIfAsked();  // TESTJVM_MAIN_UNTIL_FILE, then TESTJVM_MAIN_SLEEP_MS

// ---- the VM and its threads (invocation.cpp)
struct VmState {
  std::vector<std::string> options;  // as given, in order
  std::vector<bool> optionHasExtraInfo;
  jint version = 0;
  bool ignoreUnrecognized = false;
  void (JNICALL* exitHook)(jint) = nullptr;
  void (JNICALL* abortHook)() = nullptr;
  // What the runtime writes goes here instead, once the "vfprintf" option has been read.
  jint (JNICALL* vfprintfHook)(FILE*, const char*, va_list) = nullptr;
  std::vector<std::string> lookups;  // how the application's classes were reached, in order
  DWORD loaderThreadId = 0;  // the thread that loaded this library
};
VmState& vm();
// Adds to vm().lookups; forwarded starts look classes up on several threads at once.
void recordLookup(const std::string& lookup);
std::string currentThreadName();
JNIEnv* currentEnv();  // null when the calling thread is not attached
bool vmIsRunning();  // created and not yet destroyed
bool jniVersionSupported(jint version);
// A thread the application starts; DestroyJavaVM waits for it.
void startApplicationThread(DWORD (WINAPI* routine)(void*), void* parameter);

// ---- JNI function table (jni_functions.cpp, jni_calls.cpp)
const JNINativeInterface_* nativeInterface();
struct CallArguments;
void fillCallFunctions(JNINativeInterface_& table);

// ---- diagnostics (diagnostics.cpp)
std::wstring environment(const wchar_t* name, const wchar_t* fallback = nullptr);
bool environmentIsSet(const wchar_t* name);
void logEvent(const std::string& line);  // appended to %TESTJVM_LOG% when set
void warn(const std::string& text);  // logged and written to the process's standard error
[[noreturn]] void fatal(const std::string& text);  // logged, then the process ends with 134
std::string narrowFromAnsi(const char* ansi);  // option strings arrive in the ANSI code page
std::string utf8FromWide(const std::wstring& text);
std::wstring fullPath(const std::wstring& path);
void appendFile(const std::wstring& path, const std::string& bytes, bool replace);

}  // namespace testjvm
