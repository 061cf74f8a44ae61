#include "jvm/runtime_output_win.h"

#include <windows.h>

#include <algorithm>

#include "base/module_win.h"

namespace launcher {
namespace {

// The universal C library's one formatter behind its vsnprintf, and the older libraries' own.
using CommonFormatFn = int(__cdecl*)(unsigned long long options, char* buffer, std::size_t size, const char* format,
                                      void* locale, va_list args);
using LegacyFormatFn = int(__cdecl*)(char* buffer, std::size_t size, const char* format, va_list args);
using FileNumberFn = int(__cdecl*)(FILE*);
// _CRT_INTERNAL_PRINTF_STANDARD_SNPRINTF_BEHAVIOR: the length of the whole text, as C's vsnprintf.
constexpr unsigned long long kStandardSnprintf = 2;

struct StreamLibrary {
  FILE* stream = nullptr;
  CommonFormatFn common = nullptr;
  LegacyFormatFn legacy = nullptr;
  bool isOutput = false;
};

// The runtime writes through its standard output and error, and rarely another stream: a few
// slots keep the answers, so that the loader is asked once per stream.
SRWLOCK librariesLock = SRWLOCK_INIT;
StreamLibrary libraries[4];

StreamLibrary libraryOf(FILE* stream) {
  ::AcquireSRWLockShared(&librariesLock);
  const StreamLibrary* known = std::find_if(std::begin(libraries), std::end(libraries),
                                            [stream](const StreamLibrary& slot) { return slot.stream == stream; });
  const bool found = known != std::end(libraries);
  StreamLibrary result = found ? *known : StreamLibrary{};
  ::ReleaseSRWLockShared(&librariesLock);
  if (found) return result;

  result.stream = stream;
  HMODULE library = nullptr;
  if (::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                           reinterpret_cast<LPCWSTR>(stream), &library)) {
    result.common = moduleFunction<CommonFormatFn>(library, "__stdio_common_vsprintf");
    result.legacy = moduleFunction<LegacyFormatFn>(library, "_vsnprintf");
    auto fileNumber = moduleFunction<FileNumberFn>(library, "_fileno");
    result.isOutput = fileNumber != nullptr && fileNumber(stream) == 1;
  }
  ::AcquireSRWLockExclusive(&librariesLock);
  StreamLibrary* empty = std::find_if(std::begin(libraries), std::end(libraries),
                                      [](const StreamLibrary& slot) { return slot.stream == nullptr; });
  if (empty != std::end(libraries)) *empty = result;
  ::ReleaseSRWLockExclusive(&librariesLock);
  return result;
}

}  // namespace

std::size_t formatRuntimeOutput(FILE* stream, char* buffer, std::size_t size, const char* format, va_list args,
                                bool& cut) {
  if (size == 0) return 0;
  const StreamLibrary library = libraryOf(stream);
  if (library.common != nullptr) {
    const int length = library.common(kStandardSnprintf, buffer, size, format, nullptr, args);
    if (length < 0) return 0;
    cut = static_cast<std::size_t>(length) >= size;
    return std::min(static_cast<std::size_t>(length), size - 1);
  }
  // These write at most `size` bytes, without a terminating zero when the text fills them, and
  // tell a longer text (or a failure) by -1, without its length.
  const LegacyFormatFn legacy = library.legacy != nullptr ? library.legacy : ::_vsnprintf;
  buffer[0] = '\0';
  const int length = legacy(buffer, size, format, args);
  if (length >= 0) return std::min(static_cast<std::size_t>(length), size);
  cut = true;
  return static_cast<std::size_t>(std::find(buffer, buffer + size, '\0') - buffer);
}

void passOnRuntimeOutput(FILE* stream, std::string_view text) {
  HANDLE handle = ::GetStdHandle(libraryOf(stream).isOutput ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);  // not ours
  if (handle == nullptr || handle == INVALID_HANDLE_VALUE || text.empty()) return;
  DWORD written = 0;
  ::WriteFile(handle, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

}  // namespace launcher
