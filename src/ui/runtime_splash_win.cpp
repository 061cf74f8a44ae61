#include "ui/runtime_splash_win.h"

#include <windows.h>

#include <optional>
#include <type_traits>

#include "base/ansi_text_win.h"
#include "base/module_win.h"
#include "base/wide.h"
#include "base/handle_owners_win.h"
#include "ui/splash_rules.h"

namespace launcher {
namespace {

// The runtime's own declarations of these entries, which are C functions with the default (cdecl)
// convention; the pointers above must match them exactly.
extern "C" {
void SplashInit();
int SplashLoadFile(const char*);
void SplashSetFileJarName(const char*, const char*);
void SplashClose();
char* SplashGetScaledImageName(const char*, const char*, float*);
void SplashSetScaleFactor(float);
}
static_assert(std::is_same_v<SplashInitFn, decltype(&SplashInit)>);
static_assert(std::is_same_v<SplashLoadFileFn, decltype(&SplashLoadFile)>);
static_assert(std::is_same_v<SplashSetFileJarNameFn, decltype(&SplashSetFileJarName)>);
static_assert(std::is_same_v<SplashCloseFn, decltype(&SplashClose)>);
static_assert(std::is_same_v<SplashGetScaledImageNameFn, decltype(&SplashGetScaledImageName)>);
static_assert(std::is_same_v<SplashSetScaleFactorFn, decltype(&SplashSetScaleFactor)>);

}  // namespace

std::u16string splashRuntimeLibraryPath(std::u16string_view jvmDllPath) {
  std::u16string path = runtimeSplashLibraryCandidate(jvmDllPath);
  if (path.empty()) return {};
  WIN32_FIND_DATAW found{};
  UniqueFindHandle search(::FindFirstFileW(as_wcstr(path), &found));
  return search ? path : std::u16string();
}

bool startRuntimeSplash(std::u16string_view libraryPath, std::u16string_view imagePath, RuntimeSplashClose& close) {
  // The library reads 8-bit text: a path the code page would damage goes in its short form, or
  // not at all.
  std::optional<std::u16string> ansiPath = ansiSafePath(imagePath);
  if (!ansiPath) return false;
  std::string image = toThreadAnsi(*ansiPath);
  UniqueModule library(
      ::LoadLibraryExW(as_wcstr(std::u16string(libraryPath)), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH));
  if (!library) return false;
  auto init = moduleFunction<SplashInitFn>(library.get(), "SplashInit");
  auto loadFile = moduleFunction<SplashLoadFileFn>(library.get(), "SplashLoadFile");
  auto setFileJarName = moduleFunction<SplashSetFileJarNameFn>(library.get(), "SplashSetFileJarName");
  auto closeEntry = moduleFunction<SplashCloseFn>(library.get(), "SplashClose");
  auto scaledName = moduleFunction<SplashGetScaledImageNameFn>(library.get(), "SplashGetScaledImageName");
  auto setScale = moduleFunction<SplashSetScaleFactorFn>(library.get(), "SplashSetScaleFactor");
  if (!init || !loadFile || !setFileJarName) return false;
  // Once its code has run, the library stays for the life of the process: the runtime's splash
  // support reaches it by name later, and its threads may still be running.
  (void)library.release();
  init();
  // On a scaled monitor the library finds the variant made for the scale ("name@2x.png") and
  // draws it at the factor it reports; a variant it cannot read leaves the image itself. The name
  // is the library's own memory, which only it could free: a few bytes, once per process.
  float scale = 1;
  const char* variant = scaledName && setScale ? scaledName(nullptr, image.c_str(), &scale) : nullptr;
  if (variant && loadFile(variant) != 0) {
    setScale(scale > 0 ? scale : 1);
  } else if (loadFile(image.c_str()) == 0) {
    // Nothing is shown (a missing file, or a format the library does not read).
    if (closeEntry) closeEntry();
    return false;
  }
  setFileJarName(image.c_str(), "");
  close.reset(closeEntry);
  return true;
}

}  // namespace launcher
