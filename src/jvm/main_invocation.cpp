#include "jvm/main_invocation.h"

#include <algorithm>

#include "jvm/java_strings.h"
#include "resources/resource_ids.h"

namespace launcher {

namespace {

// The runtime's own launcher support: it loads the main class the way the runtime's command-line
// tool does (class path, modules, checks of the main class) when the runtime offers it.
constexpr const char* kLauncherHelperClass = "sun/launcher/LauncherHelper";
constexpr const char* kCheckAndLoadMain = "checkAndLoadMain";
constexpr const char* kCheckAndLoadMainSignature = "(ZILjava/lang/String;)Ljava/lang/Class;";
// checkAndLoadMain's mode for "the name is a class", as opposed to a jar file.
constexpr jint kLoadMainFromClass = 1;

// The main class through the runtime's LauncherHelper; null when the runtime has no such route
// or the route gives no class.
jclass loadThroughLauncherHelper(JNIEnv* env, const JavaMainRequest& request) {
  if (request.entryPoints.findClassFromBootLoader == nullptr) return nullptr;
  const jclass helper = request.entryPoints.findClassFromBootLoader(env, kLauncherHelperClass);
  if (helper == nullptr) {
    describePendingException(env);
    return nullptr;
  }
  jclass mainClass = nullptr;
  const jmethodID checkAndLoadMain = env->GetStaticMethodID(helper, kCheckAndLoadMain, kCheckAndLoadMainSignature);
  if (checkAndLoadMain != nullptr) {
    std::u16string dotted = request.mainClass;
    std::replace(dotted.begin(), dotted.end(), u'/', u'.');
    const jstring name = newJavaString(env, dotted);
    if (name != nullptr) {
      mainClass = static_cast<jclass>(
          env->CallStaticObjectMethod(helper, checkAndLoadMain, JNI_TRUE, kLoadMainFromClass, name));
      env->DeleteLocalRef(name);
    }
  }
  describePendingException(env);
  env->DeleteLocalRef(helper);
  return mainClass;
}

// The main class by FindClass with the slash-form name; null after the user has been told.
jclass findThroughClassLoader(JNIEnv* env, const JavaMainRequest& request, JavaHostServices& services) {
  const jstring name = newJavaString(env, request.mainClass);
  if (name == nullptr) {
    describePendingException(env);
    services.showError(IDS_MAIN_CLASS_NAME_INVALID, {request.mainClass});
    return nullptr;
  }
  const char* nameChars = env->GetStringUTFChars(name, nullptr);
  if (nameChars == nullptr) {
    env->ExceptionDescribe();
    env->DeleteLocalRef(name);
    return nullptr;
  }
  const jclass mainClass = env->FindClass(nameChars);
  env->ReleaseStringUTFChars(name, nameChars);
  if (mainClass == nullptr) {
    env->ExceptionDescribe();
    // The name as the VM holds it, code unit for code unit.
    services.showError(IDS_MAIN_CLASS_NOT_FOUND, {javaStringText(env, name)});
  }
  env->DeleteLocalRef(name);
  return mainClass;
}

// After main has let `escaped` out: the failure dialog, when the settings ask for it, whose Cancel
// ends the program. The exception is pending again afterwards, so that detaching the thread
// reports it as the runtime reports any uncaught exception.
void handleEscapedException(JNIEnv* env, jthrowable escaped, const JavaMainRequest& request,
                            JavaHostServices& services) {
  services.closeSplashWindow();
  if (!request.failureCheck) return;
  // Building the trace runs Java code, which JNI does not allow while an exception is pending.
  env->ExceptionClear();
  const std::u16string trace = describeJavaThrowable(env, escaped);
  if (!trace.empty() && !services.confirmFailure(trace)) callSystemExit(env);
  env->Throw(escaped);
}

}  // namespace

JavaMainResult invokeMainClass(const JavaMainRequest& request, JavaVmState& state, JavaHostServices& services) {
  JNIEnv* const env = state.jniEnv;
  jclass mainClass = loadThroughLauncherHelper(env, request);
  if (mainClass == nullptr) mainClass = findThroughClassLoader(env, request, services);
  if (mainClass == nullptr) return JavaMainResult::launchFailed;

  const jmethodID mainMethod = env->GetStaticMethodID(mainClass, "main", "([Ljava/lang/String;)V");
  if (mainMethod == nullptr) {
    // The VM raises NoSuchMethodError for a missing method; the printed exception is for a
    // console, and the user of the launcher still needs the message.
    describePendingException(env);
    services.showError(IDS_MAIN_METHOD_MISSING, {});
    return JavaMainResult::launchFailed;
  }
  const jobjectArray arguments = newJavaStringArray(env, request.arguments);
  if (arguments == nullptr) {
    describePendingException(env);
    return JavaMainResult::launchFailed;
  }

  services.signalMainStarted();
  env->CallStaticVoidMethod(mainClass, mainMethod, arguments);

  const jthrowable escaped = env->ExceptionOccurred();
  if (escaped != nullptr) handleEscapedException(env, escaped, request, services);
  if (request.sleepAfterMain) services.sleepForever();

  if (state.javaVm->DetachCurrentThread() != JNI_OK) return JavaMainResult::launchFailed;
  state.jniEnv = nullptr;
  return escaped != nullptr ? JavaMainResult::mainThrew : JavaMainResult::mainReturned;
}

JavaMainResult runJavaMain(const JavaMainRequest& request, JavaVmState& state, JavaHostServices& services) {
  if (!createJavaVm(request.entryPoints, request.vmOptions, request.exitHook, request.abortHook, state, services)) {
    return JavaMainResult::launchFailed;
  }
  // Before any code of the program runs, so that all it prints reaches the files.
  redirectStandardStreams(state.jniEnv, request.streamFiles, services);
  const JavaMainResult result = invokeMainClass(request, state, services);
  // Also after a failed launch, and from this thread: a thread that ends while still attached
  // counts as a running non-daemon thread for ever, so the VM could no longer be destroyed from
  // any other thread, and the launcher's cleanup would wait for it without end.
  destroyJavaVm(state);
  return result;
}

}  // namespace launcher
