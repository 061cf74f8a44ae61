#pragma once
// Expanding %NAME% references in settings text. ExpandEnvironmentStringsW stops at 32K
// characters, and some systems report success with the cut result, so a long Path would lose the
// runtime's folder at its end and a long class path would end in the middle of an entry. This
// expansion goes on past that, up to the limit of a settings value (kMaxSettingLength): a few
// references to a long variable, repeated, would otherwise ask for gigabytes. The variables come
// from the caller, so the rules can be checked without Windows.
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
#include <vector>

namespace launcher {

// The longest text a setting may hold, read from a file or expanded from one: no setting needs
// more, and a damaged or hostile file must not make the launcher allocate without bound.
constexpr size_t kMaxSettingLength = size_t{1} << 20;

// One variable as a lookup found it. `unreadable` (the value changed while it was being read)
// fails the whole expansion, since a text with a stale or partial value is worse than none.
struct VariableValue {
  enum class State { set, unset, unreadable };
  State state = State::unset;
  std::u16string text;
};

using LookupVariable = std::function<VariableValue(std::u16string_view name)>;

enum class ExpandFailure { none, unreadable, tooLong };

// The names of the variables whose values expanding `text` would put in, in order, each once.
std::vector<std::u16string> expandedNames(std::u16string_view text, const LookupVariable& lookup);

// `text` with its references expanded by the rules above; nullopt when a lookup was unreadable
// or the result would be longer than `maxLength` characters (then expansion stops at once, and
// `failure`, when given, says which).
std::optional<std::u16string> expandReferences(std::u16string_view text, const LookupVariable& lookup,
                                               ExpandFailure* failure = nullptr,
                                               size_t maxLength = kMaxSettingLength);

}  // namespace launcher
