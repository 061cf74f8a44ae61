#pragma once
// Expanding %NAME% references in settings text. ExpandEnvironmentStringsW stops at 32K
// characters, and some systems report success with the cut result, so a long Path would lose the
// runtime's folder at its end and a long class path would end in the middle of an entry. This
// expansion has no length limit of its own. The variables come from the caller, so the rules can
// be checked without Windows.
//
// The rules are those of ExpandEnvironmentStringsW:
// - A "%" with a later "%" names the variable between the two. When that variable is set, the
//   whole reference is replaced by its value (an empty value removes it), and scanning goes on
//   after the closing "%". The value is not scanned again.
// - When the variable is not set, the name is empty ("%%"), or no "%" follows, that first "%"
//   alone is kept as written and scanning goes on at the character after it. The closing "%" of
//   a reference that did not expand can thus open the next one: with A unset and B set to "b",
//   "%A%B%" gives "%Ab", and "%%B%" gives "%b". "%%" is no escape for a percent sign.
// - Names reach the lookup as written (never empty, never holding "%"); whether case matters
//   is the lookup's business.

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace launcher {

// One variable as a lookup found it. `unreadable` (the value changed while it was being read)
// fails the whole expansion, since a text with a stale or partial value is worse than none.
struct VariableValue {
  enum class State { set, unset, unreadable };
  State state = State::unset;
  std::u16string text;
};

using LookupVariable = std::function<VariableValue(std::u16string_view name)>;

// `text` with its references expanded by the rules above; nullopt when a lookup was unreadable.
std::optional<std::u16string> expandReferences(std::u16string_view text, const LookupVariable& lookup);

}  // namespace launcher
