#include "base/error_box.h"

#include <gtest/gtest.h>

#include "resources/resource_ids.h"

namespace launcher {
namespace {

TEST(LoadText, EveryMessageNumberHasAText) {
  for (UINT id : {202u, 203u, 206u, 207u, 208u, 209u, 210u, 211u, 212u, 213u, 214u, 215u, 216u, 217u, 218u,
                  219u, 220u, 221u, 222u, 225u, 226u, 227u, 228u, 229u, 230u, 236u, 237u, 238u}) {
    EXPECT_FALSE(loadText(id).empty()) << "string " << id;
  }
}

TEST(LoadText, EachFormatTakesItsArguments) {
  // Every placeholder of a text is filled by one argument the code passes, in order.
  struct Format {
    UINT id;
    const char16_t* placeholders;
  };
  for (const Format& format : {Format{IDS_SYSTEM_CALL_FAILED, u"%ls %lu"}, Format{IDS_VM_CREATION_FAILED, u"%ls %ls"},
                               Format{IDS_NO_SERVER_RUNTIME, u"%ls"}, Format{IDS_NO_RUNTIME, u"%ls"},
                               Format{IDS_MAIN_CLASS_NAME_INVALID, u"%ls"}, Format{IDS_MAIN_CLASS_NOT_FOUND, u"%ls %ls"},
                               Format{IDS_MAIN_METHOD_MISSING, u"%ls %ls"},
                               Format{IDS_RANGE_UP_TO, u"%ls"}, Format{IDS_RANGE_FROM, u"%ls"},
                               Format{IDS_RANGE_EXACT, u"%ls"}, Format{IDS_RANGE_BETWEEN, u"%ls %ls"},
                               Format{IDS_RUNTIME_LOAD_FAILED, u"%ls %lu"}, Format{IDS_VM_RUNTIME_REPORTS, u"%ls"}}) {
    std::u16string text = loadText(format.id), found;
    for (size_t at = text.find(u'%'); at != std::u16string::npos; at = text.find(u'%', at + 1)) {
      if (!found.empty()) found += u' ';
      found += text.substr(at, text.compare(at, 3, u"%ls") == 0 || text.compare(at, 3, u"%lu") == 0 ? 3 : 2);
    }
    EXPECT_EQ(found, format.placeholders) << "string " << format.id;
  }
  for (UINT plain : {208u, 209u, 210u, 212u, 213u, 214u, 217u, 225u, 226u, 227u, 228u, 229u, 230u, 236u, 237u}) {
    EXPECT_EQ(loadText(plain).find(u'%'), std::u16string::npos) << "string " << plain << " is shown as written";
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
