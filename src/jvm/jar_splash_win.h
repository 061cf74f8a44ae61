#pragma once
// The splash image an executable jar's manifest names ("SplashScreen-Image"), taken out of the
// jar before the runtime loads, as the java command's "-jar" shows it. The splash windows load
// images from files, so the image is written to a file of this start's own in the user's
// temporary folder.

#include <string>
#include <string_view>

namespace launcher {

// The file holding the jar's splash image; empty when the jar names none, or it cannot be read
// or written (the trace says why). The caller removes the file once no splash shows it.
std::u16string extractJarSplashImage(std::u16string_view jarPath);

}  // namespace launcher
