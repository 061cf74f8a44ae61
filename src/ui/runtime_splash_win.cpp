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
}
static_assert(std::is_same_v<SplashInitFn, decltype(&SplashInit)>);
static_assert(std::is_same_v<SplashLoadFileFn, decltype(&SplashLoadFile)>);
static_assert(std::is_same_v<SplashSetFileJarNameFn, decltype(&SplashSetFileJarName)>);
static_assert(std::is_same_v<SplashCloseFn, decltype(&SplashClose)>);

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
  if (!init || !loadFile || !setFileJarName) return false;
  // Once its code has run, the library stays for the life of the process: the runtime's splash
  // support reaches it by name later, and its threads may still be running.
  (void)library.release();
  init();
  if (loadFile(image.c_str()) == 0) {
    // Nothing is shown (a missing file, or a format the library does not read).
    if (closeEntry) closeEntry();
    return false;
  }
  setFileJarName(image.c_str(), "");
  close.reset(closeEntry);
  return true;
}

}  // namespace launcher
