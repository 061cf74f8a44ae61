#include "base/error_box.h"

#include "base/wide.h"

namespace launcher {

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

int showError(HWND owner, UINT id, std::initializer_list<MessageArg> args) {
  std::u16string text = loadText(id);
  if (args.size() != 0) text = formatMessage(text, args);
  return ::MessageBoxW(owner, as_wcstr(text), nullptr, MB_ICONERROR);
}

}  // namespace launcher
