#include "jvm/java_strings.h"

#include <limits>

#include "jvm/jni_local_ref.h"

namespace launcher {

namespace {

static_assert(sizeof(jchar) == sizeof(char16_t), "a Java char is one UTF-16 code unit");

// Bounds of describeThrowableCauses: a chain of causes may loop, and a message may be huge.
constexpr int kMostThrowablesDescribed = 8;
constexpr std::size_t kMostCauseUnits = 4000;

}  // namespace

jstring newJavaString(JNIEnv* env, std::u16string_view text) {
  if (text.size() > static_cast<std::size_t>(std::numeric_limits<jsize>::max())) return nullptr;
  const jsize length = static_cast<jsize>(text.size());
  LocalRef stringClass(env, env->FindClass("java/lang/String"));
  if (!stringClass) return nullptr;
  const jmethodID constructor = env->GetMethodID(static_cast<jclass>(stringClass.get()), "<init>", "([C)V");
  if (constructor == nullptr) return nullptr;
  LocalRef chars(env, env->NewCharArray(length));
  if (!chars) return nullptr;
  env->SetCharArrayRegion(static_cast<jcharArray>(chars.get()), 0, length,
                          reinterpret_cast<const jchar*>(text.data()));
  if (env->ExceptionCheck()) return nullptr;
  return static_cast<jstring>(env->NewObject(static_cast<jclass>(stringClass.get()), constructor, chars.get()));
}

jobjectArray newJavaStringArray(JNIEnv* env, const std::vector<std::u16string>& texts) {
  if (texts.size() > static_cast<std::size_t>(std::numeric_limits<jsize>::max())) return nullptr;
  LocalRef stringClass(env, env->FindClass("java/lang/String"));
  if (!stringClass) return nullptr;
  const jobjectArray array =
      env->NewObjectArray(static_cast<jsize>(texts.size()), static_cast<jclass>(stringClass.get()), nullptr);
  if (array == nullptr) return nullptr;
  for (std::size_t i = 0; i < texts.size(); ++i) {
    LocalRef element(env, newJavaString(env, texts[i]));
    if (element) env->SetObjectArrayElement(array, static_cast<jsize>(i), element.get());
    if (!element || env->ExceptionCheck()) {
      env->DeleteLocalRef(array);
      return nullptr;
    }
  }
  return array;
}

std::u16string javaStringText(JNIEnv* env, jstring text) {
  if (text == nullptr) return {};
  const jsize length = env->GetStringLength(text);
  std::u16string result(static_cast<std::size_t>(length > 0 ? length : 0), u'\0');
  if (length > 0) env->GetStringRegion(text, 0, length, reinterpret_cast<jchar*>(result.data()));
  if (env->ExceptionCheck()) {
    env->ExceptionDescribe();
    return {};
  }
  return result;
}

void describePendingException(JNIEnv* env) {
  if (env->ExceptionCheck()) env->ExceptionDescribe();
}

std::u16string describeJavaThrowable(JNIEnv* env, jthrowable throwable) {
  if (throwable == nullptr) return {};
  // Printed into characters, not bytes: nothing passes through a character encoding, so the
  // trace keeps every character of the exception's message.
  LocalRef writerClass(env, env->FindClass("java/io/StringWriter"));
  if (!writerClass) return describePendingException(env), std::u16string();
  const jmethodID newWriter = env->GetMethodID(static_cast<jclass>(writerClass.get()), "<init>", "()V");
  if (newWriter == nullptr) return describePendingException(env), std::u16string();
  LocalRef writer(env, env->NewObject(static_cast<jclass>(writerClass.get()), newWriter));
  if (!writer) return describePendingException(env), std::u16string();

  LocalRef printClass(env, env->FindClass("java/io/PrintWriter"));
  if (!printClass) return describePendingException(env), std::u16string();
  const jmethodID newPrint = env->GetMethodID(static_cast<jclass>(printClass.get()), "<init>", "(Ljava/io/Writer;)V");
  if (newPrint == nullptr) return describePendingException(env), std::u16string();
  LocalRef print(env, env->NewObject(static_cast<jclass>(printClass.get()), newPrint, writer.get()));
  if (!print) return describePendingException(env), std::u16string();

  LocalRef throwableClass(env, env->GetObjectClass(throwable));
  const jmethodID printStackTrace =
      env->GetMethodID(static_cast<jclass>(throwableClass.get()), "printStackTrace", "(Ljava/io/PrintWriter;)V");
  if (printStackTrace == nullptr) return describePendingException(env), std::u16string();
  env->CallVoidMethod(throwable, printStackTrace, print.get());
  describePendingException(env);

  const jmethodID toString =
      env->GetMethodID(static_cast<jclass>(writerClass.get()), "toString", "()Ljava/lang/String;");
  if (toString == nullptr) return describePendingException(env), std::u16string();
  LocalRef trace(env, env->CallObjectMethod(writer.get(), toString));
  describePendingException(env);
  return javaStringText(env, static_cast<jstring>(trace.get()));
}

std::u16string describeThrowableCauses(JNIEnv* env, jthrowable throwable) {
  if (throwable == nullptr) return {};
  const LocalRef throwableClass(env, env->FindClass("java/lang/Throwable"));
  if (!throwableClass) return describePendingException(env), std::u16string();
  const jclass klass = static_cast<jclass>(throwableClass.get());
  const jmethodID toString = env->GetMethodID(klass, "toString", "()Ljava/lang/String;");
  const jmethodID getCause = toString ? env->GetMethodID(klass, "getCause", "()Ljava/lang/Throwable;") : nullptr;
  if (getCause == nullptr) return describePendingException(env), std::u16string();

  std::u16string text;
  LocalRef cause(env, nullptr);
  jobject current = throwable;
  for (int count = 0; current != nullptr && count < kMostThrowablesDescribed; ++count) {
    const LocalRef line(env, env->CallObjectMethod(current, toString));
    if (env->ExceptionCheck()) return describePendingException(env), std::u16string();
    if (count > 0) text += u"\nCaused by: ";
    text += javaStringText(env, static_cast<jstring>(line.get()));
    // Taken before the reference to `current` (the previous cause) is let go.
    cause.reset(env->CallObjectMethod(current, getCause));
    if (env->ExceptionCheck()) return describePendingException(env), std::u16string();
    current = cause.get();
  }
  if (text.size() > kMostCauseUnits) {
    text.resize(kMostCauseUnits);
    // No unpaired half of a surrogate pair at the cut.
    if (text.back() >= 0xD800 && text.back() < 0xDC00) text.pop_back();
    text += u"...";
  }
  return text;
}

void printJavaStackTrace(JNIEnv* env, jthrowable throwable) {
  if (throwable == nullptr) return;
  const LocalRef throwableClass(env, env->FindClass("java/lang/Throwable"));
  if (!throwableClass) return describePendingException(env);
  const jmethodID print = env->GetMethodID(static_cast<jclass>(throwableClass.get()), "printStackTrace", "()V");
  if (print == nullptr) return describePendingException(env);
  env->CallVoidMethod(throwable, print);
  // Printing what failed while printing would fail the same way.
  if (env->ExceptionCheck()) env->ExceptionClear();
}

void callSystemExit(JNIEnv* env) {
  LocalRef systemClass(env, env->FindClass("java/lang/System"));
  if (!systemClass) return describePendingException(env);
  const jmethodID exitMethod = env->GetStaticMethodID(static_cast<jclass>(systemClass.get()), "exit", "(I)V");
  if (exitMethod == nullptr) return describePendingException(env);
  env->CallStaticVoidMethod(static_cast<jclass>(systemClass.get()), exitMethod, jint{-1});
  describePendingException(env);
}

}  // namespace launcher
