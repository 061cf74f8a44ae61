#include "settings/profile_read.h"

namespace launcher {

std::u16string layeredValue(std::u16string_view ownValue, std::u16string_view plusValue, bool tokenList) {
  if (!ownValue.empty()) return std::u16string(ownValue);
  if (plusValue.empty() || !tokenList) return std::u16string(plusValue);
  std::u16string value;
  if (plusValue.front() != u' ') value.push_back(u' ');
  value.append(plusValue);
  return value;
}

std::optional<std::u16string> layeredRead(const std::optional<std::u16string>& ownValue,
                                          const std::optional<std::u16string>& plusValue, bool tokenList) {
  if (!ownValue || !ownValue->empty()) return ownValue;
  if (!plusValue) return std::nullopt;
  return layeredValue(*ownValue, *plusValue, tokenList);
}

std::u16string plusSectionName(std::u16string_view section) {
  std::u16string name(section);
  name.push_back(u'+');
  return name;
}

}  // namespace launcher
