#include "ui/splash_rules.h"

#include "base/path.h"
#include "base/text.h"

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

unsigned splashScalePercent(unsigned dpi) { return (dpi * 100 + 48) / 96; }

std::vector<std::u16string> splashImageVariants(std::u16string_view imagePath, unsigned scalePercent) {
  if (scalePercent <= 100) return {};
  // The extension is the file name's own: a dot in a folder name is none.
  size_t nameStart = imagePath.find_last_of(u"\\/");
  nameStart = nameStart == std::u16string_view::npos ? 0 : nameStart + 1;
  size_t dot = imagePath.rfind(u'.');
  if (dot == std::u16string_view::npos || dot <= nameStart) dot = imagePath.size();
  auto variant = [&](std::u16string_view marker) {
    return std::u16string(imagePath.substr(0, dot)) + std::u16string(marker) + std::u16string(imagePath.substr(dot));
  };
  std::vector<std::u16string> variants{variant(u"@" + decimalText(scalePercent) + u"pct")};
  if (scalePercent % 100 == 0) variants.push_back(variant(u"@" + decimalText(scalePercent / 100) + u"x"));
  return variants;
}

int scaledSplashSize(int size, unsigned scalePercent) {
  long long scaled = (static_cast<long long>(size) * scalePercent + 50) / 100;
  if (scaled < 1) return 1;
  return scaled > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<int>(scaled);
}

}  // namespace launcher
