#include "base/file_system_win.h"

#include <windows.h>

#include "base/handle_owners_win.h"
#include "base/text.h"
#include "base/wide.h"

namespace launcher {

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
