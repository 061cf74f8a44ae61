// The smoke program's helpers (smoke_support.cpp).
#pragma once

#include <windows.h>

#include <jni.h>

#include <string>
#include <vector>

namespace smoke {

extern int failures;
void check(bool ok, const std::string& what);

std::wstring exePath();
std::wstring workFolder();  // testjvm-smoke under the current folder
std::wstring work(const wchar_t* name);
std::string readFile(const std::wstring& path);  // "(missing)" when it cannot be read
bool has(const std::string& text, const std::string& part);

using CreateJavaVm = jint(JNICALL*)(JavaVM**, void**, void*);
using GetDefaultArgs = jint(JNICALL*)(void*);
using FindBootClass = jclass(JNICALL*)(JNIEnv*, const char*);

struct Runtime {
  HMODULE module = nullptr;
  CreateJavaVm create = nullptr;
  GetDefaultArgs defaults = nullptr;
  FindBootClass bootClass = nullptr;
};

Runtime load(const wchar_t* variant);  // a jvm.dll under <build>/testjvm/<variant>/

// Creates the VM with the options, then "abort" and "exit" with hooks; the exit hook writes
// "exit hook <code>" to exit-hook.txt.
jint createVm(const Runtime& runtime, std::vector<std::string> options, JavaVM** vm, JNIEnv** env,
              bool ignoreUnrecognized = false);

jstring newString(JNIEnv* env, const std::u16string& units);
jobjectArray newStringArray(JNIEnv* env, const std::vector<std::u16string>& items);
std::string describe(JNIEnv* env, jthrowable throwable);
jobject newFileStream(JNIEnv* env, const std::wstring& path, bool append);  // a PrintStream
void callMain(JNIEnv* env, const char* className, const std::vector<std::u16string>& args);

}  // namespace smoke
