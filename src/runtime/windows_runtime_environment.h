#pragma once
// The runtime search's view of this machine: its files and HKEY_LOCAL_MACHINE.

#include "runtime/runtime_search.h"

namespace launcher {

class WindowsRuntimeEnvironment : public RuntimeEnvironment {
 public:
  bool fileExists(std::u16string_view path) override;
  std::vector<std::u16string> subkeyNames(std::u16string_view keyPath, RegistryView view) override;
  std::optional<std::u16string> readString(std::u16string_view keyPath, std::u16string_view valueName,
                                           RegistryView view) override;
};

}  // namespace launcher
