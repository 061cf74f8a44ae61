#include "jvm/secondary_main.h"

#include "jvm/java_strings.h"
#include "jvm/jni_local_ref.h"

namespace launcher {

namespace {

constexpr const char* kSecondaryMain = "secondaryMain";
constexpr const char* kVoidSignature = "([Ljava/lang/String;)V";
constexpr const char* kIntSignature = "([Ljava/lang/String;)I";
// What a second start ends with when the int form failed: a program that failed must not look
// as if it succeeded, and its own result never came.
constexpr std::int32_t kSecondaryMainThrew = 1;

// The class by its Java name in modified UTF-8, as the VM itself spells names, so a package
// name outside the ANSI code page is found too.
jclass findMainClass(JNIEnv* env, std::u16string_view mainClass) {
  const LocalRef name(env, newJavaString(env, mainClass));
  const char* nameChars = name ? env->GetStringUTFChars(static_cast<jstring>(name.get()), nullptr) : nullptr;
  if (nameChars == nullptr) return describePendingException(env), nullptr;
  const jclass found = env->FindClass(nameChars);
  env->ReleaseStringUTFChars(static_cast<jstring>(name.get()), nameChars);
  if (found == nullptr) describePendingException(env);
  return found;
}

bool serve(JNIEnv* env, std::u16string_view mainClass, const std::vector<std::u16string>& arguments,
           SecondaryMainReply& reply) {
  const LocalRef owner(env, findMainClass(env, mainClass));
  if (!owner) return false;
  const jclass ownerClass = static_cast<jclass>(owner.get());
  bool intForm = false;
  jmethodID method = env->GetStaticMethodID(ownerClass, kSecondaryMain, kVoidSignature);
  if (method == nullptr) {
    env->ExceptionClear();
    method = env->GetStaticMethodID(ownerClass, kSecondaryMain, kIntSignature);
    intForm = true;
  }
  if (method == nullptr) return describePendingException(env), false;
  const LocalRef array(env, newJavaStringArray(env, arguments));
  if (!array) return describePendingException(env), false;
  if (!intForm) {
    // The second start is not kept waiting for a method that has nothing to tell it.
    reply.send(0);
    env->CallStaticVoidMethod(ownerClass, method, array.get());
    describePendingException(env);
    return true;
  }
  std::int32_t result = env->CallStaticIntMethod(ownerClass, method, array.get());
  if (env->ExceptionCheck()) {
    env->ExceptionDescribe();
    result = kSecondaryMainThrew;
  }
  reply.send(result);
  return true;
}

}  // namespace

bool callSecondaryMain(JavaVM* javaVm, std::u16string_view mainClass, const std::vector<std::u16string>& arguments,
                       SecondaryMainReply& reply) {
  JNIEnv* env = nullptr;
  if (javaVm == nullptr || javaVm->AttachCurrentThread(reinterpret_cast<void**>(&env), nullptr) != JNI_OK ||
      env == nullptr) {
    return false;
  }
  const bool replied = serve(env, mainClass, arguments, reply);
  // Always: a thread that ends attached would keep the VM from ever being destroyed.
  javaVm->DetachCurrentThread();
  return replied;
}

}  // namespace launcher
