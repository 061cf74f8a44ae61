#include "base/error_box_win.h"

#include "base/wide.h"
#include "base/handle_owners_win.h"

namespace launcher {
namespace {
bool standardErrorMode = false;
}  // namespace

std::u16string loadText(UINT id) {
  // With a zero buffer size LoadStringW hands out a pointer to the resource itself and its
  // length, so texts longer than any fixed buffer arrive whole.
  const wchar_t* text = nullptr;
  int length = ::LoadStringW(::GetModuleHandleW(nullptr), id, reinterpret_cast<LPWSTR>(&text), 0);
  if (length <= 0 || text == nullptr) return {};
  return std::u16string(as_u16view(text, static_cast<size_t>(length)));
}

std::u16string loadFormattedText(UINT id, const std::vector<std::u16string>& args) {
  std::vector<MessageArg> messageArgs(args.begin(), args.end());
  return formatMessage(loadText(id), messageArgs);
}

std::u16string systemErrorText(std::uint32_t error) {
  wchar_t* buffer = nullptr;
  DWORD length = ::FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0,
      reinterpret_cast<LPWSTR>(&buffer), 0, nullptr);
  UniqueLocalMemory owner(buffer);
  if (length == 0 || buffer == nullptr) return formatMessage(u"Error %lu.\r\n", {error});
  return std::u16string(as_u16view(buffer, length));
}

int showError(HWND owner, UINT id, std::initializer_list<MessageArg> args) {
  std::u16string text = loadText(id);
  if (args.size() != 0) text = formatMessage(text, args);
  if (standardErrorMode) {
    writeStandardError(text);
    return IDOK;
  }
  return ::MessageBoxW(owner, as_wcstr(text), nullptr, MB_ICONERROR);
}

void sendErrorsToStandardError() { standardErrorMode = true; }

bool errorsGoToStandardError() { return standardErrorMode; }

void writeStandardError(std::u16string_view text) {
  std::u16string lines;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == u'\n' && (i == 0 || text[i - 1] != u'\r')) lines += u'\r';
    lines += text[i];
  }
  lines += u"\r\n";
  HANDLE handle = ::GetStdHandle(STD_ERROR_HANDLE);  // the process's own; not to be closed
  if (handle == nullptr || handle == INVALID_HANDLE_VALUE) return;
  DWORD mode = 0, written = 0;
  if (::GetConsoleMode(handle, &mode)) {
    ::WriteConsoleW(handle, as_wcstr(lines), static_cast<DWORD>(lines.size()), &written, nullptr);
    return;
  }
  UINT codePage = ::GetConsoleOutputCP();
  if (codePage == 0) codePage = CP_UTF8;
  int size = ::WideCharToMultiByte(codePage, 0, as_wcstr(lines), static_cast<int>(lines.size()), nullptr, 0, nullptr,
                                   nullptr);
  if (size <= 0) return;
  std::string bytes(static_cast<size_t>(size), '\0');
  ::WideCharToMultiByte(codePage, 0, as_wcstr(lines), static_cast<int>(lines.size()), bytes.data(), size, nullptr,
                        nullptr);
  ::WriteFile(handle, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

int showError(const MessageOwner& owner, UINT id, std::initializer_list<MessageArg> args) {
  owner.beforeBox();
  HWND window = owner.current();
  int result = showError(window, id, args);
  if (result == 0 && window != nullptr && !::IsWindow(window)) result = showError(HWND{nullptr}, id, args);
  return result;
}

}  // namespace launcher
