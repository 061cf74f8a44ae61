#include "jvm/time_stamp.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace launcher {
namespace {

const LocalTime kTime{2026, 12, 0, 6, 14, 5, 9, 7};

// Stands in for the system's formatting: replaces the listed pictures, longest first, and lets
// everything else through. Records the pictures it was given.
struct FakeFormatter {
  std::vector<std::pair<std::u16string, std::u16string>> pictures;
  std::vector<std::u16string>* seen;
  bool fails = false;

  std::optional<std::u16string> operator()(std::u16string_view picture, const LocalTime&) const {
    seen->emplace_back(picture);
    if (fails) return std::nullopt;
    std::u16string out;
    for (std::size_t i = 0; i < picture.size();) {
      bool replaced = false;
      for (const auto& [from, to] : pictures) {
        if (picture.substr(i).starts_with(from)) {
          out += to;
          i += from.size();
          replaced = true;
          break;
        }
      }
      if (!replaced) out += picture[i++];
    }
    return out;
  }
};

TEST(ExpandTimeStamp, ReplacesOnlyTheSpanBetweenTheOuterPercentSigns) {
  struct Case {
    const char* what;
    std::u16string_view name;
    bool timeFails;
    bool dateFails;
    std::u16string_view expected;
  };
  const Case cases[] = {
      {"no pattern", u"C:\\logs\\out.txt", false, false, u"C:\\logs\\out.txt"},
      {"one percent sign has no pattern", u"C:\\logs\\50%.txt", false, false, u"C:\\logs\\50%.txt"},
      {"text on both sides kept", u"C:\\logs\\out_%yyyy-MM-dd_HH-mm-ss%.txt", false, false,
       u"C:\\logs\\out_2026-12-06_14-05-09.txt"},
      {"inner percent signs are pattern text", u"a%HH%mm%b", false, false, u"a14%05b"},
      {"milliseconds without leading zeros", u"out%ss.L%.txt", false, false, u"out09.7.txt"},
      {"every L replaced", u"%L-L%", false, false, u"7-7"},
      {"AM/PM marker's M is then a month", u"%hh tt%", false, false, u"02 P12"},
      {"empty pattern", u"a%%b", false, false, u"ab"},
      {"failed time pass keeps the name", u"out_%HH%.txt", true, false, u"out_%HH%.txt"},
      {"failed date pass keeps the name", u"out_%dd%.txt", false, true, u"out_%dd%.txt"},
  };
  for (const Case& c : cases) {
    std::vector<std::u16string> timePictures;
    std::vector<std::u16string> datePictures;
    const FakeFormatter time{{{u"HH", u"14"}, {u"hh", u"02"}, {u"mm", u"05"}, {u"ss", u"09"}, {u"tt", u"PM"}},
                             &timePictures, c.timeFails};
    const FakeFormatter date{{{u"yyyy", u"2026"}, {u"MM", u"12"}, {u"M", u"12"}, {u"dd", u"06"}}, &datePictures,
                             c.dateFails};
    EXPECT_EQ(expandTimeStamp(c.name, kTime, time, date), c.expected) << c.what;
  }
}

TEST(ExpandTimeStamp, DatePassReadsTheTimePassOutputAndNoTimeIsFormattedWithoutAPattern) {
  std::vector<std::u16string> timePictures;
  std::vector<std::u16string> datePictures;
  const FakeFormatter time{{{u"HH", u"14"}}, &timePictures};
  const FakeFormatter date{{{u"dd", u"06"}}, &datePictures};
  EXPECT_EQ(expandTimeStamp(u"x%dd HH L%y", kTime, time, date), u"x06 14 7y");
  EXPECT_EQ(timePictures, std::vector<std::u16string>{u"dd HH 7"});
  EXPECT_EQ(datePictures, std::vector<std::u16string>{u"dd 14 7"});

  timePictures.clear();
  expandTimeStamp(u"out%.txt", kTime, time, date);
  EXPECT_TRUE(timePictures.empty());

  EXPECT_TRUE(hasTimeStampPattern(u"%%"));
  EXPECT_FALSE(hasTimeStampPattern(u"a%b"));
  EXPECT_FALSE(hasTimeStampPattern(u""));
}

}  // namespace
}  // namespace launcher
