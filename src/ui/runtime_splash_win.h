#pragma once
// The Java runtime's own splash library (splashscreen.dll in the runtime's bin folder): the
// launcher loads it, hands it the image, and later tells it to close.

#include <string>
#include <string_view>

namespace launcher {

// The library's entries use the C calling convention, also on x86 where the runtime's JNI entries
// do not: a pointer of JNICALL's convention would leave the stack unbalanced after every call.
extern "C" {
typedef void(__cdecl* SplashInitFn)();
// Nonzero when the image was read and is shown.
typedef int(__cdecl* SplashLoadFileFn)(const char* fileName);
typedef void(__cdecl* SplashSetFileJarNameFn)(const char* fileName, const char* jarName);
typedef void(__cdecl* SplashCloseFn)();
// On a scaled monitor: the name of the image variant made for its scale, or null, with the factor
// the library then scales by; libraries of runtimes before 9 have neither entry.
typedef char*(__cdecl* SplashGetScaledImageNameFn)(const char* jarName, const char* fileName, float* scaleFactor);
typedef void(__cdecl* SplashSetScaleFactorFn)(float scaleFactor);
}

// Holds the library's close entry; calls it when released or replaced, once.
class RuntimeSplashClose {
 public:
  RuntimeSplashClose() = default;
  RuntimeSplashClose(const RuntimeSplashClose&) = delete;
  RuntimeSplashClose& operator=(const RuntimeSplashClose&) = delete;
  ~RuntimeSplashClose() { reset(); }

  void reset(SplashCloseFn close = nullptr) {
    SplashCloseFn held = close_;
    close_ = close;
    if (held) held();
  }
  explicit operator bool() const { return close_ != nullptr; }

 private:
  SplashCloseFn close_ = nullptr;
};

// The runtime's splash library for `jvmDllPath` when that file exists, else empty.
std::u16string splashRuntimeLibraryPath(std::u16string_view jvmDllPath);

// Loads the library at `libraryPath` (its own dependencies from its folder, as the runtime's are)
// and has it show `imagePath`, or the variant for the monitor's scale that the library names
// where it exports the entries for it. False when the library, one of its entries, or the image cannot
// serve, or when the image's path cannot be said in the ANSI code page the library reads: the
// launcher's own window shows the image then. On true `close` holds the library's close entry.
bool startRuntimeSplash(std::u16string_view libraryPath, std::u16string_view imagePath, RuntimeSplashClose& close);

}  // namespace launcher
