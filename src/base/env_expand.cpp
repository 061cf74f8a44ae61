#include "base/env_expand.h"

namespace launcher {

std::optional<std::u16string> expandReferences(std::u16string_view text, const LookupVariable& lookup) {
  constexpr auto npos = std::u16string_view::npos;
  std::u16string result;
  result.reserve(text.size());
  size_t pos = 0;
  while (pos < text.size()) {
    const size_t open = text.find(u'%', pos);
    if (open == npos) {
      result.append(text.substr(pos));
      break;
    }
    result.append(text.substr(pos, open - pos));
    const size_t close = text.find(u'%', open + 1);
    if (close != npos && close > open + 1) {
      VariableValue value = lookup(text.substr(open + 1, close - open - 1));
      if (value.state == VariableValue::State::unreadable) return std::nullopt;
      if (value.state == VariableValue::State::set) {
        result.append(value.text);
        pos = close + 1;
        continue;
      }
    }
    // Not a reference that expands: the "%" stays, and the next one may open a reference.
    result.push_back(u'%');
    pos = open + 1;
  }
  return result;
}

}  // namespace launcher
