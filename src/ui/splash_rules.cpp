#include "ui/splash_rules.h"

#include "base/path.h"

namespace launcher {

SplashOrigin splashWindowOrigin(int screenWidth, int screenHeight, int imageWidth, int imageHeight) {
  // C++ division truncates toward zero, as the placement has always been computed.
  return {(screenWidth - imageWidth) / 2, (screenHeight - imageHeight) / 2};
}

std::u16string runtimeSplashLibraryCandidate(std::u16string_view jvmDllPath) {
  std::u16string_view folder = withoutLastComponents(jvmDllPath, 2);
  if (folder.empty()) return {};
  std::u16string path(folder);
  if (path.back() != u'\\' && path.back() != u'/') path += u'\\';
  return path + u"splashscreen.dll";
}

}  // namespace launcher
