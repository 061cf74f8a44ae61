#include "jvm/jar_splash_win.h"

#include <windows.h>

#include "base/handle_owners_win.h"
#include "base/trace.h"
#include "base/wide.h"
#include "jvm/jar_reader.h"

namespace launcher {
namespace {

// Bounds for what is inflated: a manifest is a few lines, a splash image a picture for a screen.
constexpr size_t kManifestLimit = 1 << 20;
constexpr size_t kImageLimit = 32 << 20;

std::u16string unreadable() {
  trace(u"splash", u"no image from the jar");
  return {};
}

}  // namespace

std::u16string extractJarSplashImage(std::u16string_view jarPath) {
  const std::u16string path(jarPath);
  UniqueFileHandle file(::CreateFileW(as_wcstr(path), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
  LARGE_INTEGER size{};
  if (!file || !::GetFileSizeEx(file.get(), &size) || size.QuadPart == 0) return unreadable();
  UniqueHandle mapping(::CreateFileMappingW(file.get(), nullptr, PAGE_READONLY, 0, 0, nullptr));
  UniqueView view(mapping ? ::MapViewOfFile(mapping.get(), FILE_MAP_READ, 0, 0, 0) : nullptr);
  if (!view) return unreadable();
  const std::string_view jar(static_cast<const char*>(view.get()), static_cast<size_t>(size.QuadPart));
  const std::optional<std::string> manifest = jarEntry(jar, "META-INF/MANIFEST.MF", kManifestLimit);
  const std::string name = manifest ? manifestValue(*manifest, "SplashScreen-Image") : std::string();
  if (name.empty()) return {};
  const std::optional<std::string> image = jarEntry(jar, name, kImageLimit);
  if (!image) return unreadable();

  // A name of its own, which the system makes and creates.
  wchar_t folder[MAX_PATH + 1];
  wchar_t written[MAX_PATH + 1];
  const DWORD length = ::GetTempPathW(MAX_PATH + 1, folder);
  if (length == 0 || length > MAX_PATH || ::GetTempFileNameW(folder, L"spl", 0, written) == 0) return unreadable();
  UniqueFileHandle out(::CreateFileW(written, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_TEMPORARY,
                                     nullptr));
  DWORD done = 0;
  const bool complete = out && ::WriteFile(out.get(), image->data(), static_cast<DWORD>(image->size()), &done,
                                           nullptr) && done == image->size();
  out.reset();
  if (!complete) {
    ::DeleteFileW(written);
    return unreadable();
  }
  return std::u16string(as_u16view(written));
}

}  // namespace launcher
