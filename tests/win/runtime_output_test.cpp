// The runtime's output as its own C library would format and write it, for the libraries a
// runtime is built with: the universal C library of today's runtimes and msvcrt.dll, whose
// streams this test program's own are.

#include "jvm/runtime_output_win.h"

#include <gtest/gtest.h>

#include <cstdarg>
#include <string>

#include "test_files.h"

namespace launcher {
namespace {

// Standard output (1) or error (2) of the universal C library, through its own accessor.
FILE* universalStream(unsigned number) {
  HMODULE library = ::LoadLibraryW(L"ucrtbase.dll");
  auto streams = reinterpret_cast<FILE*(__cdecl*)(unsigned)>(
      reinterpret_cast<void*>(::GetProcAddress(library, "__acrt_iob_func")));
  return streams != nullptr ? streams(number) : nullptr;
}

std::string formatted(FILE* stream, std::size_t size, bool& cut, const char* format, ...) {
  char buffer[64];
  va_list args;
  va_start(args, format);
  const std::size_t length = formatRuntimeOutput(stream, buffer, size, format, args, cut);
  va_end(args);
  return std::string(buffer, length);
}

TEST(RuntimeOutput, FormatsAsTheStreamsOwnLibrary) {
  FILE* universal = universalStream(2);
  ASSERT_NE(universal, nullptr);
  for (FILE* stream : {universal, stderr}) {
    bool cut = false;
    EXPECT_EQ(formatted(stream, 64, cut, "%s=%d|%lld|%I64u|%.*s", "a", 5, -3LL, 7ULL, 2, "xyz"), "a=5|-3|7|xy");
    EXPECT_FALSE(cut);
    // A longer text fills what there is and is marked cut.
    const std::string part = formatted(stream, 8, cut, "%s", "0123456789");
    EXPECT_TRUE(cut);
    EXPECT_TRUE(std::string("01234567").starts_with(part) && part.size() >= 7) << part;
  }
  // The conversions of the universal library alone read their arguments as it means them.
  bool cut = false;
  EXPECT_EQ(formatted(universal, 64, cut, "%zu|%s", static_cast<std::size_t>(42), "after"), "42|after");
}

// Each text goes to the standard handle its stream stands for; a stream of no known library
// to standard error.
TEST(RuntimeOutput, PassesOnToTheStreamItWasWrittenTo) {
  const std::u16string folder = testing::ownLaunchContext().folder;
  const std::u16string outPath = folder + u"\\runtime-output-out.txt", errPath = folder + u"\\runtime-output-err.txt";
  HANDLE out = ::CreateFileW(as_wcstr(outPath), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, 0, nullptr);
  HANDLE err = ::CreateFileW(as_wcstr(errPath), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(out, INVALID_HANDLE_VALUE);
  ASSERT_NE(err, INVALID_HANDLE_VALUE);
  HANDLE oldOut = ::GetStdHandle(STD_OUTPUT_HANDLE), oldErr = ::GetStdHandle(STD_ERROR_HANDLE);
  ::SetStdHandle(STD_OUTPUT_HANDLE, out);
  ::SetStdHandle(STD_ERROR_HANDLE, err);
  FILE unknown{};
  passOnRuntimeOutput(universalStream(1), "universal out\n");
  passOnRuntimeOutput(universalStream(2), "universal err\n");
  passOnRuntimeOutput(stdout, "msvcrt out\n");
  passOnRuntimeOutput(stderr, "msvcrt err\n");
  passOnRuntimeOutput(&unknown, "unknown\n");
  ::SetStdHandle(STD_OUTPUT_HANDLE, oldOut);
  ::SetStdHandle(STD_ERROR_HANDLE, oldErr);
  ::CloseHandle(out);
  ::CloseHandle(err);
  EXPECT_EQ(testing::readFile(outPath), "universal out\nmsvcrt out\n");
  EXPECT_EQ(testing::readFile(errPath), "universal err\nmsvcrt err\nunknown\n");
  ::DeleteFileW(as_wcstr(outPath));
  ::DeleteFileW(as_wcstr(errPath));
}

}  // namespace
}  // namespace launcher
