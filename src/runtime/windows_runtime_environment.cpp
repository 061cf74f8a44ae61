#include "runtime/windows_runtime_environment.h"

#include "base/environment.h"
#include "runtime/registry_key.h"

namespace launcher {

bool WindowsRuntimeEnvironment::fileExists(std::u16string_view path) { return pathFound(path); }

std::vector<std::u16string> WindowsRuntimeEnvironment::subkeyNames(std::u16string_view keyPath, RegistryView view) {
  return RegistryKey(keyPath, view == RegistryView::view64).subkeyNames();
}

std::optional<std::u16string> WindowsRuntimeEnvironment::readString(std::u16string_view keyPath,
                                                                     std::u16string_view valueName,
                                                                     RegistryView view) {
  return RegistryKey(keyPath, view == RegistryView::view64).readString(valueName);
}

}  // namespace launcher
