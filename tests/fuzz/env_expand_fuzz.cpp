// The expansion of %NAME% references, with lookups the input drives: text without "%" and text
// whose names are all unset come back unchanged, as does text whose every variable holds its own
// reference; each expanded reference accounts exactly for the change in length; the lookup only
// sees non-empty names without "%"; only an unreadable variable fails the text; and a length
// limit refuses exactly the results longer than it.

#include "base/env_expand.h"
#include "fuzz_input.h"

using fuzz::require;
using State = launcher::VariableValue::State;

namespace {

void requireName(std::u16string_view name) { require(!name.empty() && name.find(u'%') == std::u16string_view::npos); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  // For each lookup in turn, whether the variable is set, and to what.
  const std::string choices = input.ConsumeRandomLengthString(16);
  const std::u16string value = fuzz::text(input, 32);
  const std::u16string text = fuzz::rest(input);
  const bool hasPercent = text.find(u'%') != std::u16string::npos;

  size_t calls = 0;
  const auto unset = [&calls](std::u16string_view name) {
    requireName(name);
    ++calls;
    return launcher::VariableValue{};
  };
  require(launcher::expandReferences(text, unset) == text);
  require(hasPercent || calls == 0);

  const auto itself = [](std::u16string_view name) {
    requireName(name);
    return launcher::VariableValue{State::set, u"%" + std::u16string(name) + u"%"};
  };
  require(launcher::expandReferences(text, itself) == text);

  // Every set variable replaces exactly "%NAME%" by its value.
  std::ptrdiff_t growth = 0;
  bool failed = false;
  size_t turn = 0;
  const auto mixed = [&](std::u16string_view name) {
    requireName(name);
    const unsigned char choice = choices.empty() ? 0 : choices[turn++ % choices.size()];
    if (choice % 7 == 6) {
      failed = true;
      return launcher::VariableValue{State::unreadable, {}};
    }
    if (choice % 2 == 0) return launcher::VariableValue{};
    launcher::VariableValue found{State::set, choice % 3 == 0 ? u"" : value};
    growth += static_cast<std::ptrdiff_t>(found.text.size()) - static_cast<std::ptrdiff_t>(name.size()) - 2;
    return found;
  };
  const std::optional<std::u16string> expanded = launcher::expandReferences(text, mixed);
  require(expanded.has_value() == !failed);
  if (expanded) require(static_cast<std::ptrdiff_t>(expanded->size() - text.size()) == growth);

  // Under a length limit the result is the same text when it fits, and refused as too long
  // exactly when it would not.
  if (expanded) {
    const size_t limit = choices.empty() ? 0 : static_cast<unsigned char>(choices[0]) % 64;
    launcher::ExpandFailure failure = launcher::ExpandFailure::none;
    turn = 0;
    growth = 0;
    const std::optional<std::u16string> bounded = launcher::expandReferences(text, mixed, &failure, limit);
    if (bounded) require(*bounded == *expanded && bounded->size() <= limit && failure == launcher::ExpandFailure::none);
    if (!bounded) require(expanded->size() > limit && failure == launcher::ExpandFailure::tooLong);
  }
  return 0;
}
