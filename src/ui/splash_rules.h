#pragma once
// The splash screen's decisions that need no window: whether the user asked for none, where the
// launcher's own window goes, and where the runtime's splash library would lie.

#include <string>
#include <string_view>
#include <vector>

namespace launcher {

// True when one argument is "-nosplash" or "/nosplash", whole and exactly so (lower case).
bool splashSuppressed(const std::vector<std::u16string>& arguments);

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
