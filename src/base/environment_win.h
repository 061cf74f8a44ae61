#pragma once
// The process environment's variables: their values, and %NAME% references expanded from them.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace launcher {

// `text` with its %NAME% references replaced by the process environment's values, by the rules
// of base/env_expand.h; the text as written when a variable cannot be read consistently. A
// result longer than a setting may be (kMaxSettingLength) is empty, as a setting too long to
// read counts as empty.
std::u16string expandEnvironment(std::u16string_view text);

// The names of the process environment's variables that expandEnvironment(text) would expand.
std::vector<std::u16string> expandedVariableNames(std::u16string_view text);

// The value of environment variable `name`; empty when it is not set. A value longer than
// `maxLength` characters counts as not set, so a cut value is never used as a path.
std::u16string environmentValue(std::u16string_view name, size_t maxLength);

}  // namespace launcher
