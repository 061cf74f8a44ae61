#include "runtime/runtime_environment_win.h"

#include "base/environment_win.h"
#include "base/file_system_win.h"
#include "base/path.h"
#include "runtime/pe_image_file_win.h"
#include "runtime/registry_key_win.h"

namespace launcher {
namespace {

RegistryKey openKey(RegistryRoot root, std::u16string_view keyPath, RegistryView view) {
  return RegistryKey(keyPath, view == RegistryView::view64,
                     root == RegistryRoot::currentUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE);
}

}  // namespace

bool WindowsRuntimeEnvironment::fileExists(std::u16string_view path) { return pathFound(path); }

std::vector<std::u16string> WindowsRuntimeEnvironment::subkeyNames(RegistryRoot root, std::u16string_view keyPath,
                                                                   RegistryView view) {
  return openKey(root, keyPath, view).subkeyNames();
}

std::optional<std::u16string> WindowsRuntimeEnvironment::readString(RegistryRoot root, std::u16string_view keyPath,
                                                                     std::u16string_view valueName,
                                                                     RegistryView view) {
  return openKey(root, keyPath, view).readString(valueName);
}

std::optional<std::string> WindowsRuntimeEnvironment::readReleaseFile(std::u16string_view home) {
  // A release file is a few lines; anything larger is not one.
  constexpr size_t kMaxReleaseFileSize = 64 * 1024;
  return readSmallFile(joinPath(home, u"release"), kMaxReleaseFileSize);
}

std::u16string WindowsRuntimeEnvironment::javaHomeVariable() {
  // The longest value an environment variable can hold; a cut one would name another folder.
  return environmentValue(u"JAVA_HOME", 32767);
}

std::optional<std::uint16_t> WindowsRuntimeEnvironment::moduleMachine(std::u16string_view path) {
  return PeImageFile(std::u16string(path)).headerMachine();
}

}  // namespace launcher
