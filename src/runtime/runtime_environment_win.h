#pragma once
// The runtime search's view of this machine: its files, its registry and JAVA_HOME.

#include "runtime/runtime_search.h"

namespace launcher {

class WindowsRuntimeEnvironment : public RuntimeEnvironment {
 public:
  bool fileExists(std::u16string_view path) override;
  std::vector<std::u16string> subkeyNames(RegistryRoot root, std::u16string_view keyPath, RegistryView view) override;
  std::optional<std::u16string> readString(RegistryRoot root, std::u16string_view keyPath,
                                           std::u16string_view valueName, RegistryView view) override;
  std::optional<std::string> readReleaseFile(std::u16string_view home) override;
  std::u16string javaHomeVariable() override;
  std::optional<std::uint16_t> moduleMachine(std::u16string_view path) override;
};

}  // namespace launcher
