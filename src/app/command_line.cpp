#include "app/command_line.h"

#include <algorithm>

#include "base/text.h"

namespace launcher {

void splitArguments(std::u16string_view text, std::vector<std::u16string>& tokens) {
  constexpr auto npos = std::u16string_view::npos;
  size_t pos = 0;
  while (pos < text.size()) {
    if (text[pos] == u'"') {
      size_t close = text.find(u'"', pos + 1);
      if (close == npos) {
        // An unclosed quote takes the rest of the line, spaces included.
        tokens.emplace_back(text.substr(pos + 1));
        return;
      }
      tokens.emplace_back(text.substr(pos + 1, close - pos - 1));
      pos = close + 1;
    } else {
      size_t space = text.find(u' ', pos);
      if (space == npos) {
        tokens.emplace_back(text.substr(pos));
        return;
      }
      tokens.emplace_back(text.substr(pos, space - pos));
      pos = space;
    }
    pos = text.find_first_not_of(u' ', pos);
    if (pos == npos) return;
  }
}

std::vector<std::u16string> argumentsFromCommandLine(std::u16string_view commandLine) {
  std::vector<std::u16string> tokens;
  splitArguments(trimWhiteSpace(commandLine), tokens);
  if (!tokens.empty()) tokens.erase(tokens.begin());
  return tokens;
}

void appendExtraTokens(std::u16string_view expandedCmd, std::vector<std::u16string>& arguments) {
  std::vector<std::u16string> tokens;
  splitArguments(expandedCmd, tokens);
  for (std::u16string& token : tokens) {
    if (!token.empty()) arguments.push_back(std::move(token));
  }
}

bool hasSplashSwitch(const std::vector<std::u16string>& arguments) {
  return std::any_of(arguments.begin(), arguments.end(), [](const std::u16string& argument) {
    return argument == u"-nosplash" || argument == u"/nosplash";
  });
}

}  // namespace launcher
