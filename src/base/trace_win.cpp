#include "base/trace_win.h"

#include <windows.h>

#include <cstdio>
#include <utility>

#include "base/environment.h"
#include "base/trace.h"
#include "base/wide.h"
#include "base/win_owners.h"

namespace launcher {
namespace {

class FileTraceOutput : public TraceOutput {
 public:
  explicit FileTraceOutput(UniqueFileHandle file) : file_(std::move(file)) {}

  void writeLine(std::string_view utf8Line) override {
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    char prefix[64];
    int length = std::snprintf(prefix, sizeof(prefix), "%04u-%02u-%02u %02u:%02u:%02u.%03u [%lu] ", now.wYear,
                               now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond, now.wMilliseconds,
                               static_cast<unsigned long>(::GetCurrentProcessId()));
    std::string line(prefix, length > 0 ? static_cast<size_t>(length) : 0);
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
  std::u16string path = environmentValue(u"LAUNCHER_TRACE", 32767);
  if (path.empty()) return;
  UniqueFileHandle file(::CreateFileW(as_wcstr(path), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return;
  // Lives until the process ends: lines come until the last moment, from any thread.
  static FileTraceOutput output(std::move(file));
  setTraceOutput(&output);
}

}  // namespace launcher
