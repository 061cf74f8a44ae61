#pragma once
// What becomes of the runtime's own output on Windows once the launcher's "vfprintf" hook has
// taken it. The stream the runtime hands over belongs to the runtime's own C library, not the
// launcher's: its FILE can be neither written nor read here, but that library can be asked, for
// it lies in the image the stream's address lies in, and the Microsoft C libraries (msvcrt.dll,
// msvcr*.dll and the universal ucrtbase.dll) export what is needed.

#include <cstdarg>
#include <cstddef>
#include <cstdio>
#include <string_view>

#include "jvm/java_host.h"

namespace launcher {

// Formats as the stream's own library does, so that every conversion the runtime was built for
// (%zu, %lld, %I64d...) reads its arguments as meant; with the launcher's msvcrt.dll when the
// library is not known.
std::size_t formatRuntimeOutput(FILE* stream, char* buffer, std::size_t size, const char* format, va_list args,
                                bool& cut);

// Writes `text` to this process's standard output or standard error, whichever the runtime's
// stream stands for (standard error when its library cannot tell); nothing when the process has no
// such stream, as a windowed start has none.
void passOnRuntimeOutput(FILE* stream, std::string_view text);

inline constexpr RuntimeOutput kWindowsRuntimeOutput{formatRuntimeOutput, passOnRuntimeOutput};

}  // namespace launcher
