#include "app/command_line.h"

#include <gtest/gtest.h>

namespace launcher {
namespace {

using Tokens = std::vector<std::u16string>;

struct SplitCase {
  const char* what;
  std::u16string_view text;
  Tokens tokens;
};

TEST(SplitArguments, Table) {
  const SplitCase cases[] = {
      {"empty text", u"", {}},
      {"one word", u"one", {u"one"}},
      {"quoted token keeps its spaces", u"one \"two three\" four", {u"one", u"two three", u"four"}},
      {"empty quotes give an empty token", u"\"\"", {u""}},
      {"text after a closing quote starts a token", u"\"abc\"def", {u"abc", u"def"}},
      {"quote after a closing quote opens a token", u"\"abc\"\"d e\"", {u"abc", u"d e"}},
      {"no escapes: backslash and inner quote stay", u"a\\\"b", {u"a\\\"b"}},
      {"unclosed quote takes the rest", u"x \"rest of  line ", {u"x", u"rest of  line "}},
      {"lone quote at the end", u"x \"", {u"x", u""}},
      {"runs of spaces and trailing spaces", u"a   b  ", {u"a", u"b"}},
      {"spaces after a closing quote", u"\"a\"   ", {u"a"}},
      {"tab does not separate", u"a\tb", {u"a\tb"}},
      {"leading space gives one empty token", u"  a", {u"", u"a"}},
  };
  for (const SplitCase& c : cases) {
    Tokens tokens;
    splitArguments(c.text, tokens);
    EXPECT_EQ(tokens, c.tokens) << c.what;
  }
}

TEST(SplitArguments, AppendsToWhatIsThere) {
  Tokens tokens{u"first"};
  splitArguments(u"second third", tokens);
  EXPECT_EQ(tokens, (Tokens{u"first", u"second", u"third"}));
}

TEST(ArgumentsFromCommandLine, DropsTheProgramPathAfterTrimming) {
  struct Case {
    const char* what;
    std::u16string_view line;
    Tokens arguments;
  };
  const Case cases[] = {
      {"quoted path", u"\"C:\\Program Files\\app.exe\" one \"two three\" four",
       {u"one", u"two three", u"four"}},
      {"path alone", u"\"C:\\app.exe\"", {}},
      {"empty line", u"", {}},
      {"white space only", u" \t\r\n", {}},
      {"unquoted path with spaces loses only its first piece", u"C:\\Program Files\\app.exe x",
       {u"Files\\app.exe", u"x"}},
      {"white space around the line is not an argument", u"\u3000 app.exe a \t\u00A0\r\n", {u"a"}},
      {"trimmed leading space does not become the path", u"  app.exe a", {u"a"}},
      {"empty quoted argument survives", u"app.exe \"\"", {u""}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(argumentsFromCommandLine(c.line), c.arguments) << c.what;
  }
}

TEST(AppendExtraTokens, AppendsOnlyNonEmptyTokensAfterTheCommandLine) {
  Tokens arguments{u"cli"};
  appendExtraTokens(u" C:\\Temp\\x \"y z\" \"\" w", arguments);
  EXPECT_EQ(arguments, (Tokens{u"cli", u"C:\\Temp\\x", u"y z", u"w"}));

  Tokens none;
  appendExtraTokens(u"", none);
  appendExtraTokens(u"   ", none);
  EXPECT_TRUE(none.empty());
}

TEST(HasSplashSwitch, OnlyTheExactWholeArgument) {
  EXPECT_TRUE(hasSplashSwitch({u"a", u"-nosplash"}));
  EXPECT_TRUE(hasSplashSwitch({u"/nosplash"}));
  for (std::u16string_view near : {u"-NoSplash", u"-nosplash ", u"--nosplash", u"nosplash", u""}) {
    EXPECT_FALSE(hasSplashSwitch({std::u16string(near)}));
  }
  EXPECT_FALSE(hasSplashSwitch({}));
}

}  // namespace
}  // namespace launcher
