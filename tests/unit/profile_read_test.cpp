#include "settings/profile_read.h"

#include <gtest/gtest.h>

#include <vector>

namespace launcher {
namespace {

// Behaves like GetPrivateProfileStringW: copies at most size-1 characters and returns how many.
struct FakeProfileRead {
  std::u16string value;
  std::vector<size_t> sizesAsked;

  size_t operator()(char16_t* buffer, size_t size) {
    sizesAsked.push_back(size);
    size_t length = std::min(value.size(), size - 1);
    value.copy(buffer, length);
    buffer[length] = u'\0';
    return length;
  }
};

TEST(ReadGrowing, ShortValuesNeedOneRead) {
  FakeProfileRead read{u"com.example.Main", {}};
  EXPECT_EQ(readGrowing(std::ref(read)), u"com.example.Main");
  EXPECT_EQ(read.sizesAsked, std::vector<size_t>{256});
}

TEST(ReadGrowing, ValuesAtAndBeyondTheFirstBufferArriveWhole) {
  for (size_t length : {254u, 255u, 256u, 511u, 512u, 5000u}) {
    std::u16string value(length, u'a');
    value.back() = u'z';
    FakeProfileRead read{value, {}};
    EXPECT_EQ(readGrowing(std::ref(read)), value) << "length " << length;
  }
  FakeProfileRead read{std::u16string(255, u'a'), {}};
  readGrowing(std::ref(read));
  EXPECT_EQ(read.sizesAsked, (std::vector<size_t>{256, 512}));
}

TEST(ReadGrowing, AValueLongerThanAnySettingIsRefusedNotGrownWithoutEnd) {
  FakeProfileRead longest{std::u16string(kMaxProfileValueLength, u'a'), {}};
  EXPECT_EQ(readGrowing(std::ref(longest)), longest.value);
  FakeProfileRead tooLong{std::u16string(kMaxProfileValueLength + 1, u'a'), {}};
  EXPECT_EQ(readGrowing(std::ref(tooLong)), std::nullopt);
  EXPECT_LE(tooLong.sizesAsked.back(), 2 * kMaxProfileValueLength);
  // An unreadable own value is not replaced by the "+" section's; an unreadable "+" value counts
  // only when the own one is empty.
  EXPECT_EQ(layeredRead(std::nullopt, u"x", true), std::nullopt);
  EXPECT_EQ(layeredRead(u"", std::nullopt, true), std::nullopt);
  EXPECT_EQ(layeredRead(u"a", std::nullopt, true), u"a");
}

TEST(ReadGrowing, EmptyValue) {
  FakeProfileRead read{u"", {}};
  EXPECT_EQ(readGrowing(std::ref(read)), u"");
}

TEST(LayeredValue, OwnSectionWinsThenPlusSectionWithOneLeadingSpaceForATokenList) {
  EXPECT_EQ(layeredValue(u"-Xmx256m", u"-Xmx512m", true), u"-Xmx256m");
  EXPECT_EQ(layeredValue(u"", u"-Xmx512m", true), u" -Xmx512m");
  EXPECT_EQ(layeredValue(u"", u" -Xmx512m", true), u" -Xmx512m");
  EXPECT_EQ(layeredValue(u"", u"", true), u"");
  // A single value works as if written in the section itself.
  EXPECT_EQ(layeredValue(u"", u"com.example.Main", false), u"com.example.Main");
  EXPECT_EQ(layeredValue(u"yes", u"no", false), u"yes");
}

TEST(LayeredValue, PlusSectionName) {
  EXPECT_EQ(plusSectionName(u"Java Runtime Environment"), u"Java Runtime Environment+");
}

}  // namespace
}  // namespace launcher
