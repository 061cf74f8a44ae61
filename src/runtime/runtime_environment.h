#pragma once
// What the runtime search asks of the machine: files, registry keys and values, a runtime's
// release file, JAVA_HOME and the machine type of a jvm.dll. Windows answers through WindowsRuntimeEnvironment, the tests
// through a machine held in memory, so every choice can be checked without Windows.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace launcher {

enum class RegistryView { defaultView, view64 };
// HKEY_LOCAL_MACHINE or HKEY_CURRENT_USER: per-user installs register under the latter.
enum class RegistryRoot { localMachine, currentUser };

class RuntimeEnvironment {
 public:
  virtual ~RuntimeEnvironment() = default;
  // True when a find-first-file for exactly `path` finds an entry.
  virtual bool fileExists(std::u16string_view path) = 0;
  // Names of the subkeys of <root>\<keyPath> in `view`, in the order the registry returns them;
  // empty when the key cannot be opened. keyPath may end in a backslash.
  virtual std::vector<std::u16string> subkeyNames(RegistryRoot root, std::u16string_view keyPath,
                                                  RegistryView view) = 0;
  // The string value `valueName` of <root>\<keyPath>, up to its first NUL; nothing when the key or
  // value is missing or its data is empty.
  virtual std::optional<std::u16string> readString(RegistryRoot root, std::u16string_view keyPath,
                                                   std::u16string_view valueName, RegistryView view) = 0;
  // The text of the "release" file in the runtime folder `home` (ending in a backslash); nothing
  // when there is none or it cannot be read.
  virtual std::optional<std::string> readReleaseFile(std::u16string_view home) = 0;
  // The value of JAVA_HOME; empty when it is not set.
  virtual std::u16string javaHomeVariable() = 0;
  // The machine type the headers of the module file at `path` name, read without loading it;
  // nothing when the file cannot be read or its headers are not those of a complete image.
  virtual std::optional<std::uint16_t> moduleMachine(std::u16string_view path) = 0;
};

}  // namespace launcher
