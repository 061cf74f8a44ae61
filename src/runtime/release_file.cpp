#include "runtime/release_file.h"

namespace launcher {

std::optional<std::string> releaseValue(std::string_view releaseText, std::string_view key) {
  size_t start = 0;
  while (start < releaseText.size()) {
    size_t end = releaseText.find('\n', start);
    if (end == std::string_view::npos) end = releaseText.size();
    std::string_view line = releaseText.substr(start, end - start);
    start = end + 1;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.size() <= key.size() || line.substr(0, key.size()) != key || line[key.size()] != '=') continue;
    std::string_view value = line.substr(key.size() + 1);
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"') value = value.substr(1, value.size() - 2);
    return std::string(value);
  }
  return std::nullopt;
}

std::optional<JavaVersion> releaseJavaVersion(std::string_view releaseText) {
  std::optional<std::string> value = releaseValue(releaseText, "JAVA_VERSION");
  if (!value) return std::nullopt;
  // A version is ASCII; any other byte widens to a character the parse rejects.
  std::u16string text;
  for (char c : *value) text.push_back(static_cast<unsigned char>(c));
  JavaVersion version;
  if (!version.parse(text, 0)) return std::nullopt;
  return version;
}

bool isIbmRelease(std::string_view releaseText) {
  std::string implementor = releaseValue(releaseText, "IMPLEMENTOR").value_or("");
  return implementor.find("IBM") != std::string::npos ||
         implementor.find("International Business Machines") != std::string::npos;
}

}  // namespace launcher
