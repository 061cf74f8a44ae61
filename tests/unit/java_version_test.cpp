#include "runtime/java_version.h"

#include <gtest/gtest.h>

#include "resources/resource_ids.h"

namespace launcher {
namespace {

using Components = std::array<std::int32_t, 4>;
constexpr std::int32_t kOpen = 65535;

std::string shown(std::u16string_view text) {
  std::string out;
  for (char16_t c : text) out.push_back(c < 0x80 ? static_cast<char>(c) : '?');
  return out;
}

JavaVersion version(Components components) {
  JavaVersion v;
  v.components = components;
  return v;
}

TEST(JavaVersionParse, FillsMissingComponentsAndIgnoresSeparatorText) {
  struct Case {
    std::u16string_view text;
    bool ok;
    Components fill0, fillOpen;
  };
  const Case cases[] = {
      {u"1.8", true, {1, 8, 0, 0}, {1, 8, kOpen, kOpen}},
      {u"1.8.0_151", true, {1, 8, 0, 151}, {1, 8, 0, 151}},
      {u"1.8.0_151-b12", true, {1, 8, 0, 151}, {1, 8, 0, 151}},
      {u"jdk-17", true, {17, 0, 0, 0}, {17, kOpen, kOpen, kOpen}},
      {u"11.0.2", true, {11, 0, 2, 0}, {11, 0, 2, kOpen}},
      {u" 1 . 7 ", true, {1, 7, 0, 0}, {1, 7, kOpen, kOpen}},
      {u"1..8", true, {1, 8, 0, 0}, {1, 8, kOpen, kOpen}},
      {u"007.0010", true, {7, 10, 0, 0}, {7, 10, kOpen, kOpen}},
      {u"1.2.3.4.99999999999", true, {1, 2, 3, 4}, {1, 2, 3, 4}},
      {u"2147483647", true, {2147483647, 0, 0, 0}, {2147483647, kOpen, kOpen, kOpen}},
      {u"000000000002147483647", true, {2147483647, 0, 0, 0}, {2147483647, kOpen, kOpen, kOpen}},
      // A minus sign is a separator like any other, never a sign.
      {u"-1.-2", true, {1, 2, 0, 0}, {1, 2, kOpen, kOpen}},
      // Only ASCII digits count: full-width and Arabic-Indic digits are separator text.
      {u"\uFF11.\u0668.5", true, {5, 0, 0, 0}, {5, kOpen, kOpen, kOpen}},
      {u"", false, {}, {}},
      {u"any", false, {}, {}},
      {u"Any", false, {}, {}},
      {u"2147483648", false, {}, {}},
      {u"10000000000", false, {}, {}},
      {u"1.8.2147483648", false, {}, {}},
      {u"1.8.0.99999999999999999999", false, {}, {}},
  };
  for (const Case& c : cases) {
    JavaVersion v = version({9, 9, 9, 9});
    EXPECT_EQ(v.parse(c.text, 0), c.ok) << shown(c.text);
    EXPECT_EQ(v.components, c.fill0) << shown(c.text);
    v = version({9, 9, 9, 9});
    EXPECT_EQ(v.parse(c.text, kOpen), c.ok) << shown(c.text);
    EXPECT_EQ(v.components, c.fillOpen) << shown(c.text);
  }
}

TEST(JavaVersionCompare, LexicographicAndSigned) {
  struct Case {
    Components a, b;
    int expected;
  };
  const Case cases[] = {
      {{1, 8, 0, 151}, {1, 8, 0, 151}, 0},
      {{1, 8, 0, 0}, {1, 8, 0, 151}, -1},
      {{1, 8, kOpen, kOpen}, {1, 8, 0, 151}, 1},
      {{1, 8, 0, kOpen}, {1, 8, 0, 151}, 1},
      {{11, 0, 0, 0}, {1, 8, 0, 0}, 1},
      {{1, 9, 0, 0}, {1, 10, 0, 0}, -1},
      {{0, 0, 0, 0}, {0, 0, 0, 1}, -1},
      {{-1, 0, 0, 0}, {0, 0, 0, 0}, -1},
      {{2147483647, 0, 0, 0}, {-2147483647 - 1, 0, 0, 0}, 1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(JavaVersion::compare(version(c.a), version(c.b)), c.expected);
    EXPECT_EQ(JavaVersion::compare(version(c.b), version(c.a)), -c.expected);
  }
}

TEST(JavaVersionMatchesPattern, TrailingZerosOfThePatternAreWildcards) {
  struct Case {
    std::u16string_view pattern;
    Components candidate;
    bool expected;
  };
  const Case cases[] = {
      {u"1.8", {1, 8, 0, 151}, true},
      {u"1.8", {1, 8, 5, 0}, true},
      {u"1.8", {1, 7, 0, 80}, false},
      {u"1.8.0_151", {1, 8, 0, 151}, true},
      {u"1.8.0_151", {1, 8, 0, 152}, false},
      {u"1.8.0_151", {1, 8, 1, 151}, false},
      // The zero minor of 1.0 is trailing too, so it admits every 1.x.
      {u"1.0", {1, 8, 0, 151}, true},
      {u"1.0", {2, 0, 0, 0}, false},
      {u"1.0.2", {1, 0, 2, 9}, true},
      {u"1.0.2", {1, 3, 2, 9}, false},
      // A zero inside the pattern is not a wildcard.
      {u"1.0.0.5", {1, 8, 0, 5}, false},
      {u"1.0.0.5", {1, 0, 0, 5}, true},
      {u"", {17, 0, 2, 0}, true},
      {u"latest", {1, 6, 0, 0}, true},
      {u"17", {17, 0, 2, 0}, true},
      {u"17", {1, 7, 0, 0}, false},
  };
  for (const Case& c : cases) {
    JavaVersion pattern;
    pattern.parse(c.pattern, 0);
    EXPECT_EQ(JavaVersion::matchesPattern(version(c.candidate), pattern), c.expected)
        << shown(c.pattern);
  }
}

TEST(JavaVersionText, DropsTrailingZeroAndOpenComponentsKeepsAMinorZero) {
  struct Case {
    Components value;
    std::u16string_view text;
    bool unbounded;
  };
  const Case cases[] = {
      {{1, 8, 0, 151}, u"1.8.0.151", false},
      {{1, 8, 0, 0}, u"1.8", false},
      {{1, 0, 0, 0}, u"1.0", false},
      {{17, kOpen, kOpen, kOpen}, u"17", false},  // a maximum of 17: no filler shown
      {{1, 8, kOpen, kOpen}, u"1.8", false},
      {{1, kOpen, 2, 0}, u"1.65535.2", false},
      {{0, 0, 0, 7}, u"0.0.0.7", false},
      {{0, 0, 0, 0}, u"0.0.0.0", true},
      {{kOpen, kOpen, kOpen, kOpen}, u"0.0.0.0", true},
      // Mixed ends are a real bound.
      {{0, 0, kOpen, kOpen}, u"0.0.0.0", false},
      {{-5, 2147483647, 0, 0}, u"-5.2147483647", false},
      {{-2147483647 - 1, 1, 0, 0}, u"-2147483648.1", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(JavaVersion::toString(version(c.value)), c.text) << shown(c.text);
    EXPECT_EQ(JavaVersion::isUnbounded(version(c.value)), c.unbounded) << shown(c.text);
  }
}

TEST(VersionBounds, AnyIsExactOtherTextIsParsedWithTheBoundsFill) {
  struct Case {
    std::u16string_view value;
    Components minimum, maximum;
  };
  const Case cases[] = {
      {u"any", {0, 0, 0, 0}, {kOpen, kOpen, kOpen, kOpen}},
      {u"Any", {0, 0, 0, 0}, {0, 0, 0, 0}},
      {u" any", {0, 0, 0, 0}, {0, 0, 0, 0}},
      {u"", {0, 0, 0, 0}, {0, 0, 0, 0}},
      {u"1.8", {1, 8, 0, 0}, {1, 8, kOpen, kOpen}},
      {u"1.8.0", {1, 8, 0, 0}, {1, 8, 0, kOpen}},
      {u"17", {17, 0, 0, 0}, {17, kOpen, kOpen, kOpen}},
      {u"99999999999", {0, 0, 0, 0}, {0, 0, 0, 0}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(minimumVersionFrom(c.value).components, c.minimum) << shown(c.value);
    EXPECT_EQ(maximumVersionFrom(c.value).components, c.maximum) << shown(c.value);
  }
}

TEST(DescribeVersionRange, ChoosesTheTextByTheBoundsThatExist) {
  using Args = std::vector<std::u16string>;
  struct Case {
    std::u16string_view minimum, maximum;
    unsigned textId;
    Args args;
  };
  const Case cases[] = {
      {u"any", u"any", IDS_RANGE_ANY, {}},
      {u"", u"", IDS_RANGE_ANY, {}},
      {u"", u"any", IDS_RANGE_ANY, {}},
      {u"any", u"17", IDS_RANGE_UP_TO, {u"17"}},
      {u"", u"1.8", IDS_RANGE_UP_TO, {u"1.8"}},
      {u"1.8", u"any", IDS_RANGE_FROM, {u"1.8"}},
      {u"1.8.0_151", u"", IDS_RANGE_FROM, {u"1.8.0.151"}},
      // 1.8.0.0 to 1.8.65535.65535 is every 1.8, read as one version.
      {u"1.8", u"1.8", IDS_RANGE_EXACT, {u"1.8"}},
      {u"1.8.0_151", u"1.8.0_151", IDS_RANGE_EXACT, {u"1.8.0.151"}},
      {u"1.6", u"11.0.2", IDS_RANGE_BETWEEN, {u"1.6", u"11.0.2"}},
      // A reversed range is described as written.
      {u"11", u"1.8", IDS_RANGE_BETWEEN, {u"11.0", u"1.8"}},
  };
  for (const Case& c : cases) {
    VersionRangeText range =
        describeVersionRange(minimumVersionFrom(c.minimum), maximumVersionFrom(c.maximum));
    EXPECT_EQ(range.textId, c.textId) << shown(c.minimum) << " / " << shown(c.maximum);
    EXPECT_EQ(range.args, c.args) << shown(c.minimum) << " / " << shown(c.maximum);
  }
}

}  // namespace
}  // namespace launcher
