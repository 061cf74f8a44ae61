#include "base/env_expand.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

namespace launcher {
namespace {

using State = VariableValue::State;

// A fixed environment that records the names it was asked for.
struct FakeEnvironment {
  std::map<std::u16string, std::u16string, std::less<>> variables;
  std::vector<std::u16string> asked;

  LookupVariable lookup() {
    return [this](std::u16string_view name) {
      asked.emplace_back(name);
      auto found = variables.find(name);
      if (found == variables.end()) return VariableValue{};
      return VariableValue{State::set, found->second};
    };
  }
};

TEST(ExpandReferences, FollowsTheWindowsRules) {
  struct Case {
    std::u16string_view text;
    std::u16string_view expanded;
  };
  const Case cases[] = {
      {u"", u""},
      {u"no references", u"no references"},
      {u"%A%", u"a"},
      {u"x%A%y%B%z", u"xaybz"},
      {u"%A%%B%", u"ab"},
      {u"%EMPTY%|", u"|"},
      {u"%PCT%B%", u"%B%"},             // a value is not scanned again
      {u"%UNSET%", u"%UNSET%"},
      {u"%UNSET%B%", u"%UNSETb"},         // the closing % of an unset name opens the next reference
      {u"%UNSET%%B%", u"%UNSET%b"},
      {u"%%", u"%%"},                     // an empty name is no reference
      {u"%%B%", u"%b"},                   // and "%%" is no escape
      {u"%%%", u"%%%"},
      {u"100%", u"100%"},                 // unclosed
      {u"%A", u"%A"},
      {u"%A%B", u"aB"},
      {u"50% of %A%", u"50% of a"},       // " of " is not set, so its closing % opens "%A%"
      {u"%WITH SPACE%", u"spaced value"},
      {u"%a%", u"%a%"},                   // case is the lookup's business
  };
  FakeEnvironment environment{{{u"A", u"a"},
                               {u"B", u"b"},
                               {u"EMPTY", u""},
                               {u"PCT", u"%"},
                               {u"WITH SPACE", u"spaced value"}},
                              {}};
  for (const Case& c : cases) {
    EXPECT_EQ(expandReferences(c.text, environment.lookup()), c.expanded) << std::string(c.text.begin(), c.text.end());
  }
}

TEST(ExpandReferences, AsksOnlyForNonEmptyNamesBetweenPercentSigns) {
  FakeEnvironment environment{{{u"B", u"b"}}, {}};
  EXPECT_EQ(expandReferences(u"%%x%B%%y%%", environment.lookup()), u"%%xb%y%%");
  EXPECT_EQ(environment.asked, (std::vector<std::u16string>{u"x", u"B", u"y"}));
}

TEST(ExpandReferences, HasNoLengthLimit) {
  // ExpandEnvironmentStringsW cuts at 32K characters: the text after a long value must survive.
  const std::u16string longValue(40000, u'p');
  FakeEnvironment environment{{{u"LONG", longValue}, {u"BIN", u"C:\\jre\\bin"}}, {}};
  EXPECT_EQ(expandReferences(u"%LONG%;%BIN%", environment.lookup()), longValue + u";C:\\jre\\bin");
  const std::u16string longText(70000, u'%');
  EXPECT_EQ(expandReferences(longText, environment.lookup()), longText);
}

TEST(ExpandReferences, AnUnreadableVariableFailsTheWholeText) {
  int calls = 0;
  LookupVariable lookup = [&calls](std::u16string_view name) {
    ++calls;
    if (name == u"CHANGING") return VariableValue{State::unreadable, u"partial"};
    return VariableValue{State::set, u"v"};
  };
  EXPECT_EQ(expandReferences(u"%A% %CHANGING% %B%", lookup), std::nullopt);
  EXPECT_EQ(calls, 2);  // gives up at once
  EXPECT_EQ(expandReferences(u"%A% %%CHANGING", lookup), u"v %%CHANGING");
}

// A setting is at most kMaxSettingLength characters, and so is what it expands to: a reference
// repeated to a long variable would otherwise ask for gigabytes before anything could refuse it.
TEST(ExpandReferences, StopsAtTheLengthOfASetting) {
  const std::u16string value(32767, u'v');
  size_t lookups = 0;
  LookupVariable lookup = [&](std::u16string_view name) {
    ++lookups;
    return name == u"V" ? VariableValue{State::set, value} : VariableValue{};
  };
  std::u16string repeated;
  for (int i = 0; i < 200000; ++i) repeated += u"%V%";
  ExpandFailure failure = ExpandFailure::none;
  EXPECT_EQ(expandReferences(repeated, lookup, &failure), std::nullopt);
  EXPECT_EQ(failure, ExpandFailure::tooLong);
  EXPECT_LE(lookups, kMaxSettingLength / value.size() + 2);  // gave up at once, not at the end

  std::u16string fits;
  for (size_t i = 0; i < kMaxSettingLength / value.size(); ++i) fits += u"%V%";
  EXPECT_EQ(expandReferences(fits, lookup, &failure)->size(), kMaxSettingLength / value.size() * value.size());
  EXPECT_EQ(failure, ExpandFailure::none);
  // Only the names of what expands are told, each once: never a value.
  EXPECT_EQ(expandedNames(u"-Dkey=%V%;%UNSET%;%V%", lookup), (std::vector<std::u16string>{u"V"}));
}

}  // namespace
}  // namespace launcher
