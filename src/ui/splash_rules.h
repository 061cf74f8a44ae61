#pragma once
// The splash screen's decisions that need no window: where the launcher's own window goes, and
// where the runtime's splash library would lie.

#include <string>
#include <string_view>
#include <vector>

namespace launcher {

struct SplashOrigin {
  int left;
  int top;
};

// The top-left corner of an image of `imageWidth` x `imageHeight` centred on a screen of
// `screenWidth` x `screenHeight`; negative when the image is larger, each half truncated toward
// zero.
SplashOrigin splashWindowOrigin(int screenWidth, int screenHeight, int imageWidth, int imageHeight);

// The scale of a monitor of `dpi` dots per inch in percent of 96 (100 %), rounded to whole percent.
unsigned splashScalePercent(unsigned dpi);

// The image files drawn for that monitor instead of `imagePath`, best first, as the runtime's
// own splash screen names them: "name@150pct.png" for 150 %, and for a whole multiple also
// "name@2x.png" for 200 %. The marker goes before the file name's extension (or at its end when it
// has none). Nothing at 100 % or less, where the image is drawn as it is.
std::vector<std::u16string> splashImageVariants(std::u16string_view imagePath, unsigned scalePercent);

// The size in pixels of an image of `size` pixels scaled to `scalePercent`, rounded, from 1 to INT_MAX.
int scaledSplashSize(int size, unsigned scalePercent);

// "splashscreen.dll" in the folder two levels above `jvmDllPath` (a runtime's bin folder for a
// jvm.dll in bin\server or bin\client); empty when nothing is left of the path.
std::u16string runtimeSplashLibraryCandidate(std::u16string_view jvmDllPath);

}  // namespace launcher
