// Drives the test runtime through the interface a launcher uses and checks what comes back:
// one line per check, and the number of failed checks as the exit code. Run it from any folder;
// it works in testjvm-smoke below the current folder.
#include "testjvm_smoke.h"

#include <cstdio>

using namespace smoke;

namespace {

// The JDK 1.1 default-arguments record, which jni.h no longer declares.
struct JDK1_1InitArgs {
  jint version;
  char** properties;
  jint checkSource;
  jint nativeStackSize;
  jint javaStackSize;
  jint rest[32];
};

JavaVM* javaVm = nullptr;

void checkReport(JNIEnv* env) {
  callMain(env, "test/app/Report", {u"plain", u"caf\u00e9", u"\U0001F600", u""});
  check(env->ExceptionOccurred() == nullptr, "Report.main returns without an exception");
  std::string report = readFile(work(L"report.txt"));
  check(has(report, "class=test.app.Report\n"), "the report names its class");
  check(has(report, "arg.count=4\n"), "main received four arguments");
  check(has(report, "arg.1.units=0063 0061 0066 00E9\n"), "a non-ASCII argument keeps its units");
  check(has(report, "arg.2.units=D83D DE00\n"), "a surrogate pair arrives as two units");
  check(has(report, "arg.3.units=\narg.3.text=\n"), "an empty argument arrives empty");
  check(has(report, "env.QV_JVM_PATH=C:\\runtime\\bin\\client\\jvm.dll\n"), "the environment");
  check(has(report, "option.count=4\noption.0=-Djava.class.path=C:\\app\\a.jar\n"
                    "option.1=-Xmx64m\noption.2=abort\noption.2.extraInfo=set\n"
                    "option.3=exit\noption.3.extraInfo=set\n"), "the options in order");
  check(has(report, "classpath=C:\\app\\a.jar\n"), "the class path");
  check(has(report, "thread.name=main\nthread.first=no\nthread.loader=no\n"
                    "thread.stack.reserved=4194304\n"),
        "main runs on the creating thread, with its stack size");
  check(has(report, "lookup.0=JVM_FindClassFromBootLoader sun/launcher/LauncherHelper\n"
                    "lookup.1=JVM_FindClassFromBootLoader test/app/Report\n"
                    "lookup.2=checkAndLoadMain true 1 test.app.Report\n"
                    "lookup.3=FindClass test/app/Report\n"), "how the classes were reached");
}

void checkLookups(JNIEnv* env, const Runtime& runtime) {
  jclass helper = runtime.bootClass(env, "sun/launcher/LauncherHelper");
  check(helper != nullptr, "the boot loader knows LauncherHelper");
  check(runtime.bootClass(env, "test/app/Report") == nullptr,
        "the boot loader does not know the application");
  jmethodID checkAndLoad = env->GetStaticMethodID(helper, "checkAndLoadMain",
                                                  "(ZILjava/lang/String;)Ljava/lang/Class;");
  jobject viaHelper = env->CallStaticObjectMethod(helper, checkAndLoad, JNI_TRUE, 1,
                                                  newString(env, u"test.app.Report"));
  jclass viaFindClass = env->FindClass("test/app/Report");
  check(viaHelper != nullptr && env->IsSameObject(viaHelper, viaFindClass),
        "checkAndLoadMain and FindClass find the same class");
  check(env->FindClass("test/app/Missing") == nullptr && env->ExceptionOccurred() != nullptr,
        "FindClass of a missing class throws");
  env->ExceptionDescribe();
  check(env->ExceptionOccurred() == nullptr, "ExceptionDescribe clears the exception");
  jclass noMain = env->FindClass("test/app/NoMain");
  check(env->GetStaticMethodID(noMain, "main", "([Ljava/lang/String;)V") == nullptr &&
            env->ExceptionCheck(), "a class without main: GetStaticMethodID throws");
  env->ExceptionClear();
}

void checkStreams(JNIEnv* env) {
  HANDLE before = CreateFileW(work(L"err.txt").c_str(), GENERIC_WRITE, 0, nullptr,
                              CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  WriteFile(before, "before\n", 7, &written, nullptr);
  CloseHandle(before);
  jclass system = env->FindClass("java/lang/System");
  env->CallStaticVoidMethod(system, env->GetStaticMethodID(system, "setOut",
                                                           "(Ljava/io/PrintStream;)V"),
                            newFileStream(env, work(L"out.txt"), false));
  env->CallStaticVoidMethod(system, env->GetStaticMethodID(system, "setErr",
                                                           "(Ljava/io/PrintStream;)V"),
                            newFileStream(env, work(L"err.txt"), true));
  callMain(env, "test/app/Printer", {});
  check(readFile(work(L"out.txt")) ==
            "Printer: line 1 to System.out\r\nPrinter: line 2 to System.out\r\n",
        "System.out goes to the replaced file");
  check(readFile(work(L"err.txt")) == "before\nPrinter: line 1 to System.err\r\n",
        "System.err is appended to its file");

  check(newFileStream(env, work(L"no-such-folder\\x.txt"), false) == nullptr,
        "a file in a missing folder cannot be opened");
  jthrowable notFound = env->ExceptionOccurred();
  env->ExceptionClear();
  check(notFound != nullptr && describe(env, notFound).rfind("java.io.FileNotFoundException: ", 0) == 0,
        "... and throws FileNotFoundException");

  callMain(env, "test/app/Thrower", {});
  jthrowable thrown = env->ExceptionOccurred();
  env->ExceptionClear();
  check(thrown != nullptr && describe(env, thrown) ==
            "java.lang.IllegalStateException: thrown by test.app.Thrower\r\n"
            "\tat test.app.Thrower.fail(Thrower.java:14)\r\n"
            "\tat test.app.Thrower.main(Thrower.java:9)\r\n",
        "printStackTrace(PrintStream) writes the stack trace");
  callMain(env, "test/app/Thrower", {});
  env->ExceptionDescribe();
  check(has(readFile(work(L"err.txt")), "\r\njava.lang.IllegalStateException: thrown by "
                                        "test.app.Thrower\r\n\tat test.app.Thrower.fail("),
        "ExceptionDescribe prints to System.err");
}

void checkSecondaryMain() {
  HANDLE thread = CreateThread(nullptr, 0, [](void*) -> DWORD {
    JNIEnv* env = nullptr;
    check(javaVm->GetEnv(reinterpret_cast<void**>(&env), JNI_VERSION_1_2) == JNI_EDETACHED,
          "GetEnv on a thread not attached");
    check(javaVm->AttachCurrentThread(reinterpret_cast<void**>(&env), nullptr) == JNI_OK,
          "AttachCurrentThread");
    jclass klass = env->FindClass("test/app/SecondaryInt");
    check(env->GetStaticMethodID(klass, "secondaryMain", "([Ljava/lang/String;)V") == nullptr,
          "SecondaryInt has no void secondaryMain");
    env->ExceptionClear();
    jmethodID method = env->GetStaticMethodID(klass, "secondaryMain", "([Ljava/lang/String;)I");
    jint result = env->CallStaticIntMethod(klass, method, newStringArray(env, {u"x", u"y"}));
    check(result == 2, "secondaryMain (int) returns the argument count");
    check(javaVm->DetachCurrentThread() == JNI_OK, "DetachCurrentThread");
    return 0;
  }, nullptr, 0, nullptr);
  WaitForSingleObject(thread, INFINITE);
  CloseHandle(thread);
  check(has(readFile(work(L"secondary.txt")), "secondaryMain=int\nthread.name=Thread-0\n"
            "arg.count=2\narg.0.units=0078\narg.0.text=x\narg.1.units=0079\narg.1.text=y\nend\n"),
        "secondaryMain reports its arguments");
}

DWORD WINAPI javaMainThread(void*) {
  Runtime runtime = load(L"full");
  JNIEnv* env = nullptr;
  check(createVm(runtime, {"-Djava.class.path=C:\\app\\a.jar", "-Xmx64m"}, &javaVm, &env) ==
            JNI_OK, "JNI_CreateJavaVM");
  checkLookups(env, runtime);
  checkReport(env);
  checkStreams(env);
  checkSecondaryMain();

  callMain(env, "test/app/Thrower", {});
  check(env->NewCharArray(1) == nullptr && env->ExceptionCheck(),
        "a call made while an exception is pending does nothing");
  callMain(env, "test/app/Lingerer", {});  // left undone: the Thrower's exception is pending
  env->ExceptionClear();
  callMain(env, "test/app/Lingerer", {});
  callMain(env, "test/app/Thrower", {});
  check(javaVm->DetachCurrentThread() == JNI_OK, "DetachCurrentThread with an exception pending");
  check(has(readFile(work(L"err.txt")), "Exception in thread \"main\" java.lang."
                                        "IllegalStateException: thrown by test.app.Thrower\r\n"),
        "... hands the exception to the uncaught-exception handler");
  check(readFile(work(L"linger.txt")) == "(missing)", "the Lingerer's thread is still running");
  DWORD start = GetTickCount();
  check(javaVm->DestroyJavaVM() == JNI_OK, "DestroyJavaVM");
  check(GetTickCount() - start >= 1400 && readFile(work(L"linger.txt")) == "lingered\n",
        "DestroyJavaVM waits for the application's non-daemon thread");
  check(javaVm->DestroyJavaVM() == JNI_ERR, "a second DestroyJavaVM fails");
  return 0;
}

void checkFullRuntime() {
  Runtime runtime = load(L"full");
  check(runtime.create && runtime.defaults && runtime.bootClass, "the full runtime's exports");
  JDK1_1InitArgs defaults{};
  defaults.version = JNI_VERSION_1_1;
  runtime.defaults(&defaults);
  check(defaults.javaStackSize == 1048576, "the default Java stack size for version 1.1");
  // The launcher's way: a thread of its own with a stack size, on which the VM is created.
  HANDLE thread = CreateThread(nullptr, 4 << 20, javaMainThread, nullptr,
                               STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr);
  WaitForSingleObject(thread, INFINITE);
  CloseHandle(thread);
}

void checkVariants() {
  Runtime noDefaults = load(L"no-default-args");
  check(noDefaults.create && !noDefaults.defaults && noDefaults.bootClass,
        "no-default-args lacks JNI_GetDefaultJavaVMInitArgs");
  Runtime noBoot = load(L"no-boot-loader-lookup");
  check(noBoot.create && noBoot.defaults && !noBoot.bootClass,
        "no-boot-loader-lookup lacks JVM_FindClassFromBootLoader");
  JavaVM* vm = nullptr;
  JNIEnv* env = nullptr;
  check(createVm(noBoot, {"-Dok=1", "-Xunknown"}, &vm, &env) == JNI_ERR,
        "an unknown option fails creation with JNI_ERR");
  check(createVm(noBoot, {"-Xmx12q"}, &vm, &env) == JNI_EINVAL,
        "a malformed memory size fails creation with JNI_EINVAL");
  check(createVm(noBoot, {"-Xunknown", "-ea", "-verbose:gc", "-Xss1m"}, &vm, &env, true) == JNI_OK,
        "with ignoreUnrecognized an unknown option is ignored");
  check(vm->DestroyJavaVM() == JNI_OK, "... and that VM is destroyed");
  for (auto [variant, code] : {std::pair{L"create-fails-4", -4}, {L"create-fails-6", -6},
                               {L"create-fails-7", -7}}) {
    check(createVm(load(variant), {}, &vm, &env) == code, "JNI_CreateJavaVM returns " +
          std::to_string(code));
  }
}

int runChild(const std::wstring& mode) {
  Runtime runtime = load(L"full");
  JavaVM* vm = nullptr;
  JNIEnv* env = nullptr;
  createVm(runtime, {}, &vm, &env);
  if (mode == L"--exit") {
    callMain(env, "test/app/Exiter", {});
  } else if (mode == L"--unexpected") {
    env->NewStringUTF("not the launcher's way");
  }
  return 0;
}

DWORD runSelf(const wchar_t* mode) {
  std::wstring command = L"\"" + exePath() + L"\" " + mode;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                      &startup, &process)) {
    return 0xFFFFFFFF;
  }
  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD code = 0;
  GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return code;
}

void checkChildren() {
  SetEnvironmentVariableW(L"TESTJVM_EXIT_CODE", L"5");
  DeleteFileW(work(L"exit-hook.txt").c_str());
  check(runSelf(L"--exit") == 5, "System.exit(5) ends the process with 5");
  check(readFile(work(L"exit-hook.txt")) == "exit hook 5", "... after calling the exit hook");
  check(runSelf(L"--unexpected") == 134, "a JNI function the runtime lacks ends the process");
  check(has(readFile(work(L"log.txt")), "fatal: JNI function NewStringUTF (table slot 167)"),
        "... and names the function");
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  CreateDirectoryW(workFolder().c_str(), nullptr);
  SetEnvironmentVariableW(L"TESTJVM_LOG", work(L"log.txt").c_str());
  if (argc > 1) {
    return runChild(argv[1]);
  }
  for (const wchar_t* name : {L"log.txt", L"report.txt", L"secondary.txt", L"linger.txt"}) {
    DeleteFileW(work(name).c_str());
  }
  SetEnvironmentVariableW(L"TESTJVM_REPORT", work(L"report.txt").c_str());
  SetEnvironmentVariableW(L"TESTJVM_SECONDARY_REPORT", work(L"secondary.txt").c_str());
  SetEnvironmentVariableW(L"TESTJVM_LINGER_FILE", work(L"linger.txt").c_str());
  SetEnvironmentVariableW(L"TESTJVM_LINGER_MS", L"1500");
  SetEnvironmentVariableW(L"QV_JVM_PATH", L"C:\\runtime\\bin\\client\\jvm.dll");
  checkFullRuntime();
  checkVariants();
  checkChildren();
  std::printf("%d failed\n", failures);
  return failures;
}
