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

// With `anyKind` false only a static main is looked for, and only what the old protocol needs is
// asked (the stand-in runtimes of the Windows tests answer no more).
std::optional<FoundMain> lookUpMain(JNIEnv* env, jclass mainClass, const char* signature, bool anyKind) {
  FoundMain found;
  found.facts.isStatic = true;
  found.id = env->GetStaticMethodID(mainClass, "main", signature);
  if (found.id == nullptr && anyKind) {
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
  if (env->ExceptionCheck()) return describePendingException(env), std::nullopt;
  if (anyKind) {
    const LocalRef owner(env, callObjectGetter(env, reflected.get(), "getDeclaringClass", "()Ljava/lang/Class;"));
    if (owner && !env->IsSameObject(owner.get(), mainClass)) {
      const bool isInterface = (callIntGetter(env, owner.get(), "getModifiers") & kInterface) != 0;
      found.facts.declaredIn = isInterface ? DeclaredIn::interfaceType : DeclaredIn::superclass;
    }
    describePendingException(env);
  }
  // The runtime's own account of what it found, for a message.
  if (anyKind || found.facts.access != MethodAccess::publicAccess) {
    const LocalRef text(env, callObjectGetter(env, reflected.get(), "toString", "()Ljava/lang/String;"));
    describePendingException(env);
    found.declaration = javaStringText(env, static_cast<jstring>(text.get()));
  }
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

// Empty when the VM has no such property or cannot tell; that is not worth printing.
std::u16string javaProperty(JNIEnv* env, std::u16string_view name) {
  const LocalRef system(env, env->FindClass("java/lang/System"));
  const jmethodID getProperty =
      system ? env->GetStaticMethodID(asClass(system), "getProperty", "(Ljava/lang/String;)Ljava/lang/String;")
             : nullptr;
  const LocalRef key(env, getProperty ? newJavaString(env, name) : nullptr);
  const LocalRef value(env, key ? env->CallStaticObjectMethod(asClass(system), getProperty, key.get()) : nullptr);
  env->ExceptionClear();
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
  const std::u16string version = javaProperty(env, u"java.version");
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

  const bool anyKind = protocol != LaunchProtocol::publicStaticMain;
  const std::optional<FoundMain> withArguments = traditional != nullptr || anyKind
                                                     ? lookUpMain(env, mainClass, kWithArguments, anyKind)
                                                     : std::nullopt;
  const std::optional<FoundMain> withoutArguments =
      anyKind ? lookUpMain(env, mainClass, kWithoutArguments, true) : std::nullopt;
  MainClassFacts facts;
  if (withArguments) facts.withArguments = withArguments->facts;
  if (withoutArguments) facts.withoutArguments = withoutArguments->facts;
  MainEntry entry;
  if (anyKind) {
    facts.isAbstract = (callIntGetter(env, mainClass, "getModifiers") & (kAbstract | kInterface)) != 0;
    describePendingException(env);
    entry.constructor = lookUpConstructor(env, mainClass, facts.noArgumentConstructor);
  }

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
