#include "instance/instance_block.h"

#include <gtest/gtest.h>

#include <cstring>

namespace launcher {
namespace {

using Args = std::vector<std::u16string>;

// A block as a fresh page-file mapping gives it, with a header a first instance wrote.
struct Block : SharedInstanceBlock {
  Block() {
    std::memset(static_cast<SharedInstanceBlock*>(this), 0, sizeof(SharedInstanceBlock));
    listenerThreadId = 0xFFFFFFFF;
    ownerProcessId = 0xFFFFFFFF;
    forwardMessage = 0xC123;
  }
};

Args roundTrip(const Args& arguments) {
  Block block;
  EXPECT_TRUE(packArguments(arguments, block));
  return unpackArguments(block);
}

TEST(InstanceName, BackslashesChangeAndNoTwoPathsMeet) {
  // Paths without "_" keep the names earlier launchers gave them.
  EXPECT_EQ(instanceNameFor(u"C:\\Apps\\My Tool\\Tool.EXE"), u"C:_Apps_My Tool_Tool.EXE");
  EXPECT_EQ(instanceNameFor(u"\\\\server\\share\\a.exe"), u"__server_share_a.exe");
  const std::u16string_view apart[] = {u"C:\\a_b\\app.exe", u"C:\\a\\b\\app.exe", u"C:\\a\\_b\\app.exe",
                                       u"C:\\a_\\b\\app.exe", u"C:\\a__b\\app.exe", u"C:\\a\\\\b\\app.exe"};
  for (std::u16string_view a : apart) {
    for (std::u16string_view b : apart) {
      if (a != b) EXPECT_NE(instanceNameFor(a), instanceNameFor(b)) << std::string(a.begin(), a.end());
    }
  }
}

TEST(ForwardedArguments, ArriveInOrderWithEveryUnit) {
  const Args arguments{u"first", u"with space", u"\u00e9\u4e2d\U0001F600", u"x"};
  EXPECT_EQ(roundTrip(arguments), arguments);
}

TEST(ForwardedArguments, FitUpToTheLimitAndNoFurther) {
  // One argument of 518 units: 1036 bytes, its zero unit and the final one make 1040.
  const Args fits{std::u16string(518, u'a')};
  EXPECT_EQ(roundTrip(fits), fits);
  const Args splitFits{std::u16string(258, u'a'), std::u16string(259, u'b')};
  EXPECT_EQ(roundTrip(splitFits), splitFits);

  Block block;
  ASSERT_TRUE(packArguments({u"kept"}, block));
  EXPECT_FALSE(packArguments({std::u16string(519, u'a')}, block));
  EXPECT_FALSE(packArguments({std::u16string(259, u'a'), std::u16string(259, u'b')}, block));
  // A refused list leaves the area as it was.
  EXPECT_EQ(unpackArguments(block), Args{u"kept"});
  EXPECT_EQ(block.forwardMessage, 0xC123u);
}

TEST(ForwardedArguments, ALongerEarlierListLeavesNoTrace) {
  Block block;
  ASSERT_TRUE(packArguments({std::u16string(500, u'z')}, block));
  ASSERT_TRUE(packArguments({u"a", u"b"}, block));
  EXPECT_EQ(unpackArguments(block), (Args{u"a", u"b"}));
}

TEST(ForwardedArguments, AnEmptyArgumentEndsTheList) {
  EXPECT_EQ(roundTrip({}), Args{u""});
  EXPECT_EQ(roundTrip({u""}), Args{u""});
  EXPECT_EQ(roundTrip({u"", u"b"}), Args{u""});
  EXPECT_EQ(roundTrip({u"a", u"", u"b"}), Args{u"a"});
}

TEST(ForwardedArguments, AnUnterminatedTailIsDropped) {
  // Only a writer that ignored the limit leaves this: the reader stops at offset 2090.
  Block block;
  ASSERT_TRUE(packArguments({u"a"}, block));
  for (std::size_t i = 4; i < sizeof block.argumentArea; ++i) block.argumentArea[i] = 'q';
  EXPECT_EQ(unpackArguments(block), Args{u"a"});
}

}  // namespace
}  // namespace launcher
