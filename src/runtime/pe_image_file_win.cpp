#include "runtime/pe_image_file_win.h"

#include <dbghelp.h>

#include <type_traits>

#include "base/module_win.h"
#include "base/wide.h"
#include "runtime/pe_header_check.h"

namespace launcher {
namespace {

using ImageNtHeaderFn = PIMAGE_NT_HEADERS(WINAPI*)(PVOID);
static_assert(std::is_same_v<ImageNtHeaderFn, decltype(&::ImageNtHeader)>,
              "ImageNtHeader must be called with the convention dbghelp.h declares");

// The system's own Dbghelp.dll, by full path: a copy planted beside the launcher (the folder a
// bare name is searched in first) must never run inside it.
UniqueModule loadSystemDbghelp() {
  wchar_t folder[MAX_PATH];
  UINT length = ::GetSystemDirectoryW(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return UniqueModule();
  std::u16string path(as_u16view(folder, length));
  path += u"\\dbghelp.dll";
  return UniqueModule(::LoadLibraryExW(as_wcstr(path), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH));
}

}  // namespace

PeImageFile::PeImageFile(const std::u16string& path) {
  file_.reset(::CreateFileW(as_wcstr(path), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file_) return;
  LARGE_INTEGER size{};
  if (!::GetFileSizeEx(file_.get(), &size)) return;
  mapping_.reset(::CreateFileMappingW(file_.get(), nullptr, PAGE_READONLY, 0, 0, nullptr));
  if (!mapping_) return;
  view_.reset(::MapViewOfFile(mapping_.get(), FILE_MAP_READ, 0, 0, 0));
  if (view_) size_ = static_cast<size_t>(size.QuadPart);
}

bool PeImageFile::isValidImage() {
  if (!view_) return false;
  const auto* bytes = static_cast<const unsigned char*>(view_.get());
  // The system's helper trusts the offsets in the file; follow them only once they are known to
  // stay inside the mapped bytes.
  std::optional<std::uint16_t> machine = imageMachine({bytes, size_});
  if (!machine) return false;

  UniqueModule dbghelp = loadSystemDbghelp();
  if (!dbghelp) return false;
  auto imageNtHeader = moduleFunction<ImageNtHeaderFn>(dbghelp.get(), "ImageNtHeader");
  if (!imageNtHeader) return false;
  PIMAGE_NT_HEADERS headers = imageNtHeader(view_.get());
  if (!headers || headers->Signature != IMAGE_NT_SIGNATURE) return false;
  machine_ = *machine;
  return true;
}

std::optional<std::uint16_t> PeImageFile::headerMachine() const {
  if (!view_) return std::nullopt;
  return imageMachine({static_cast<const unsigned char*>(view_.get()), size_});
}

bool isCompanionRuntime(const std::u16string& jvmDllPath) {
  return moduleMachine(jvmDllPath) == kCompanionMachine;
}

std::optional<std::uint16_t> moduleMachine(const std::u16string& path) {
  PeImageFile image(path);
  if (!image.isValidImage()) return std::nullopt;
  return image.machine();
}

}  // namespace launcher
