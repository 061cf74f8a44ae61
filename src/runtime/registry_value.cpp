#include "runtime/registry_value.h"

namespace launcher {

std::u16string stringFromRegistryData(std::span<const unsigned char> data) {
  std::u16string text;
  for (size_t i = 0; i + 1 < data.size(); i += 2) {
    const auto unit = static_cast<char16_t>(data[i] | data[i + 1] << 8);
    if (unit == u'\0') break;
    text.push_back(unit);
  }
  return text;
}

}  // namespace launcher
