#include "base/env_expand.h"

#include <algorithm>

namespace launcher {

std::optional<std::u16string> expandReferences(std::u16string_view text, const LookupVariable& lookup,
                                               ExpandFailure* failure, size_t maxLength) {
  constexpr auto npos = std::u16string_view::npos;
  auto fail = [failure](ExpandFailure why) {
    if (failure != nullptr) *failure = why;
    return std::nullopt;
  };
  if (failure != nullptr) *failure = ExpandFailure::none;
  std::u16string result;
  result.reserve(std::min(text.size(), maxLength));
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
      if (value.state == VariableValue::State::unreadable) return fail(ExpandFailure::unreadable);
      if (value.state == VariableValue::State::set) {
        // Checked at each value: the written text alone is no longer than a setting, but a few
        // references repeated to a long variable would ask for gigabytes.
        if (value.text.size() > maxLength - std::min(result.size(), maxLength)) return fail(ExpandFailure::tooLong);
        result.append(value.text);
        pos = close + 1;
        continue;
      }
    }
    // Not a reference that expands: the "%" stays, and the next one may open a reference.
    result.push_back(u'%');
    pos = open + 1;
  }
  if (result.size() > maxLength) return fail(ExpandFailure::tooLong);
  return result;
}

std::vector<std::u16string> expandedNames(std::u16string_view text, const LookupVariable& lookup) {
  std::vector<std::u16string> names;
  // The expansion itself decides which references count; only the names are kept, never a value.
  expandReferences(text, [&](std::u16string_view name) {
    VariableValue value = lookup(name);
    if (value.state == VariableValue::State::set && std::find(names.begin(), names.end(), name) == names.end()) {
      names.emplace_back(name);
    }
    return VariableValue{value.state, {}};
  });
  return names;
}

}  // namespace launcher
