#include "jvm/main_invocation.h"

#include <algorithm>
#include <optional>

#include "base/trace.h"
#include "jvm/java_strings.h"
#include "jvm/jni_local_ref.h"
#include "jvm/main_method_lookup.h"
#include "resources/resource_ids.h"

namespace launcher {

namespace {

// The runtime's own launcher support: it loads the main class the way the runtime's command-line
// tool does (class path, modules, checks of the main class) when the runtime offers it.
constexpr const char* kLauncherHelperClass = "sun/launcher/LauncherHelper";
constexpr const char* kCheckAndLoadMain = "checkAndLoadMain";
constexpr const char* kCheckAndLoadMainSignature = "(ZILjava/lang/String;)Ljava/lang/Class;";
// checkAndLoadMain's modes: the name is a class, a jar file, or "module[/class]".
constexpr jint kLoadMainFromClass = 1;
constexpr jint kLoadMainFromJar = 2;
constexpr jint kLoadMainFromModule = 3;
constexpr std::u16string_view kJavaFxApplication = u"javafx.application.Application";

jclass asClass(const LocalRef& ref) { return static_cast<jclass>(ref.get()); }

// Message `id` for `className` with the runtime's reason: the pending exception and its causes.
// The whole trace goes to System.err, which the "Error File" may already have taken over.
void showPendingFailure(JNIEnv* env, unsigned id, std::u16string_view className, JavaHostServices& services) {
  const LocalRef thrown(env, env->ExceptionOccurred());
  env->ExceptionClear();
  const std::u16string reason = describeThrowableCauses(env, static_cast<jthrowable>(thrown.get()));
  printJavaStackTrace(env, static_cast<jthrowable>(thrown.get()));
  services.showError(id, {className, reason});
}

// The main class by the system class loader, as Class.forName(name, initialize, loader) gives it:
// a class missing from the class path or one whose superclass is missing fails to load, one
// whose static initialiser throws fails to initialise, each with the runtime's exception. Null
// after the user has been told.
jclass loadMainClass(JNIEnv* env, std::u16string_view className, bool initialize, JavaHostServices& services) {
  const LocalRef name(env, newJavaString(env, className));
  if (!name) {
    describePendingException(env);
    services.showError(IDS_MAIN_CLASS_NAME_INVALID, {className});
    return nullptr;
  }
  jclass mainClass = nullptr;
  const LocalRef loaderClass(env, env->FindClass("java/lang/ClassLoader"));
  const jmethodID systemLoader =
      loaderClass ? env->GetStaticMethodID(asClass(loaderClass), "getSystemClassLoader", "()Ljava/lang/ClassLoader;")
                  : nullptr;
  const LocalRef loader(env, systemLoader ? env->CallStaticObjectMethod(asClass(loaderClass), systemLoader) : nullptr);
  const LocalRef classClass(env, env->ExceptionCheck() ? nullptr : env->FindClass("java/lang/Class"));
  const jmethodID forName =
      classClass ? env->GetStaticMethodID(asClass(classClass), "forName",
                                          "(Ljava/lang/String;ZLjava/lang/ClassLoader;)Ljava/lang/Class;")
                 : nullptr;
  if (forName != nullptr) {
    mainClass = static_cast<jclass>(
        env->CallStaticObjectMethod(asClass(classClass), forName, name.get(), initialize ? JNI_TRUE : JNI_FALSE,
                                    loader.get()));
  }
  if (!env->ExceptionCheck() && mainClass != nullptr) return mainClass;
  showPendingFailure(env, IDS_MAIN_CLASS_NOT_FOUND, className, services);
  return nullptr;
}

// java.lang.Class.getName, or null with an exception pending.
jmethodID classGetName(JNIEnv* env) {
  const LocalRef classClass(env, env->FindClass("java/lang/Class"));
  return classClass ? env->GetMethodID(asClass(classClass), "getName", "()Ljava/lang/String;") : nullptr;
}

// Whether a superclass of `mainClass` is JavaFX's Application, as the runtime's LauncherHelper
// asks: such a class needs no main of its own, the helper starts it through JavaFX.
bool extendsJavaFxApplication(JNIEnv* env, jclass mainClass) {
  const jmethodID getName = classGetName(env);
  if (getName == nullptr) return describePendingException(env), false;
  for (LocalRef super(env, env->GetSuperclass(mainClass)); super; super.reset(env->GetSuperclass(asClass(super)))) {
    const LocalRef name(env, env->CallObjectMethod(super.get(), getName));
    if (env->ExceptionCheck()) return describePendingException(env), false;
    if (javaStringText(env, static_cast<jstring>(name.get())) == kJavaFxApplication) return true;
  }
  return false;
}

// LauncherHelper.checkAndLoadMain does not return for a main class it cannot load or whose main
// it rejects: it prints one line on the error stream, which a GUI launcher does not have, and
// ends the process with 1. The same checks come first here, so that the user reads why in a
// message and the launcher ends as after any failed launch. A JavaFX application is the
// helper's to judge, and to initialise once JavaFX is ready for it.
bool mainClassPassesChecks(JNIEnv* env, std::u16string_view className, LaunchProtocol protocol,
                           JavaHostServices& services) {
  const LocalRef loaded(env, loadMainClass(env, className, false, services));
  if (!loaded) return false;
  if (extendsJavaFxApplication(env, asClass(loaded))) return true;
  // Looking main up would initialise the class too, but its failure would then read as a
  // missing main.
  const LocalRef initialised(env, loadMainClass(env, className, true, services));
  return initialised && findMainEntry(env, asClass(initialised), className, protocol, services).has_value();
}

// The runtime's LauncherHelper class; null when the runtime offers no such route.
jclass findLauncherHelper(JNIEnv* env, const JavaMainRequest& request) {
  if (request.entryPoints.findClassFromBootLoader == nullptr) return nullptr;
  const jclass helper = request.entryPoints.findClassFromBootLoader(env, kLauncherHelperClass);
  if (helper == nullptr) describePendingException(env);
  return helper;
}

// The main class through the runtime's LauncherHelper; null when the helper gives no class.
jclass loadThroughLauncherHelper(JNIEnv* env, jclass helper, std::u16string_view what, jint mode = kLoadMainFromClass) {
  jclass mainClass = nullptr;
  const jmethodID checkAndLoadMain = env->GetStaticMethodID(helper, kCheckAndLoadMain, kCheckAndLoadMainSignature);
  if (checkAndLoadMain != nullptr) {
    const LocalRef name(env, newJavaString(env, what));
    if (name) {
      mainClass =
          static_cast<jclass>(env->CallStaticObjectMethod(helper, checkAndLoadMain, JNI_TRUE, mode, name.get()));
    }
  }
  describePendingException(env);
  return mainClass;
}

// The main class by FindClass with the slash-form name; null after the user has been told.
jclass findThroughClassLoader(JNIEnv* env, const JavaMainRequest& request, std::u16string_view className,
                              JavaHostServices& services) {
  const LocalRef name(env, newJavaString(env, request.mainClass));
  if (!name) {
    describePendingException(env);
    services.showError(IDS_MAIN_CLASS_NAME_INVALID, {request.mainClass});
    return nullptr;
  }
  const char* nameChars = env->GetStringUTFChars(static_cast<jstring>(name.get()), nullptr);
  if (nameChars == nullptr) {
    env->ExceptionDescribe();
    return nullptr;
  }
  const jclass mainClass = env->FindClass(nameChars);
  env->ReleaseStringUTFChars(static_cast<jstring>(name.get()), nameChars);
  if (mainClass == nullptr) showPendingFailure(env, IDS_MAIN_CLASS_NOT_FOUND, className, services);
  return mainClass;
}

// After main has let `escaped` out: the failure dialog, when the settings ask for it, whose Cancel
// ends the program. The exception is pending again afterwards, so that detaching the thread
// reports it as the runtime reports any uncaught exception.
void handleEscapedException(JNIEnv* env, jthrowable escaped, const JavaMainRequest& request,
                            JavaHostServices& services) {
  services.closeSplashes();
  if (!request.failureCheck) return;
  // Building the trace runs Java code, which JNI does not allow while an exception is pending.
  env->ExceptionClear();
  const std::u16string trace = describeJavaThrowable(env, escaped);
  if (!trace.empty() && !services.confirmFailure(trace)) callSystemExit(env);
  env->Throw(escaped);
}

// The class that the jar's manifest or the module's descriptor (or "module/class") names, loaded
// as the java command's "-jar" and "-m" load it: the runtime's helper reads the manifest and
// applies its Add-Opens, Add-Exports, Enable-Native-Access and Launcher-Agent-Class. Null after
// the user has been told, or after the helper has written why on the error stream. `className`
// gets the class's name.
jclass loadFromJarOrModule(JNIEnv* env, const JavaMainRequest& request, std::u16string& className,
                           JavaHostServices& services) {
  const bool jar = !request.mainJar.empty();
  const std::u16string& what = jar ? request.mainJar : request.mainModule;
  const LocalRef helper(env, findLauncherHelper(env, request));
  if (!helper) {
    services.showError(IDS_NO_LAUNCHER_HELPER, {what});
    return nullptr;
  }
  const jclass mainClass =
      loadThroughLauncherHelper(env, asClass(helper), what, jar ? kLoadMainFromJar : kLoadMainFromModule);
  if (mainClass != nullptr) {
    const jmethodID getName = classGetName(env);
    const LocalRef name(env, getName ? env->CallObjectMethod(mainClass, getName) : nullptr);
    describePendingException(env);
    className = javaStringText(env, static_cast<jstring>(name.get()));
  }
  trace(u"main class", className);
  return mainClass;
}

}  // namespace

JavaMainResult invokeMainClass(const JavaMainRequest& request, JavaVmState& state, JavaHostServices& services) {
  JNIEnv* const env = state.jniEnv;
  // The name as the settings write it and Java spells it.
  std::u16string className = request.mainClass;
  std::replace(className.begin(), className.end(), u'/', u'.');
  jclass mainClass = nullptr;
  // Which main methods the runtime's own launcher starts depends on its version.
  const LaunchProtocol protocol = runtimeLaunchProtocol(env);
  if (className.empty()) {
    mainClass = loadFromJarOrModule(env, request, className, services);
    if (mainClass == nullptr) return JavaMainResult::launchFailed;
  } else {
    const LocalRef helper(env, findLauncherHelper(env, request));
    if (helper) {
      if (!mainClassPassesChecks(env, className, protocol, services)) return JavaMainResult::launchFailed;
      mainClass = loadThroughLauncherHelper(env, asClass(helper), className);
      if (tracing()) {
        trace(u"main class", quotedForTrace(className) + (mainClass != nullptr ? u": loaded through LauncherHelper"
                                                                              : u": LauncherHelper gave no class"));
      }
    } else {
      trace(u"main class", u"the runtime has no LauncherHelper");
    }
  }
  if (mainClass == nullptr) {
    mainClass = findThroughClassLoader(env, request, className, services);
    if (tracing()) {
      trace(u"main class", quotedForTrace(className) + (mainClass != nullptr ? u": loaded by the class loader"
                                                                            : u": not found by the class loader"));
    }
  }
  if (mainClass == nullptr) return JavaMainResult::launchFailed;

  const std::optional<MainEntry> entry = findMainEntry(env, mainClass, className, protocol, services);
  trace(u"main class", entry ? u"calling main" : u"no usable main method");
  if (!entry) return JavaMainResult::launchFailed;
  const jobjectArray arguments = newJavaStringArray(env, request.arguments);
  if (arguments == nullptr) {
    describePendingException(env);
    return JavaMainResult::launchFailed;
  }

  services.signalMainStarted(state.javaVm);
  callMainEntry(env, mainClass, *entry, arguments);

  const jthrowable escaped = env->ExceptionOccurred();
  if (escaped != nullptr) handleEscapedException(env, escaped, request, services);
  if (request.sleepAfterMain) services.sleepForever();

  if (state.javaVm->DetachCurrentThread() != JNI_OK) return JavaMainResult::launchFailed;
  state.jniEnv = nullptr;
  return escaped != nullptr ? JavaMainResult::mainThrew : JavaMainResult::mainReturned;
}

JavaMainResult runJavaMain(const JavaMainRequest& request, JavaVmState& state, JavaHostServices& services) {
  if (!createJavaVm(request.entryPoints, request.vmOptions, request.exitHook, request.abortHook, request.runtimeOutput,
                    request.streamFiles, state, services)) {
    return JavaMainResult::launchFailed;
  }
  // Before any code of the program runs, so that all it prints reaches the files.
  redirectStandardStreams(state.jniEnv, request.streamFiles, services);
  const JavaMainResult result = invokeMainClass(request, state, services);
  // A failed launch may still wait for threads its classes started; no splash stays up meanwhile.
  if (result == JavaMainResult::launchFailed) services.closeSplashes();
  // Also after a failed launch, and from this thread: a thread that ends while still attached
  // counts as a running non-daemon thread for ever, so the VM could no longer be destroyed from
  // any other thread, and the launcher's cleanup would wait for it without end.
  destroyJavaVm(state);
  return result;
}

}  // namespace launcher
