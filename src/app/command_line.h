#pragma once
// The launcher's own command-line rules. It does not use the C runtime's argument vector: a
// line is split at spaces only, a double quote opens a token that runs to the next double quote,
// and there is no escape character. The same rules split the extra arguments of the "Cmd"
// setting, so both reach the Java program alike.

#include <string>
#include <string_view>
#include <vector>

namespace launcher {

// Appends the tokens of `text` to `tokens`. Only U+0020 separates; a tab is an ordinary
// character. A token that starts with a double quote ends at the next one (or at the end of the
// text when none follows) and may be empty; the text after a closing quote starts the next token
// even without a space between. Backslashes, and quotes inside an unquoted token, are kept as
// written. Text that starts with a space gives one empty token first.
void splitArguments(std::u16string_view text, std::vector<std::u16string>& tokens);

// The arguments for the Java program from the process's whole command line: the line without
// white space at its ends, split, without its first token (the program path, quoted or not).
std::vector<std::u16string> argumentsFromCommandLine(std::u16string_view commandLine);

// Appends the tokens of the "Cmd" setting, already expanded, to `arguments`. Empty tokens are
// dropped here: a stray space or "" in the setting must not hand the program an empty argument,
// whereas one typed on the command line is the user's own.
void appendExtraTokens(std::u16string_view expandedCmd, std::vector<std::u16string>& arguments);

// True when the user asked for no splash screen: "-nosplash" or "/nosplash" as a whole argument,
// written exactly so.
bool hasSplashSwitch(const std::vector<std::u16string>& arguments);

}  // namespace launcher
