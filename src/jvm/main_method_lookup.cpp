#include "jvm/main_method_lookup.h"

#include <string>

#include "base/message_format.h"
#include "jvm/java_strings.h"
#include "jvm/jni_local_ref.h"
#include "resources/resource_ids.h"

namespace launcher {

namespace {

constexpr const char* kWithArguments = "([Ljava/lang/String;)V";
constexpr const char* kWithoutArguments = "()V";
// java.lang.reflect.Modifier
constexpr jint kPublic = 0x0001;
constexpr jint kPrivate = 0x0002;
constexpr jint kProtected = 0x0004;
constexpr jint kInterface = 0x0200;
constexpr jint kAbstract = 0x0400;

jclass asClass(const LocalRef& ref) { return static_cast<jclass>(ref.get()); }

MethodAccess accessOf(jint modifiers) {
  if ((modifiers & kPublic) != 0) return MethodAccess::publicAccess;
  if ((modifiers & kPrivate) != 0) return MethodAccess::privateAccess;
  if ((modifiers & kProtected) != 0) return MethodAccess::protectedAccess;
  return MethodAccess::packageAccess;
}

// `object`.`name`() through JNI, for the reflection objects' int and object getters. Exceptions
// stay pending.
jint callIntGetter(JNIEnv* env, jobject object, const char* name) {
  const LocalRef type(env, env->GetObjectClass(object));
  const jmethodID getter = env->GetMethodID(asClass(type), name, "()I");
  return getter != nullptr ? env->CallIntMethod(object, getter) : 0;
}

jobject callObjectGetter(JNIEnv* env, jobject object, const char* name, const char* signature) {
  const LocalRef type(env, env->GetObjectClass(object));
  const jmethodID getter = env->GetMethodID(asClass(type), name, signature);
  return getter != nullptr ? env->CallObjectMethod(object, getter) : nullptr;
}

// One shape of main, as the VM's lookup finds it: its id, what it is, and its declaration as
// Method.toString() gives it.
struct FoundMain {
  jmethodID id = nullptr;
  MainMethodFacts facts;
  std::u16string declaration;
};

std::optional<FoundMain> lookUpMain(JNIEnv* env, jclass mainClass, const char* signature) {
  FoundMain found;
  found.facts.isStatic = true;
  found.id = env->GetStaticMethodID(mainClass, "main", signature);
  if (found.id == nullptr) {
    env->ExceptionClear();
    found.facts.isStatic = false;
    found.id = env->GetMethodID(mainClass, "main", signature);
  }
  if (found.id == nullptr) {
    env->ExceptionClear();
    return std::nullopt;
  }
  const LocalRef reflected(env, env->ToReflectedMethod(mainClass, found.id, found.facts.isStatic));
  if (!reflected) return describePendingException(env), std::nullopt;
  found.facts.access = accessOf(callIntGetter(env, reflected.get(), "getModifiers"));
  const LocalRef owner(env, env->ExceptionCheck() ? nullptr
                                                  : callObjectGetter(env, reflected.get(), "getDeclaringClass",
                                                                     "()Ljava/lang/Class;"));
  if (owner && !env->IsSameObject(owner.get(), mainClass)) {
    const bool isInterface = (callIntGetter(env, owner.get(), "getModifiers") & kInterface) != 0;
    found.facts.declaredIn = isInterface ? DeclaredIn::interfaceType : DeclaredIn::superclass;
  }
  const LocalRef text(env, env->ExceptionCheck() ? nullptr
                                                 : callObjectGetter(env, reflected.get(), "toString",
                                                                    "()Ljava/lang/String;"));
  if (env->ExceptionCheck()) return describePendingException(env), std::nullopt;
  found.declaration = javaStringText(env, static_cast<jstring>(text.get()));
  return found;
}

// The class's own constructor without parameters and its access; null when it has none.
jmethodID lookUpConstructor(JNIEnv* env, jclass mainClass, std::optional<MethodAccess>& access) {
  const jmethodID constructor = env->GetMethodID(mainClass, "<init>", kWithoutArguments);
  if (constructor == nullptr) {
    env->ExceptionClear();
    return nullptr;
  }
  const LocalRef reflected(env, env->ToReflectedMethod(mainClass, constructor, JNI_FALSE));
  if (reflected) access = accessOf(callIntGetter(env, reflected.get(), "getModifiers"));
  describePendingException(env);
  return constructor;
}

std::u16string javaProperty(JNIEnv* env, const char* name) {
  const LocalRef system(env, env->FindClass("java/lang/System"));
  const jmethodID getProperty =
      system ? env->GetStaticMethodID(asClass(system), "getProperty", "(Ljava/lang/String;)Ljava/lang/String;")
             : nullptr;
  const LocalRef key(env, getProperty ? env->NewStringUTF(name) : nullptr);
  const LocalRef value(env, key ? env->CallStaticObjectMethod(asClass(system), getProperty, key.get()) : nullptr);
  describePendingException(env);
  return javaStringText(env, static_cast<jstring>(value.get()));
}

// The runtime's own record of --enable-preview (21 and later).
bool previewFeaturesEnabled(JNIEnv* env) {
  const LocalRef features(env, env->FindClass("jdk/internal/misc/PreviewFeatures"));
  const jmethodID isEnabled = features ? env->GetStaticMethodID(asClass(features), "isEnabled", "()Z") : nullptr;
  const bool enabled = isEnabled != nullptr && env->CallStaticBooleanMethod(asClass(features), isEnabled) == JNI_TRUE;
  describePendingException(env);
  return enabled;
}

}  // namespace

LaunchProtocol runtimeLaunchProtocol(JNIEnv* env) {
  const std::u16string version = javaProperty(env, "java.version");
  const LaunchProtocol plain = launchProtocolFor(version, false);
  const LaunchProtocol preview = launchProtocolFor(version, true);
  return plain == preview || !previewFeaturesEnabled(env) ? plain : preview;
}

std::optional<MainEntry> findMainEntry(JNIEnv* env, jclass mainClass, std::u16string_view className,
                                       LaunchProtocol protocol, JavaHostServices& services) {
  // The old protocol's lookup first: when the class has no main at all, its NoSuchMethodError
  // is the runtime's reason.
  const jmethodID traditional = env->GetStaticMethodID(mainClass, "main", kWithArguments);
  const LocalRef missing(env, traditional == nullptr ? env->ExceptionOccurred() : nullptr);
  env->ExceptionClear();

  const std::optional<FoundMain> withArguments = lookUpMain(env, mainClass, kWithArguments);
  const std::optional<FoundMain> withoutArguments =
      protocol == LaunchProtocol::publicStaticMain ? std::nullopt : lookUpMain(env, mainClass, kWithoutArguments);
  MainClassFacts facts;
  if (withArguments) facts.withArguments = withArguments->facts;
  if (withoutArguments) facts.withoutArguments = withoutArguments->facts;
  const LocalRef classObject(env, env->NewLocalRef(mainClass));
  facts.isAbstract = (callIntGetter(env, classObject.get(), "getModifiers") & (kAbstract | kInterface)) != 0;
  describePendingException(env);
  MainEntry entry;
  entry.constructor = lookUpConstructor(env, mainClass, facts.noArgumentConstructor);

  const MainChoice choice = chooseMainMethod(protocol, facts);
  entry.form = choice.form;
  const bool chosenWithArguments =
      choice.form == MainForm::staticWithArguments || choice.form == MainForm::instanceWithArguments;
  const std::optional<FoundMain>& chosen = chosenWithArguments ? withArguments : withoutArguments;
  if (choice.outcome == MainChoice::Outcome::start && chosen) {
    entry.method = chosen->id;
    return entry;
  }
  if (choice.outcome == MainChoice::Outcome::noInstance && chosen) {
    services.showError(IDS_MAIN_METHOD_MISSING,
                       {className, formatMessage(services.text(IDS_MAIN_NEEDS_INSTANCE), {chosen->declaration})});
  } else if (choice.outcome == MainChoice::Outcome::notPublic && withArguments) {
    services.showError(IDS_MAIN_METHOD_MISSING, {className, withArguments->declaration});
  } else if (protocol != LaunchProtocol::publicStaticMain && (withArguments || withoutArguments)) {
    // What it found, in the runtime's words: a main this protocol does not start.
    services.showError(IDS_MAIN_METHOD_MISSING,
                       {className, (withArguments ? withArguments : withoutArguments)->declaration});
  } else {
    const std::u16string reason = describeThrowableCauses(env, static_cast<jthrowable>(missing.get()));
    if (missing) printJavaStackTrace(env, static_cast<jthrowable>(missing.get()));
    services.showError(IDS_MAIN_METHOD_MISSING, {className, reason});
  }
  return std::nullopt;
}

void callMainEntry(JNIEnv* env, jclass mainClass, const MainEntry& entry, jobjectArray arguments) {
  switch (entry.form) {
    case MainForm::staticWithArguments:
      env->CallStaticVoidMethod(mainClass, entry.method, arguments);
      return;
    case MainForm::staticWithoutArguments:
      env->CallStaticVoidMethod(mainClass, entry.method);
      return;
    case MainForm::instanceWithArguments:
    case MainForm::instanceWithoutArguments: {
      const LocalRef object(env, env->NewObject(mainClass, entry.constructor));
      if (!object) return;
      if (entry.form == MainForm::instanceWithArguments) {
        env->CallVoidMethod(object.get(), entry.method, arguments);
      } else {
        env->CallVoidMethod(object.get(), entry.method);
      }
      return;
    }
  }
}

}  // namespace launcher
