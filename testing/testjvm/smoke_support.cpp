// Helpers of the smoke program: loading a variant of the runtime, creating the VM, and making
// strings, arrays and stack traces through JNI as a launcher does.
#include "testjvm_smoke.h"

#include <cstdio>

namespace smoke {

int failures = 0;

void check(bool ok, const std::string& what) {
  std::printf("%s %s\n", ok ? "ok  " : "FAIL", what.c_str());
  std::fflush(stdout);
  failures += ok ? 0 : 1;
}

std::wstring exePath() {
  wchar_t path[MAX_PATH];
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  return path;
}

std::wstring variantDll(const wchar_t* variant) {
  std::wstring exe = exePath();
  return exe.substr(0, exe.rfind(L'\\')) + L"\\" TESTJVM_VARIANTS L"\\" + variant + L"\\jvm.dll";
}

std::wstring workFolder() {
  wchar_t folder[MAX_PATH];
  GetCurrentDirectoryW(MAX_PATH, folder);
  return std::wstring(folder) + L"\\testjvm-smoke";
}

std::wstring work(const wchar_t* name) { return workFolder() + L"\\" + name; }

std::string readFile(const std::wstring& path) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    return "(missing)";
  }
  std::string text(1 << 16, '\0');
  DWORD read = 0;
  ReadFile(file, text.data(), static_cast<DWORD>(text.size()), &read, nullptr);
  CloseHandle(file);
  text.resize(read);
  return text;
}

bool has(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

Runtime load(const wchar_t* variant) {
  Runtime runtime;
  runtime.module = LoadLibraryW(variantDll(variant).c_str());
  if (runtime.module != nullptr) {
    runtime.create = reinterpret_cast<CreateJavaVm>(
        reinterpret_cast<void*>(GetProcAddress(runtime.module, "JNI_CreateJavaVM")));
    runtime.defaults = reinterpret_cast<GetDefaultArgs>(
        reinterpret_cast<void*>(GetProcAddress(runtime.module, "JNI_GetDefaultJavaVMInitArgs")));
    runtime.bootClass = reinterpret_cast<FindBootClass>(
        reinterpret_cast<void*>(GetProcAddress(runtime.module, "JVM_FindClassFromBootLoader")));
  }
  return runtime;
}

void JNICALL abortHook() {}

void JNICALL exitHook(jint code) {
  std::string text = "exit hook " + std::to_string(code);
  HANDLE file = CreateFileW(work(L"exit-hook.txt").c_str(), GENERIC_WRITE, 0, nullptr,
                            CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  CloseHandle(file);
}

jint createVm(const Runtime& runtime, std::vector<std::string> options, JavaVM** vm, JNIEnv** env,
              bool ignoreUnrecognized) {
  std::vector<JavaVMOption> array;
  for (std::string& option : options) {
    array.push_back({option.data(), nullptr});
  }
  array.push_back({const_cast<char*>("abort"), reinterpret_cast<void*>(abortHook)});
  array.push_back({const_cast<char*>("exit"), reinterpret_cast<void*>(exitHook)});
  JavaVMInitArgs args{JNI_VERSION_1_2, static_cast<jint>(array.size()), array.data(),
                      jboolean(ignoreUnrecognized ? JNI_TRUE : JNI_FALSE)};
  return runtime.create(vm, reinterpret_cast<void**>(env), &args);
}

// A Java string from UTF-16 units through String(char[]), as the launcher makes them.
jstring newString(JNIEnv* env, const std::u16string& units) {
  jclass stringClass = env->FindClass("java/lang/String");
  jmethodID init = env->GetMethodID(stringClass, "<init>", "([C)V");
  jcharArray chars = env->NewCharArray(static_cast<jsize>(units.size()));
  env->SetCharArrayRegion(chars, 0, static_cast<jsize>(units.size()),
                          reinterpret_cast<const jchar*>(units.data()));
  auto string = static_cast<jstring>(env->NewObject(stringClass, init, chars));
  env->DeleteLocalRef(chars);
  return string;
}

jobjectArray newStringArray(JNIEnv* env, const std::vector<std::u16string>& items) {
  jobjectArray array = env->NewObjectArray(static_cast<jsize>(items.size()),
                                           env->FindClass("java/lang/String"), nullptr);
  for (size_t i = 0; i < items.size(); ++i) {
    jstring item = newString(env, items[i]);
    env->SetObjectArrayElement(array, static_cast<jsize>(i), item);
    env->DeleteLocalRef(item);
  }
  return array;
}

// The throwable's stack trace through ByteArrayOutputStream and PrintStream.
std::string describe(JNIEnv* env, jthrowable throwable) {
  jclass bytesClass = env->FindClass("java/io/ByteArrayOutputStream");
  jobject bytes = env->NewObject(bytesClass, env->GetMethodID(bytesClass, "<init>", "()V"));
  jclass printClass = env->FindClass("java/io/PrintStream");
  jobject print = env->NewObject(
      printClass, env->GetMethodID(printClass, "<init>", "(Ljava/io/OutputStream;)V"), bytes);
  env->CallVoidMethod(throwable, env->GetMethodID(env->GetObjectClass(throwable),
                                                  "printStackTrace", "(Ljava/io/PrintStream;)V"),
                      print);
  auto text = static_cast<jstring>(env->CallObjectMethod(
      bytes, env->GetMethodID(env->GetObjectClass(bytes), "toString", "()Ljava/lang/String;")));
  if (text == nullptr) {
    return "(null)";
  }
  const char* chars = env->GetStringUTFChars(text, nullptr);
  std::string result = chars;
  env->ReleaseStringUTFChars(text, chars);
  return result;
}

jobject newFileStream(JNIEnv* env, const std::wstring& path, bool append) {
  jclass streamClass = env->FindClass("java/io/FileOutputStream");
  jstring name = newString(env, std::u16string(path.begin(), path.end()));
  jobject file = env->NewObject(
      streamClass, env->GetMethodID(streamClass, "<init>", "(Ljava/lang/String;Z)V"), name,
      append ? JNI_TRUE : JNI_FALSE);
  if (file == nullptr) {
    return nullptr;
  }
  jclass printClass = env->FindClass("java/io/PrintStream");
  return env->NewObject(printClass,
                        env->GetMethodID(printClass, "<init>", "(Ljava/io/OutputStream;)V"), file);
}

void callMain(JNIEnv* env, const char* className, const std::vector<std::u16string>& args) {
  jclass klass = env->FindClass(className);
  env->CallStaticVoidMethod(klass, env->GetStaticMethodID(klass, "main", "([Ljava/lang/String;)V"),
                            newStringArray(env, args));
}

}  // namespace smoke
