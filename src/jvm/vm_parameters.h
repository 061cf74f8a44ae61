#pragma once
// The user's own VM options from "Virtual Machine Parameters": split at spaces with double-quote
// grouping, unquoted, memory shares rewritten to sizes, and "-Xss" noted for the Java main
// thread, whose stack the launcher reserves itself. Environment expansion and the conversion to
// the ANSI code page happen afterwards, token by token, so a variable whose value holds spaces
// stays inside its option.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "jvm/memory_share.h"

namespace launcher {

// The tokens of `value`. Tokens are separated by runs of spaces (U+0020 only); leading and
// trailing spaces give no empty token, since the VM refuses an empty option and a stray space
// in the settings file must not stop the launch. A space inside a quoted run does not separate: a run opens
// at a double quote and closes at the next one, and a double quote directly after the closing one
// belongs to the run as well. A double quote with no partner later in the value protects nothing.
// Quotes stay in the tokens; `unquoteVmParameter` removes them.
std::vector<std::u16string> splitVmParameters(std::u16string_view value);

// `token` with every quoted run replaced by its content; a doubled quote at a run's end leaves
// one literal quote, so "" at the end of a quoted run writes a quote. A quote without a partner stays.
std::u16string unquoteVmParameter(std::u16string_view token);

// The main thread's stack size in bytes from the text after "-Xss": decimal digits, then at most
// one character, where "K"/"k", "M"/"m" and "G"/"g" multiply by 1024, 1024^2 and 1024^3 and any
// other character by 1. 0 (the default stack) for anything else: no leading digit, more than one
// character after the digits, or a size that does not fit in 32 bits. A size too large for 32
// bits is beyond what the VM accepts for a thread stack anyway, so the VM gets to reject the
// option with its own message instead of the thread being created with a wrapped, tiny stack.
std::uint32_t stackSizeFromXss(std::u16string_view textAfterXss);

// The options that "Virtual Machine Parameters" gives, before expansion, and the main thread's
// stack size.
struct VmParameters {
  std::vector<std::u16string> options;
  // From the last "-Xss" option; 0 asks for the default stack.
  std::uint32_t mainThreadStackSize = 0;
  // Whether any "-Xss" option was seen; the last one decides even when it gives 0.
  bool stackSizeSet = false;
  // An option of the java command, not of the VM ("-jar", "-m", "@file", "-splash:..."), as
  // written, and the settings key that does its work here; the VM would refuse to start.
  std::u16string refusedOption;
  std::u16string_view insteadKey;
};

// The key that does the work of the java command's own option `option` ("-m" gives "Main
// Module"); empty for an option the VM takes itself.
std::u16string_view keyInsteadOfJavaToolOption(std::u16string_view option);

// The "=" form the VM takes of a module option the java command writes with a space ("-p" is
// "--module-path="); empty for any other option.
std::u16string joinedModuleOption(std::u16string_view option);

// Splits `value` and passes each token, in order, through the rules: unquote; rewrite a memory
// share against `bases`; take the stack size from an "-Xss" option (after the rewrite, so a
// share of memory works for it too). Every token becomes an option, whether a rule applied or
// not, except one that unquotes to nothing (""), and a module option written with a space,
// which takes the next token as its value ("--add-opens a/b=c" becomes "--add-opens=a/b=c"; at
// the end it stays alone, for the VM to refuse). The first option of the java command that
// the VM does not know ends the reading, with `refusedOption` set.
VmParameters applyVmParameters(std::u16string_view value, const MemoryBases& bases);

// The "-Dsun.java.command=" option the runtime's own launcher gives, which jcmd, flight recordings
// and crash logs show to name the program: the main class (dotted; `mainClass` may use "/" when it
// has no dot), the jar or "module/class", and
// the arguments, separated by single spaces. Nothing when one of `options` sets the property
// already: the user's own value stays.
std::optional<std::u16string> javaCommandOption(std::u16string_view mainClass,
                                                const std::vector<std::u16string>& arguments,
                                                const std::vector<std::u16string>& options);

}  // namespace launcher
