#include "base/message_format.h"

#include <gtest/gtest.h>

namespace launcher {
namespace {

TEST(FormatMessage, FillsTextAndNumbersInOrder) {
  EXPECT_EQ(formatMessage(u"Cannot load %ls (error %lu).", {u"C:\\jre\\bin\\jvm.dll", 193u}),
            u"Cannot load C:\\jre\\bin\\jvm.dll (error 193).");
  EXPECT_EQ(formatMessage(u"from %ls to %ls", {u"1.8", u"17"}), u"from 1.8 to 17");
  EXPECT_EQ(formatMessage(u"%lu", {4294967295u}), u"4294967295");
  EXPECT_EQ(formatMessage(u"%u|%d|%ld|%s", {0u, 7u, 12u, u"x"}), u"0|7|12|x");
}

TEST(FormatMessage, TextThatIsNotAFormatIsSafe) {
  // More placeholders than arguments, unknown conversions and a trailing percent sign are
  // copied as written instead of reading arguments that are not there.
  EXPECT_EQ(formatMessage(u"%ls and %ls", {u"one"}), u"one and %ls");
  EXPECT_EQ(formatMessage(u"100% sure %n %x %", {u"unused"}), u"100% sure %n %x %");
  EXPECT_EQ(formatMessage(u"50%% of %ls", {u"RAM"}), u"50% of RAM");
  EXPECT_EQ(formatMessage(u"", {u"unused"}), u"");
}

TEST(FormatMessage, ArgumentsAreShownByTheirOwnKind) {
  // A text given where the format expects a number (or the reverse) is still shown, never
  // reinterpreted.
  EXPECT_EQ(formatMessage(u"%lu / %ls", {u"text", 5u}), u"text / 5");
}

TEST(FormatMessage, ArgumentsMayContainPercentSigns) {
  EXPECT_EQ(formatMessage(u"[%ls]", {u"%ls%lu%%"}), u"[%ls%lu%%]");
}

TEST(FormatMessage, LongArgumentsArriveWhole) {
  std::u16string longText(10000, u'x');
  std::u16string result = formatMessage(u"<%ls>", {longText});
  EXPECT_EQ(result.size(), 10002u);
  EXPECT_EQ(result.substr(1, 10000), longText);
}

}  // namespace
}  // namespace launcher
