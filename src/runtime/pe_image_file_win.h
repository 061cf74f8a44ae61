#pragma once
// A module file on disk read through a read-only mapping, to learn its machine type without
// loading it: a jvm.dll of another architecture would fail to load, and must go to the
// companion executable instead.

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

#include "base/handle_owners_win.h"

namespace launcher {

class PeImageFile {
 public:
  // Opens and maps the file at once; a step that fails leaves the image invalid, silently.
  explicit PeImageFile(const std::u16string& path);
  PeImageFile(const PeImageFile&) = delete;
  PeImageFile& operator=(const PeImageFile&) = delete;

  // True when the file is a complete PE image whose NT headers the system's image helper finds.
  bool isValidImage();

  // The Machine field its headers name, checked only for staying inside the file: enough to
  // decide which process could load it, without the system's image helper.
  std::optional<std::uint16_t> headerMachine() const;

  // The image's Machine field; only after isValidImage returned true.
  std::uint16_t machine() const { return machine_; }

 private:
  // Declared in opening order, so they are released view first, file last.
  UniqueFileHandle file_;
  UniqueHandle mapping_;
  UniqueView view_;
  size_t size_ = 0;
  std::uint16_t machine_ = 0;
};

// Whether a start with the jvm.dll at `jvmDllPath` must go to the companion executable: only
// when the file is a valid image built for the companion's machine. A runtime of any other
// machine, and any failure to read the file, leaves the start to this launcher, whose load error
// then names the file.
bool isCompanionRuntime(const std::u16string& jvmDllPath);

// The machine the module at `path` is built for; nothing when it is not a valid image.
std::optional<std::uint16_t> moduleMachine(const std::u16string& path);

}  // namespace launcher
