#include "base/environment.h"

#include <windows.h>

#include "base/env_expand.h"
#include "base/text.h"
#include "base/wide.h"
#include "base/win_owners.h"

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

std::vector<std::u16string> findFileNames(std::u16string_view pattern) {
  std::vector<std::u16string> names;
  std::u16string patternText(pattern);
  WIN32_FIND_DATAW data;
  UniqueFindHandle find(::FindFirstFileW(as_wcstr(patternText), &data));
  if (!find) return names;
  do {
    names.emplace_back(as_u16view(data.cFileName));
  } while (::FindNextFileW(find.get(), &data));
  return names;
}

bool pathFound(std::u16string_view path) {
  std::u16string pathText(path);
  WIN32_FIND_DATAW data;
  UniqueFindHandle find(::FindFirstFileW(as_wcstr(pathText), &data));
  return static_cast<bool>(find);
}

std::uint32_t fileReadError(std::u16string_view path) {
  std::u16string text(path);
  UniqueFileHandle file(::CreateFileW(as_wcstr(text), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  return file ? 0 : ::GetLastError();
}

std::optional<std::string> readSmallFile(std::u16string_view path, size_t maxBytes) {
  std::u16string text(path);
  UniqueFileHandle file(::CreateFileW(as_wcstr(text), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  LARGE_INTEGER size{};
  if (!file || !::GetFileSizeEx(file.get(), &size) || size.QuadPart < 0 ||
      static_cast<unsigned long long>(size.QuadPart) > maxBytes) {
    return std::nullopt;
  }
  std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
  DWORD read = 0;
  if (!bytes.empty() && !::ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr)) {
    return std::nullopt;
  }
  bytes.resize(read);
  return bytes;
}

std::u16string fullPathName(std::u16string_view path) {
  std::u16string source(path);
  if (source.empty()) return source;
  DWORD size = ::GetFullPathNameW(as_wcstr(source), 0, nullptr, nullptr);
  if (size == 0) return source;
  std::u16string full(size, u'\0');
  DWORD length = ::GetFullPathNameW(as_wcstr(source), size, as_writable_wcstr(full), nullptr);
  if (length == 0 || length >= size) return source;
  full.resize(length);
  return full;
}

namespace {

std::optional<BY_HANDLE_FILE_INFORMATION> fileIdentity(std::u16string_view path) {
  std::u16string text(path);
  // No access asked for: the launcher's own running image may be opened for its identity only.
  UniqueFileHandle file(::CreateFileW(as_wcstr(text), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  BY_HANDLE_FILE_INFORMATION information{};
  if (!file || !::GetFileInformationByHandle(file.get(), &information)) return std::nullopt;
  return information;
}

}  // namespace

bool isSameFile(std::u16string_view a, std::u16string_view b) {
  std::optional<BY_HANDLE_FILE_INFORMATION> first = fileIdentity(a), second = fileIdentity(b);
  if (first && second) {
    return first->dwVolumeSerialNumber == second->dwVolumeSerialNumber &&
           first->nFileIndexHigh == second->nFileIndexHigh && first->nFileIndexLow == second->nFileIndexLow;
  }
  return equalsIgnoringAsciiCase(fullPathName(a), fullPathName(b));
}

}  // namespace launcher
