// The launcher's command-line split, which also splits the "Cmd" setting: tokens keep their
// spaces only from a quoted run, quoting the tokens again gives them back, and the "Cmd" tokens
// add no empty argument.

#include <algorithm>

#include "app/command_line.h"
#include "fuzz_input.h"

using fuzz::require;
using Tokens = std::vector<std::u16string>;

namespace {

// The tokens, each in quotes, one space between them.
std::u16string quotedLine(const Tokens& tokens) {
  std::u16string line;
  for (const std::u16string& token : tokens) line += (line.empty() ? u"\"" : u" \"") + token + u"\"";
  return line;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  const std::u16string text = fuzz::rest(input);

  Tokens tokens{u"before"};
  launcher::splitArguments(text, tokens);
  require(tokens.front() == u"before");
  tokens.erase(tokens.begin());
  size_t total = 0;
  bool anyQuote = false;
  for (const std::u16string& token : tokens) {
    total += token.size();
    anyQuote = anyQuote || token.find(u'"') != std::u16string::npos;
    // A space inside a token comes only from a quoted run, closed or running to the end.
    if (token.find(u' ') != std::u16string::npos) require(text.find(u"\"" + token) != std::u16string::npos);
  }
  require(total <= text.size());

  if (!anyQuote) {
    Tokens again;
    launcher::splitArguments(quotedLine(tokens), again);
    require(again == tokens);
    require(launcher::argumentsFromCommandLine(u"\"C:\\My App\\app.exe\" " + quotedLine(tokens)) == tokens);
  }
  launcher::argumentsFromCommandLine(text);

  Tokens arguments{u""};  // an empty argument from the command line is kept
  launcher::appendExtraTokens(text, arguments);
  require(arguments.front().empty());
  arguments.erase(arguments.begin());
  Tokens nonEmpty;
  std::copy_if(tokens.begin(), tokens.end(), std::back_inserter(nonEmpty), [](auto& t) { return !t.empty(); });
  require(arguments == nonEmpty);
  return 0;
}
