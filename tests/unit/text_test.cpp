#include "base/text.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

namespace launcher {
namespace {

TEST(WhiteSpace, ControlAndUnicodeSpacesButNotLookAlikes) {
  std::u16string_view spaces =
      u"\t\n\v\f\r \u0085\u00A0\u1680\u2000\u2005\u200A\u2028\u2029\u202F\u205F\u3000";
  for (char16_t c : spaces) EXPECT_TRUE(isWhiteSpace(c)) << static_cast<int>(c);
  // Zero-width space and the byte-order mark are invisible but are not white space; the
  // information separators just below space are controls.
  for (char16_t c : {u'\0', u'\u001F', u'\u200B', u'\uFEFF', u'a', u'"', u'\u00AD', u'\u2060'}) {
    EXPECT_FALSE(isWhiteSpace(c)) << static_cast<int>(c);
  }
}

TEST(WhiteSpace, TrimBothEnds) {
  EXPECT_EQ(trimWhiteSpace(u" \t a b \u3000\r\n"), u"a b");
  EXPECT_EQ(trimWhiteSpace(u" \u2028 "), u"");
  EXPECT_EQ(trimWhiteSpace(u""), u"");
}

TEST(EqualsIgnoringAsciiCase, FoldsAsciiLettersOnly) {
  EXPECT_TRUE(equalsIgnoringAsciiCase(u"Favor_JRockit", u"favor_jrockit"));
  EXPECT_TRUE(equalsIgnoringAsciiCase(u"", u""));
  EXPECT_FALSE(equalsIgnoringAsciiCase(u"yes", u"yes "));
  EXPECT_FALSE(equalsIgnoringAsciiCase(u"ye", u"yes"));
  // Characters next to the letter ranges must not be folded onto them.
  EXPECT_FALSE(equalsIgnoringAsciiCase(u"@[", u"`{"));
  // Kelvin sign and dotted capital I fold to ASCII letters under Unicode rules.
  EXPECT_FALSE(equalsIgnoringAsciiCase(u"\u212A", u"k"));
  EXPECT_FALSE(equalsIgnoringAsciiCase(u"\u0130bm", u"ibm"));
}

TEST(AsciiDigit, OnlyZeroToNine) {
  for (char16_t c : std::u16string_view(u"0123456789")) EXPECT_TRUE(isAsciiDigit(c)) << static_cast<int>(c);
  // The neighbours of the range, and digits of other scripts that a locale would accept.
  for (char16_t c : {u'/', u':', u'\u0660', u'\u0966', u'\uFF10', u'\u00B2'}) {
    EXPECT_FALSE(isAsciiDigit(c)) << static_cast<int>(c);
  }
}

TEST(DecimalText, WholeRangeOfBothKinds) {
  EXPECT_EQ(decimalText(0), u"0");
  EXPECT_EQ(decimalText(10), u"10");
  EXPECT_EQ(decimalText(std::numeric_limits<std::uint64_t>::max()), u"18446744073709551615");
  EXPECT_EQ(signedDecimalText(0), u"0");
  EXPECT_EQ(signedDecimalText(-5), u"-5");
  EXPECT_EQ(signedDecimalText(std::numeric_limits<std::int64_t>::max()), u"9223372036854775807");
  EXPECT_EQ(signedDecimalText(std::numeric_limits<std::int64_t>::min()), u"-9223372036854775808");
}

TEST(SplitAt, EverySeparatorEndsAPiece) {
  using Pieces = std::vector<std::u16string>;
  EXPECT_EQ(splitAt(u"", u';'), Pieces{});
  EXPECT_EQ(splitAt(u"a", u';'), Pieces{u"a"});
  EXPECT_EQ(splitAt(u"a;", u';'), Pieces{u"a"});
  EXPECT_EQ(splitAt(u";", u';'), (Pieces{u""}));
  EXPECT_EQ(splitAt(u";a;;b;;", u';'), (Pieces{u"", u"a", u"", u"b", u""}));
  EXPECT_EQ(splitAt(u"a;b,c", u','), (Pieces{u"a;b", u"c"}));
}

}  // namespace
}  // namespace launcher
