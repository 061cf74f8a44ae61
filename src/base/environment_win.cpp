#include "base/environment_win.h"

#include <windows.h>

#include "base/env_expand.h"
#include "base/text.h"
#include "base/wide.h"
#include "base/handle_owners_win.h"

namespace launcher {

namespace {

// The process's variable `name`, read with a size query first. A variable that changes between
// the two calls cannot be read consistently, so it fails the expansion.
VariableValue processVariable(std::u16string_view name) {
  // A name with a NUL would reach Windows cut short and name another variable.
  if (name.find(u'\0') != std::u16string_view::npos) return {};
  const std::u16string nameText(name);
  ::SetLastError(ERROR_SUCCESS);
  const DWORD size = ::GetEnvironmentVariableW(as_wcstr(nameText), nullptr, 0);
  if (size == 0) {
    // A variable set to the empty text reports no error.
    if (::GetLastError() != ERROR_SUCCESS) return {};
    return {VariableValue::State::set, {}};
  }
  std::u16string value(size, u'\0');
  ::SetLastError(ERROR_SUCCESS);
  const DWORD length = ::GetEnvironmentVariableW(as_wcstr(nameText), as_writable_wcstr(value), size);
  if (length + 1 != size || (length == 0 && ::GetLastError() != ERROR_SUCCESS)) {
    return {VariableValue::State::unreadable, {}};
  }
  value.resize(length);
  return {VariableValue::State::set, std::move(value)};
}

}  // namespace

std::u16string expandEnvironment(std::u16string_view text) {
  ExpandFailure failure = ExpandFailure::none;
  std::optional<std::u16string> expanded = expandReferences(text, processVariable, &failure);
  if (expanded) return std::move(*expanded);
  return failure == ExpandFailure::tooLong ? std::u16string() : std::u16string(text);
}

std::vector<std::u16string> expandedVariableNames(std::u16string_view text) {
  return expandedNames(text, processVariable);
}

std::u16string environmentValue(std::u16string_view name, size_t maxLength) {
  std::u16string nameText(name);
  std::u16string value(maxLength + 1, u'\0');
  DWORD length = ::GetEnvironmentVariableW(as_wcstr(nameText), as_writable_wcstr(value),
                                           static_cast<DWORD>(value.size()));
  if (length == 0 || length > maxLength) return {};
  value.resize(length);
  return value;
}

}  // namespace launcher
