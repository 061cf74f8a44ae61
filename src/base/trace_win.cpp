#include "base/trace_win.h"

#include <windows.h>

#include <utility>

#include "base/environment_win.h"
#include "base/process_token_win.h"
#include "base/trace.h"
#include "base/wide.h"
#include "base/handle_owners_win.h"

namespace launcher {
namespace {

// `value` in decimal, at least `width` digits with leading zeros, then `separator`: the line's
// time and process prefix, without the C library's formatting code in the executable.
void appendDigits(std::string& line, unsigned long value, int width, char separator) {
  char digits[20];
  int count = 0;
  do {
    digits[count++] = static_cast<char>('0' + value % 10);
    value /= 10;
  } while (value != 0 && count < 20);
  for (int i = count; i < width; ++i) line += '0';
  while (count > 0) line += digits[--count];
  line += separator;
}

class FileTraceOutput : public TraceOutput {
 public:
  explicit FileTraceOutput(UniqueFileHandle file) : file_(std::move(file)) {}

  void writeLine(std::string_view utf8Line) override {
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    std::string line;
    appendDigits(line, now.wYear, 4, '-');
    appendDigits(line, now.wMonth, 2, '-');
    appendDigits(line, now.wDay, 2, ' ');
    appendDigits(line, now.wHour, 2, ':');
    appendDigits(line, now.wMinute, 2, ':');
    appendDigits(line, now.wSecond, 2, '.');
    appendDigits(line, now.wMilliseconds, 3, ' ');
    line += '[';
    appendDigits(line, ::GetCurrentProcessId(), 1, ']');
    line += ' ';
    line += utf8Line;
    line += "\r\n";
    // One write per line: with FILE_APPEND_DATA each lands whole at the end of the file.
    DWORD written = 0;
    ::WriteFile(file_.get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
  }

 private:
  UniqueFileHandle file_;
};

}  // namespace

void startTraceFromEnvironment() {
  // The common case, no trace, costs one call and no buffer.
  if (::GetEnvironmentVariableW(L"LAUNCHER_TRACE", nullptr, 0) == 0) return;
  // An elevated launcher writes no file that the variable of a less privileged user names: it
  // could be made to append to a file of the system's.
  if (runsElevated()) return;
  std::u16string path = environmentValue(u"LAUNCHER_TRACE", 32767);
  if (path.empty()) return;
  // A link or junction is opened as itself and refused, so the trace lands in no other file.
  UniqueFileHandle file(::CreateFileW(as_wcstr(path), FILE_APPEND_DATA | FILE_READ_ATTRIBUTES,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  BY_HANDLE_FILE_INFORMATION info{};
  if (!file || !::GetFileInformationByHandle(file.get(), &info) ||
      (info.dwFileAttributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY)) != 0) {
    return;
  }
  // Lives until the process ends: lines come until the last moment, from any thread.
  static FileTraceOutput output(std::move(file));
  setTraceOutput(&output);
}

}  // namespace launcher
