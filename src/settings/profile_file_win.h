#pragma once
// A settings file in Windows profile (INI) format, read through GetPrivateProfileStringW.

#include <optional>
#include <string>
#include <string_view>

namespace launcher {

class ProfileFile {
 public:
  explicit ProfileFile(std::u16string path) : path_(std::move(path)) {}

  const std::u16string& path() const { return path_; }

  // The value of [section] key, whole up to the longest value a setting may have; empty for an
  // absent key, section or file, nothing for a value too long to be read.
  std::optional<std::u16string> readPlain(std::u16string_view section, std::u16string_view key) const;

  // [section] key, or else [section+] key (with one leading space for a `tokenList`).
  std::optional<std::u16string> readLayered(std::u16string_view section, std::u16string_view key,
                                            bool tokenList) const;

 private:
  std::u16string path_;
};

}  // namespace launcher
