#include "base/error_box_win.h"

#include <gtest/gtest.h>

#include "resources/resource_ids.h"

namespace launcher {
namespace {

// Every text resource_ids.h declares, read from that header when the test is built (a new text
// is checked without being listed here): the executable holds it, and its placeholders are
// exactly those the header's comment names, in order, since the code passes one argument each.
TEST(LoadText, EveryDeclaredTextExistsWithThePlaceholdersItsCommentNames) {
  struct Declared {
    UINT id;
    const char16_t* placeholders;
    const char* name;
  };
  constexpr Declared kDeclared[] = {
#include "message_ids.inc"
  };
  ASSERT_GE(std::size(kDeclared), 30u);
  for (const Declared& declared : kDeclared) {
    std::u16string text = loadText(declared.id), found;
    EXPECT_FALSE(text.empty()) << declared.name;
    for (size_t at = text.find(u'%'); at != std::u16string::npos; at = text.find(u'%', at + 1)) {
      if (!found.empty()) found += u' ';
      found += text.substr(at, text.compare(at, 3, u"%ls") == 0 || text.compare(at, 3, u"%lu") == 0 ? 3 : 2);
    }
    EXPECT_EQ(found, declared.placeholders) << declared.name;
  }
}

TEST(LoadText, LongTextsArriveWhole) {
  std::u16string text = loadText(IDS_MAIN_CLASS_MISSING);
  EXPECT_GT(text.size(), 255u);
  EXPECT_TRUE(text.ends_with(u"a correct settings file.")) << "the text was cut";
}

TEST(LoadText, MissingNumberGivesEmptyText) { EXPECT_EQ(loadText(9999), u""); }

TEST(LoadText, FormatsTakeTheirArgumentsInOrder) {
  std::u16string text = formatMessage(loadText(IDS_RUNTIME_LOAD_FAILED), {u"C:\\jre\\bin\\server\\jvm.dll", 193u});
  size_t path = text.find(u"C:\\jre\\bin\\server\\jvm.dll");
  size_t code = text.find(u"193");
  ASSERT_NE(path, std::u16string::npos);
  ASSERT_NE(code, std::u16string::npos);
  EXPECT_LT(path, code);
  EXPECT_EQ(text.find(u'%'), std::u16string::npos);

  text = formatMessage(loadText(IDS_RANGE_BETWEEN), {u"1.8", u"17"});
  EXPECT_LT(text.find(u"1.8"), text.find(u"17"));
  text = formatMessage(loadText(IDS_SYSTEM_CALL_FAILED), {loadText(IDS_OWN_PATH_UNAVAILABLE), 122u});
  EXPECT_NE(text.find(u"own file location"), std::u16string::npos);
  EXPECT_NE(text.find(u"122"), std::u16string::npos);
}

}  // namespace
}  // namespace launcher

#include "runtime/java_version.h"

namespace launcher {
namespace {

TEST(LoadText, VersionRangeTexts) {
  auto text = [](const char16_t* minimum, const char16_t* maximum) {
    VersionRangeText range = describeVersionRange(minimumVersionFrom(minimum), maximumVersionFrom(maximum));
    return loadFormattedText(range.textId, range.args);
  };
  EXPECT_EQ(text(u"", u""), u"any version");
  EXPECT_EQ(text(u"1.8", u"1.8"), u"version 1.8");
  EXPECT_EQ(text(u"11", u""), u"version 11.0 or newer");
  EXPECT_EQ(text(u"", u"1.8"), u"version 1.8 or older");
  EXPECT_EQ(text(u"11", u"17"), u"a version from 11.0 to 17");
}

}  // namespace
}  // namespace launcher
