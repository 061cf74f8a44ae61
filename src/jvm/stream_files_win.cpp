#include "jvm/stream_files_win.h"

#include <windows.h>

#include "base/file_system_win.h"
#include "base/wide.h"
#include "base/handle_owners_win.h"
#include "jvm/parent_folders.h"
#include "jvm/time_stamp.h"

namespace launcher {
namespace {

SYSTEMTIME toSystemTime(const LocalTime& time) {
  return SYSTEMTIME{time.year, time.month, time.dayOfWeek, time.day, time.hour, time.minute, time.second,
                    time.milliseconds};
}

using FormatFn = int(WINAPI*)(LCID, DWORD, const SYSTEMTIME*, LPCWSTR, LPWSTR, int);

// One pass of the Windows date or time formatting over `picture`; nothing when it fails, for
// example because the result would not fit the 260 characters a file name may have.
std::optional<std::u16string> formatWith(FormatFn format, std::u16string_view picture, const LocalTime& time) {
  std::u16string pictureText(picture);
  SYSTEMTIME systemTime = toSystemTime(time);
  char16_t buffer[MAX_PATH];
  int length = format(LOCALE_USER_DEFAULT, 0, &systemTime, as_wcstr(pictureText), as_writable_wcstr(buffer), MAX_PATH);
  if (length <= 0) return std::nullopt;
  return std::u16string(buffer, static_cast<size_t>(length - 1));
}

class WindowsFolders : public FolderOps {
 public:
  bool entryExists(std::u16string_view path) override { return pathFound(path); }
  std::uint32_t createFolder(std::u16string_view path) override {
    std::u16string text(path);
    return ::CreateDirectoryW(as_wcstr(text), nullptr) ? 0 : ::GetLastError();
  }
  bool removeFolder(std::u16string_view path) override {
    std::u16string text(path);
    return ::RemoveDirectoryW(as_wcstr(text)) != 0;
  }
};

}  // namespace

void stampStreamFileNamesWithLocalTime(std::u16string& outputFile, std::u16string& errorFile) {
  SYSTEMTIME now;
  ::GetLocalTime(&now);
  LocalTime time{now.wYear, now.wMonth, now.wDayOfWeek, now.wDay, now.wHour, now.wMinute, now.wSecond,
                 now.wMilliseconds};
  auto formatTime = [](std::u16string_view picture, const LocalTime& at) {
    return formatWith(::GetTimeFormatW, picture, at);
  };
  auto formatDate = [](std::u16string_view picture, const LocalTime& at) {
    return formatWith(::GetDateFormatW, picture, at);
  };
  outputFile = expandTimeStamp(outputFile, time, formatTime, formatDate);
  errorFile = expandTimeStamp(errorFile, time, formatTime, formatDate);
}

void createParentFoldersOf(std::u16string_view filePath) {
  WindowsFolders folders;
  // The walk knows drive and share paths with "\": a relative name ("logs\app.log", which the
  // runtime opens in the current folder) or one written with "/" becomes one first.
  ensureParentFolders(fullPathName(filePath), folders);
}

bool writeBytesToFile(std::u16string_view filePath, bool append, std::string_view bytes) {
  std::u16string path(filePath);
  UniqueFileHandle file(::CreateFileW(as_wcstr(path), append ? FILE_APPEND_DATA : GENERIC_WRITE,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, append ? OPEN_ALWAYS : CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  DWORD written = 0;
  return ::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
         written == bytes.size();
}

}  // namespace launcher
