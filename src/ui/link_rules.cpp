#include "ui/link_rules.h"

#include "base/text.h"

namespace launcher {

std::optional<LinkColor> parseAnchorColor(std::u16string_view value) {
  if (value.size() > kAnchorColorMaxLength) return std::nullopt;
  std::vector<std::u16string> parts = splitAt(value, u',');
  // splitAt drops a final empty piece ("0,0,"), which is still a missing number.
  if (parts.size() != 3 || value.ends_with(u',')) return std::nullopt;
  std::uint8_t components[3] = {};
  for (size_t i = 0; i < 3; ++i) {
    std::u16string_view number = trimWhiteSpace(parts[i]);
    if (number.empty() || number.size() > 3) return std::nullopt;
    unsigned component = 0;
    for (char16_t c : number) {
      if (!isAsciiDigit(c)) return std::nullopt;
      component = component * 10 + static_cast<unsigned>(c - u'0');
    }
    if (component > 255) return std::nullopt;
    components[i] = static_cast<std::uint8_t>(component);
  }
  return LinkColor{components[0], components[1], components[2]};
}

bool isOpenableWebAddress(std::u16string_view text) {
  constexpr std::u16string_view kScheme = u"https://";
  if (text.size() <= kScheme.size() || !equalsIgnoringAsciiCase(text.substr(0, kScheme.size()), kScheme)) return false;
  for (char16_t c : text) {
    if (c <= u' ' || c == 0x7F || c == u'"' || c == u'\'' || c == u'<' || c == u'>' || isWhiteSpace(c)) return false;
  }
  return text[kScheme.size()] != u'/';
}

}  // namespace launcher
