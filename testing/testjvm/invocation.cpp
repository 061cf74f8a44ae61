// The library's exports and the invocation interface: creating the one VM from its options,
// attaching and detaching threads, and destroying the VM once the application's non-daemon
// threads have ended.
#include "testjvm.h"

#include <algorithm>
#include <cctype>

namespace testjvm {

namespace {

struct ThreadEnv {
  JNIEnv_ env;  // first member: the JNIEnv* handed out points here
  HANDLE thread = nullptr;  // to notice a thread that ended while still attached
  std::string name;
  bool daemon = false;
};

enum class Phase { NotCreated, Running, Destroyed };

JavaVM_ javaVm;
Phase phase = Phase::NotCreated;
SRWLOCK threadsLock = SRWLOCK_INIT;
std::vector<ThreadEnv*> attachedThreads;
std::vector<HANDLE> applicationThreads;
int unnamedThreads = 0;
thread_local ThreadEnv* current = nullptr;

std::string hex(unsigned long value) {
  char text[16];
  wsprintfA(text, "0x%08lX", value);
  return text;
}

ThreadEnv* attach(const std::string& name, bool daemon) {
  auto* thread = new ThreadEnv();
  thread->env.functions = nativeInterface();
  DuplicateHandle(GetCurrentProcess(), GetCurrentThread(), GetCurrentProcess(), &thread->thread,
                  SYNCHRONIZE, FALSE, 0);
  thread->name = name;
  thread->daemon = daemon;
  AcquireSRWLockExclusive(&threadsLock);
  attachedThreads.push_back(thread);
  ReleaseSRWLockExclusive(&threadsLock);
  current = thread;
  logEvent("attach " + name);
  return thread;
}

void detachCurrent() {
  AcquireSRWLockExclusive(&threadsLock);
  std::erase(attachedThreads, current);
  ReleaseSRWLockExclusive(&threadsLock);
  CloseHandle(current->thread);
  delete current;
  current = nullptr;
}

// Options the VM knows; with ignoreUnrecognized false anything else fails creation.
bool isMemorySize(const std::string& text) {
  size_t digits = 0;
  while (digits < text.size() && std::isdigit(static_cast<unsigned char>(text[digits]))) {
    ++digits;
  }
  return digits > 0 && (digits == text.size() ||
                        (digits + 1 == text.size() &&
                         std::string("kKmMgGtT").find(text[digits]) != std::string::npos));
}

[[maybe_unused]] jint checkOption(const std::string& option) {
  auto startsWith = [&](const char* prefix) { return option.rfind(prefix, 0) == 0; };
  if (startsWith("-D") || option == "-ea" || startsWith("-ea:") || option == "-verbose" ||
      startsWith("-verbose:") || option == "exit" || option == "abort" || option == "vfprintf") {
    return JNI_OK;
  }
  if (startsWith("-Xmx") || startsWith("-Xms") || startsWith("-Xss")) {
    return isMemorySize(option.substr(4)) ? JNI_OK : JNI_EINVAL;
  }
  // The module options of a HotSpot of version 9 or later, in the only form the VM takes; the
  // java command's form with a space ("--add-opens x") is refused like any unknown option.
  for (const char* module : {"--module-path=", "--upgrade-module-path=", "--add-modules=", "--limit-modules=",
                             "--add-exports=", "--add-opens=", "--add-reads=", "--patch-module=",
                             "--enable-native-access="}) {
    if (startsWith(module)) return option.size() > std::string(module).size() ? JNI_OK : JNI_ERR;
  }
  // What a HotSpot of version 13 or later takes for its class-data archive, and one of 25 or later
  // for its ahead-of-time cache.
  if (startsWith("-Xlog:") || startsWith("-XX:SharedArchiveFile=") || startsWith("-XX:ArchiveClassesAtExit=") ||
      startsWith("-XX:AOTMode=") || startsWith("-XX:AOTConfiguration=") || startsWith("-XX:AOTCache=")) {
    return JNI_OK;
  }
  return JNI_ERR;
}

// Writes the archive that -XX:ArchiveClassesAtExit asks for as the VM ends, the way HotSpot does:
// the file is removed and made anew, read-only; so is the recording -XX:AOTConfiguration asks for.
void writeClassDataArchive() {
  for (const std::string& option : vm().options) {
    const std::size_t at = option.rfind("-XX:ArchiveClassesAtExit=", 0) == 0 ? 25
                           : option.rfind("-XX:AOTConfiguration=", 0) == 0   ? 21
                                                                              : 0;
    if (at == 0) continue;
    std::string path = option.substr(at);
    std::wstring wide(path.begin(), path.end());
    SetFileAttributesW(wide.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(wide.c_str());
    HANDLE file = CreateFileW(wide.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_READONLY, nullptr);
    DWORD written = 0;
    bool ok = file != INVALID_HANDLE_VALUE && WriteFile(file, "testjvm archive", 15, &written, nullptr);
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    logEvent(std::string(ok ? "archive written " : "archive not written ") + path);
  }
}

#if defined(__i386__)
// Calls the vfprintf hook and returns how many argument bytes it left on the stack: 0 for a
// __stdcall hook, 12 for one compiled as __cdecl.
extern "C" int testjvmCallOutputHook(void* hook, FILE* stream, const char* format, va_list args);
asm(R"(
  .text
  .globl _testjvmCallOutputHook
_testjvmCallOutputHook:
  pushl %ebp
  movl %esp, %ebp
  pushl %esi
  movl %esp, %esi
  pushl 20(%ebp)
  pushl 16(%ebp)
  pushl 12(%ebp)
  call *8(%ebp)
  movl %esi, %eax
  subl %esp, %eax
  movl %esi, %esp
  popl %esi
  popl %ebp
  ret
)");
#endif

// Writes as HotSpot does: through the vfprintf hook once it has been given, else on the stream
// itself (stderr or stdout of this library's C runtime).
[[maybe_unused]] void runtimeWrites(FILE* stream, const char* format, ...) {
  va_list args;
  va_start(args, format);
  if (auto hook = vm().vfprintfHook) {
#if defined(__i386__)
    if (int left = testjvmCallOutputHook(reinterpret_cast<void*>(hook), stream, format, args); left != 0) {
      fatal("the vfprintf hook left " + std::to_string(left) + " bytes on the stack: it is not JNICALL");
    }
#else
    hook(stream, format, args);
#endif
  } else {
    char text[1024];
    int length = vsnprintf(text, sizeof text, format, args);
    HANDLE handle = GetStdHandle(stream == stdout ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
    DWORD written = 0;
    if (length > 0 && handle != nullptr && handle != INVALID_HANDLE_VALUE) {
      WriteFile(handle, text, static_cast<DWORD>(std::min<size_t>(length, sizeof text - 1)), &written, nullptr);
    }
  }
  va_end(args);
}

// The heap of the largest -Xmx, in KB; 0 without one.
[[maybe_unused]] unsigned long long maximumHeapKb() {
  unsigned long long kb = 0;
  for (const std::string& option : vm().options) {
    if (option.rfind("-Xmx", 0) != 0 || !isMemorySize(option.substr(4)) || option.size() > 4 + 12) continue;
    unsigned long long value = std::stoull(option.substr(4));
    switch (option.back()) {
      case 't': case 'T': value *= 1024;  [[fallthrough]];
      case 'g': case 'G': value *= 1024;  [[fallthrough]];
      case 'm': case 'M': value *= 1024;  break;
      case 'k': case 'K': break;
      default: value /= 1024;
    }
    kb = std::max(kb, value);
  }
  return kb;
}

jint JNICALL destroyJavaVm(JavaVM*);
jint JNICALL attachCurrentThread(JavaVM*, void**, void*);
jint JNICALL detachCurrentThread(JavaVM*);
jint JNICALL getEnv(JavaVM*, void**, jint);
jint JNICALL attachCurrentThreadAsDaemon(JavaVM*, void**, void*);

const JNIInvokeInterface_ invokeInterface = {
    nullptr, nullptr, nullptr, destroyJavaVm, attachCurrentThread, detachCurrentThread, getEnv,
    attachCurrentThreadAsDaemon};

jint attachWith(void** penv, void* args, bool daemon) {
  if (phase != Phase::Running) {
    warn("AttachCurrentThread without a running VM");
    return JNI_ERR;
  }
  if (current == nullptr) {
    AcquireSRWLockExclusive(&threadsLock);
    std::string name = "Thread-" + std::to_string(unnamedThreads++);
    ReleaseSRWLockExclusive(&threadsLock);
    if (auto* attachArgs = static_cast<JavaVMAttachArgs*>(args)) {
      if (!jniVersionSupported(attachArgs->version)) {
        return JNI_EVERSION;
      }
      if (attachArgs->name != nullptr) {
        name = attachArgs->name;
      }
    }
    attach(name, daemon);
  }
  *penv = &current->env;
  return JNI_OK;
}

jint JNICALL attachCurrentThread(JavaVM*, void** penv, void* args) {
  return attachWith(penv, args, false);
}

jint JNICALL attachCurrentThreadAsDaemon(JavaVM*, void** penv, void* args) {
  return attachWith(penv, args, true);
}

jint JNICALL getEnv(JavaVM*, void** penv, jint version) {
  if (phase != Phase::Running) {
    *penv = nullptr;
    return JNI_EDETACHED;
  }
  if (!jniVersionSupported(version)) {
    *penv = nullptr;
    return JNI_EVERSION;
  }
  *penv = current ? &current->env : nullptr;
  return current ? JNI_OK : JNI_EDETACHED;
}

jint JNICALL detachCurrentThread(JavaVM*) {
  if (current == nullptr) {
    return JNI_OK;  // as in the JDK: detaching a thread that is not attached does nothing
  }
  logEvent("detach " + current->name);
  // A throwable still pending goes to the thread's uncaught-exception handler, as when a Java
  // thread ends by it.
  if (auto* throwable = static_cast<ThrowableObject*>(pendingException())) {
    pendingException() = nullptr;
    logEvent("uncaught " + throwableText(throwable));
    systemErr()->print("Exception in thread \"" + current->name + "\" " + stackTraceText(throwable));
  }
  detachCurrent();
  return JNI_OK;
}

// Waits until no other non-daemon thread is attached and every application thread has ended.
void awaitNonDaemonThreads() {
  for (;;) {
    size_t waitingFor = 0;
    AcquireSRWLockExclusive(&threadsLock);
    std::erase_if(applicationThreads, [](HANDLE thread) {
      bool ended = WaitForSingleObject(thread, 0) == WAIT_OBJECT_0;
      if (ended) {
        CloseHandle(thread);
      }
      return ended;
    });
    waitingFor += applicationThreads.size();
    for (ThreadEnv* thread : attachedThreads) {
      if (thread == current || thread->daemon) {
        continue;
      }
      if (WaitForSingleObject(thread->thread, 0) == WAIT_OBJECT_0) {
        if (!thread->daemon) {
          warn("thread \"" + thread->name + "\" ended without DetachCurrentThread; a JVM would "
               "wait for it for ever in DestroyJavaVM");
          thread->daemon = true;
        }
        continue;
      }
      ++waitingFor;
    }
    ReleaseSRWLockExclusive(&threadsLock);
    if (waitingFor == 0) {
      return;
    }
    Sleep(10);
  }
}

jint JNICALL destroyJavaVm(JavaVM*) {
  if (phase != Phase::Running) {
    warn("DestroyJavaVM called when no VM is running");
    return JNI_ERR;
  }
  if (current == nullptr) {
    attach("DestroyJavaVM", false);
  }
  logEvent("DestroyJavaVM on " + current->name);
  awaitNonDaemonThreads();
  writeClassDataArchive();
  detachCurrent();
  phase = Phase::Destroyed;
  logEvent("destroyed");
  return JNI_OK;
}

#if defined(__i386__)
// Calls the exit hook and returns how many argument bytes it left on the stack: 0 for a
// __stdcall hook, 4 for one compiled as __cdecl, which would unbalance the stack of its caller.
extern "C" int testjvmCallExitHook(void* hook, jint code);
asm(R"(
  .text
  .globl _testjvmCallExitHook
_testjvmCallExitHook:
  pushl %ebp
  movl %esp, %ebp
  pushl %esi
  movl %esp, %esi
  pushl 12(%ebp)
  call *8(%ebp)
  movl %esi, %eax
  subl %esp, %eax
  movl %esi, %esp
  popl %esi
  popl %ebp
  ret
)");
#endif

}  // namespace

VmState& vm() {
  static VmState state;
  return state;
}

void recordLookup(const std::string& lookup) {
  AcquireSRWLockExclusive(&threadsLock);
  vm().lookups.push_back(lookup);
  ReleaseSRWLockExclusive(&threadsLock);
}

std::string currentThreadName() { return current ? current->name : "(not attached)"; }
JNIEnv* currentEnv() { return current ? reinterpret_cast<JNIEnv*>(&current->env) : nullptr; }
bool vmIsRunning() { return phase == Phase::Running; }

bool jniVersionSupported(jint version) {
  switch (version) {
    case JNI_VERSION_1_2: case JNI_VERSION_1_4: case JNI_VERSION_1_6: case JNI_VERSION_1_8:
    case JNI_VERSION_9: case JNI_VERSION_10:
      return true;
    default:
      return false;
  }
}

void startApplicationThread(DWORD(WINAPI* routine)(void*), void* parameter) {
  HANDLE thread = CreateThread(nullptr, 0, routine, parameter, 0, nullptr);
  if (thread == nullptr) {
    fatal("the application could not start its thread");
  }
  AcquireSRWLockExclusive(&threadsLock);
  applicationThreads.push_back(thread);
  ReleaseSRWLockExclusive(&threadsLock);
  logEvent("application thread started");
}

void systemExit(jint code) {
  logEvent("System.exit " + std::to_string(code));
  writeClassDataArchive();
  if (auto hook = vm().exitHook) {
#if defined(__i386__)
    if (int left = testjvmCallExitHook(reinterpret_cast<void*>(hook), code); left != 0) {
      fatal("the exit hook left " + std::to_string(left) + " bytes on the stack: it is not JNICALL");
    }
#else
    hook(code);
#endif
  }
  ExitProcess(static_cast<UINT>(code));
}

}  // namespace testjvm

using namespace testjvm;

// For the start-up benchmark: how long the host process took from its creation to loading this
// library, appended in microseconds to %TESTJVM_LOAD_TIME% when that is set.
static void recordLoadTime() {
  std::wstring file = environment(L"TESTJVM_LOAD_TIME", nullptr);
  if (file.empty()) {
    return;
  }
  FILETIME created, exited, kernel, user, now;
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
  GetSystemTimeAsFileTime(&now);
  auto ticks = [](const FILETIME& time) {
    return (static_cast<unsigned long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
  };
  std::string line = std::to_string((ticks(now) - ticks(created)) / 10) + "\n";
  HANDLE out = CreateFileW(file.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (out != INVALID_HANDLE_VALUE) {
    DWORD written = 0;
    WriteFile(out, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    CloseHandle(out);
  }
}

#ifdef TESTJVM_WITH_DEPENDENCY
extern "C" __declspec(dllimport) int testjvmDependency(void);
#endif

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    vm().loaderThreadId = GetCurrentThreadId();
    recordLoadTime();
  }
  return TRUE;
}

extern "C" JNIEXPORT jint JNICALL JNI_CreateJavaVM(JavaVM** pvm, void** penv, void* args) {
  // A VM that takes its time to start, as a real one may: TESTJVM_CREATE_SLEEP_MS.
  if (environmentIsSet(L"TESTJVM_CREATE_SLEEP_MS")) {
    Sleep(static_cast<DWORD>(_wtol(environment(L"TESTJVM_CREATE_SLEEP_MS").c_str())));
  }
#ifdef TESTJVM_CREATE_RESULT
  (void)pvm, (void)penv, (void)args;
  logEvent("JNI_CreateJavaVM rc=" + std::to_string(TESTJVM_CREATE_RESULT));
  return TESTJVM_CREATE_RESULT;
#else
#ifdef TESTJVM_WITH_DEPENDENCY
  logEvent("dependency " + std::to_string(testjvmDependency()));
#endif
  // A slow start, so that what the launcher shows meanwhile (its splash) can be looked at.
  if (environmentIsSet(L"TESTJVM_CREATE_DELAY_MS")) {
    Sleep(static_cast<DWORD>(_wtol(environment(L"TESTJVM_CREATE_DELAY_MS").c_str())));
  }
  auto* initArgs = static_cast<JavaVMInitArgs*>(args);
  if (phase != Phase::NotCreated) {
    logEvent("JNI_CreateJavaVM again");
    return phase == Phase::Running ? JNI_EEXIST : JNI_ERR;
  }
  if (!jniVersionSupported(initArgs->version)) {
    logEvent("JNI_CreateJavaVM version=" + hex(initArgs->version) + " rc=-3");
    return JNI_EVERSION;
  }
  VmState& state = vm();
  state.version = initArgs->version;
  state.ignoreUnrecognized = initArgs->ignoreUnrecognized != JNI_FALSE;
  for (jint i = 0; i < initArgs->nOptions; ++i) {
    const JavaVMOption& option = initArgs->options[i];
    std::string text = option.optionString ? narrowFromAnsi(option.optionString) : "(null)";
    state.options.push_back(text);
    state.optionHasExtraInfo.push_back(option.extraInfo != nullptr);
    logEvent("option " + text + (option.extraInfo ? " (extraInfo)" : ""));
    if (text == "exit") {
      state.exitHook = reinterpret_cast<void(JNICALL*)(jint)>(option.extraInfo);
    } else if (text == "abort") {
      state.abortHook = reinterpret_cast<void(JNICALL*)()>(option.extraInfo);
    } else if (text == "vfprintf") {
      state.vfprintfHook = reinterpret_cast<jint(JNICALL*)(FILE*, const char*, va_list)>(option.extraInfo);
    }
    jint rc = checkOption(text);
    // The option as it came, in the ANSI code page, as HotSpot repeats it.
    const char* given = option.optionString ? option.optionString : "(null)";
    if (rc == JNI_EINVAL) {
      runtimeWrites(stderr, "Invalid memory size in option: %s\n", given);
      logEvent("JNI_CreateJavaVM rc=-6");
      return JNI_EINVAL;
    }
    if (rc != JNI_OK && !state.ignoreUnrecognized) {
      runtimeWrites(stderr, "Unrecognized option: %s\n", given);
      logEvent("JNI_CreateJavaVM rc=-1");
      return JNI_ERR;
    }
  }
  // A heap larger than a terabyte cannot be reserved: HotSpot tells on its standard output, calls
  // the abort hook and ends the process with 1, all while the VM is being created.
  if (unsigned long long heap = maximumHeapKb(); heap > 1024ull * 1024 * 1024) {
    runtimeWrites(stdout, "Error occurred during initialization of VM\n");
    runtimeWrites(stdout, "Could not reserve enough space for %lluKB object heap\n", heap);
    logEvent("JNI_CreateJavaVM aborts");
    if (state.abortHook != nullptr) state.abortHook();
    ExitProcess(1);
  }
  defineRuntimeClasses();
  defineApplicationClasses();
  setStandardStreams(newPrintStream(newFileOutputStream(GetStdHandle(STD_OUTPUT_HANDLE))),
                     newPrintStream(newFileOutputStream(GetStdHandle(STD_ERROR_HANDLE))));
  javaVm.functions = &invokeInterface;
  phase = Phase::Running;
  ThreadEnv* mainThread = attach("main", false);
  *pvm = &javaVm;
  *penv = &mainThread->env;
  logEvent("JNI_CreateJavaVM version=" + hex(initArgs->version) + " rc=0");
  return JNI_OK;
#endif
}

#ifndef TESTJVM_WITHOUT_DEFAULT_ARGS
// The JDK 1.1 record of default arguments, of which a JVM still fills in the stack size for a
// caller that asks with version 1.1. The JDK's jni.h no longer declares it.
struct JDK1_1InitArgs {
  jint version;
  char** properties;
  jint checkSource;
  jint nativeStackSize;
  jint javaStackSize;
  jint minHeapSize;
  jint maxHeapSize;
  jint verifyMode;
  char* classpath;
  void* vfprintf;
  void* exit;
  void* abort;
  jint enableClassGC;
  jint enableVerboseGC;
  jint disableAsyncGC;
  jint verbose;
  jboolean debugging;
  jint debugPort;
};

extern "C" JNIEXPORT jint JNICALL JNI_GetDefaultJavaVMInitArgs(void* args) {
  auto* initArgs = static_cast<JDK1_1InitArgs*>(args);
  jint asked = initArgs->version;
  jint rc = jniVersionSupported(asked) ? JNI_OK : JNI_ERR;
  if (asked == JNI_VERSION_1_1) {
    // The JVM's own default thread stack size: 320 KB on x86, 1 MB on x64.
    std::wstring size = environment(L"TESTJVM_DEFAULT_STACK", sizeof(void*) == 4 ? L"327680"
                                                                                 : L"1048576");
    initArgs->version = JNI_VERSION_1_2;
    initArgs->javaStackSize = static_cast<jint>(_wtol(size.c_str()));
  }
  logEvent("JNI_GetDefaultJavaVMInitArgs version=" + hex(asked) + " rc=" + std::to_string(rc));
  return rc;
}
#endif

extern "C" JNIEXPORT jint JNICALL JNI_GetCreatedJavaVMs(JavaVM** vms, jsize count, jsize* found) {
  bool running = phase == Phase::Running;
  if (running && count > 0) {
    vms[0] = &javaVm;
  }
  *found = running ? 1 : 0;
  return JNI_OK;
}

#ifndef TESTJVM_WITHOUT_BOOT_LOADER_LOOKUP
extern "C" JNIEXPORT jclass JNICALL JVM_FindClassFromBootLoader(JNIEnv* env, const char* name) {
  if (env != currentEnv()) {
    fatal("JVM_FindClassFromBootLoader: the JNIEnv is not the calling thread's");
  }
  recordLookup(std::string("JVM_FindClassFromBootLoader ") + name);
  logEvent(std::string("JVM_FindClassFromBootLoader ") + name);
  Klass* klass = findClass(name);
  return klass != nullptr && klass->bootClass ? reinterpret_cast<jclass>(klass) : nullptr;
}
#endif
