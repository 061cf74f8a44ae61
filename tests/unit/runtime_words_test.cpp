// How the runtime's words read in a message; the fuzz target holds the bounds of the keeping.
#include "jvm/runtime_words.h"

#include <gtest/gtest.h>

#include <string>

namespace launcher {
namespace {

std::u16string asMessage(std::string_view bytes, bool cut = false) {
  std::optional<std::u16string> utf8 = fromRuntimeUtf8(bytes, cut);
  // Latin-1 stands in for the code page.
  std::u16string latin1;
  for (unsigned char c : bytes) latin1 += c;
  return runtimeWordsText(utf8 ? *utf8 : latin1, cut);
}

// Text the runtime wrote in UTF-8 (an option given to it in UTF-8) reads as UTF-8; anything that
// is not well-formed UTF-8 is the code page's, byte for byte.
TEST(RuntimeWords, UtfEightOrTheCodePage) {
  EXPECT_EQ(asMessage("Unrecognized option: -Dname=gr\xC3\xBC\xC3\x9F"), u"Unrecognized option: -Dname=gr\u00FC\u00DF");
  EXPECT_EQ(asMessage("Unrecognized option: -Dname=gr\xFC\xDF"), u"Unrecognized option: -Dname=gr\u00FC\u00DF");
  EXPECT_EQ(asMessage("\xF0\x9F\x98\x80"), u"\U0001F600");
  // Overlong, surrogate and past U+10FFFF forms are not UTF-8.
  EXPECT_FALSE(fromRuntimeUtf8("\xC0\xAF", false));
  EXPECT_FALSE(fromRuntimeUtf8("\xED\xA0\x80", false));
  EXPECT_FALSE(fromRuntimeUtf8("\xF4\x90\x80\x80", false));
  // A sequence the bound broke off is left out, only then.
  EXPECT_EQ(fromRuntimeUtf8("ab\xE2\x82", true), u"ab");
  EXPECT_FALSE(fromRuntimeUtf8("ab\xE2\x82", false));
  EXPECT_FALSE(fromRuntimeUtf8("ab\xE2\x41\x82", true));
}

TEST(RuntimeWords, LinesAreTidiedForAMessage) {
  EXPECT_EQ(asMessage("\r\n\nError occurred during initialization of VM\r\nCould not reserve enough space  \n\n"),
            u"Error occurred during initialization of VM\nCould not reserve enough space");
  EXPECT_EQ(asMessage("a\rb\n\nc\td\x1B[0m\x7F"), u"a\nb\n\nc\td[0m");
  EXPECT_EQ(asMessage(" \r\n\t\n"), u"");
  EXPECT_EQ(asMessage(""), u"");
}

TEST(RuntimeWords, LongWordsEndInAMark) {
  std::string many;
  for (int i = 0; i < 30; ++i) many += "line " + std::to_string(i) + "\n";
  const std::u16string shown = asMessage(many);
  EXPECT_TRUE(shown.starts_with(u"line 0\nline 1\n"));
  EXPECT_TRUE(shown.ends_with(u"\nline 19\n..."));
  EXPECT_EQ(asMessage("one\ntwo\n", true), u"one\ntwo\n...");
  EXPECT_EQ(asMessage(std::string(kRuntimeWordsMaxLines, '\n') + "late"), u"late");
}

}  // namespace
}  // namespace launcher
