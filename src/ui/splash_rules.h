#pragma once
// The splash screen's decisions that need no window: where the launcher's own window goes, and
// where the runtime's splash library would lie.

#include <string>
#include <string_view>

namespace launcher {

struct SplashOrigin {
  int left;
  int top;
};

// The top-left corner of an image of `imageWidth` x `imageHeight` centred on a screen of
// `screenWidth` x `screenHeight`; negative when the image is larger, each half truncated toward
// zero.
SplashOrigin splashWindowOrigin(int screenWidth, int screenHeight, int imageWidth, int imageHeight);

// "splashscreen.dll" in the folder two levels above `jvmDllPath` (a runtime's bin folder for a
// jvm.dll in bin\server or bin\client); empty when nothing is left of the path.
std::u16string runtimeSplashLibraryCandidate(std::u16string_view jvmDllPath);

}  // namespace launcher
