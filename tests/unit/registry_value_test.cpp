#include "runtime/registry_value.h"

#include <gtest/gtest.h>

#include <vector>

namespace launcher {
namespace {

std::u16string decode(std::vector<unsigned char> bytes) { return stringFromRegistryData(bytes); }

TEST(StringFromRegistryData, TakesTheTextUpToTheFirstNulWhateverTheShape) {
  EXPECT_EQ(decode({}), u"");
  EXPECT_EQ(decode({'C', 0, ':', 0, 0, 0}), u"C:");                  // as written by the API
  EXPECT_EQ(decode({'C', 0, ':', 0}), u"C:");                        // no NUL
  EXPECT_EQ(decode({'a', 0, 0, 0, 'b', 0, 0, 0}), u"a");             // several strings
  EXPECT_EQ(decode({'a', 0, 'b'}), u"a");                            // odd length: half a unit
  EXPECT_EQ(decode({'a'}), u"");
  EXPECT_EQ(decode({0x3A, 0x04, 0x00, 0x01}), u"\u043A\u0100");      // little-endian units
  EXPECT_EQ(decode({0x00, 0x01, 0x00, 0x00}), u"\u0100");            // a zero low byte is no NUL
}

}  // namespace
}  // namespace launcher
