#include "jvm/memory_share.h"

#include <gtest/gtest.h>

namespace launcher {
namespace {

TEST(MemoryShareBase, OnlyTheThreeOptionsWithAUnitLetter) {
  struct Case {
    std::u16string_view token;
    std::optional<MemoryBase> base;
  };
  const Case cases[] = {
      {u"-Xmx25p", MemoryBase::physical},
      {u"-Xms10:64P", MemoryBase::physical},
      {u"-Xss1:1T", MemoryBase::availableVirtual},
      {u"-Xmx5t", MemoryBase::availableVirtual},
      {u"-Xmx512m", std::nullopt},
      {u"-XMX25p", std::nullopt},  // the option name is compared exactly
      {u"-Xmn25p", std::nullopt},
      {u"-Dp=p", std::nullopt},
      {u"-Xmxp", MemoryBase::physical},
      {u"", std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(memoryShareBase(c.token), c.base) << std::string(c.token.begin(), c.token.end());
  }
}

TEST(RewriteMemoryShare, SharesAndBounds) {
  constexpr std::uint64_t kThreeGb = 3'145'728;  // KB
  struct Case {
    const char* what;
    std::u16string_view token;
    std::uint64_t baseKb;
    std::u16string_view rewritten;
  };
  const Case cases[] = {
      {"half, capped at the upper bound", u"-Xmx50:256:1024p", kThreeGb, u"-Xmx1048576K"},
      {"half, under the upper bound", u"-Xmx50:256:2048p", kThreeGb, u"-Xmx1572864K"},
      {"a quarter without bounds", u"-Xmx25p", kThreeGb, u"-Xmx786432K"},
      {"raised to the lower bound", u"-Xms10:64T", 100'000, u"-Xms65536K"},
      {"the lower bound wins over a smaller upper one", u"-Xmx50:512:256p", kThreeGb, u"-Xmx524288K"},
      {"upper bound 0 means none", u"-Xmx50:0:0p", kThreeGb, u"-Xmx1572864K"},
      {"rounded down", u"-Xmx33p", 1000, u"-Xmx330K"},
      {"exact where a double would round below", u"-Xmx29p", 100, u"-Xmx29K"},
      {"missing numbers are 0", u"-Xmx::p", kThreeGb, u"-Xmx0K"},
      {"no number at all", u"-Xmxp", kThreeGb, u"-Xmx0K"},
      {"stray characters are ignored", u"-Xmx5x0:1y:2p", kThreeGb, u"-Xmx2048K"},
      {"over 100 percent", u"-Xmx200p", 1024, u"-Xmx2048K"},
      {"stack share", u"-Xss1t", 1'000'000, u"-Xss10000K"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(rewriteMemoryShare(c.token, c.baseKb), c.rewritten) << c.what;
  }
}

TEST(RewriteMemoryShare, SixtyFourBitBasesDoNotOverflow) {
  // A 64-bit process has about 128 TB of virtual memory available: 2^37 KB.
  constexpr std::uint64_t kVirtualKb = std::uint64_t{1} << 37;
  EXPECT_EQ(rewriteMemoryShare(u"-Xmx50T", kVirtualKb), u"-Xmx68719476736K");
  EXPECT_EQ(rewriteMemoryShare(u"-Xmx100t", kVirtualKb), u"-Xmx137438953472K");
  EXPECT_EQ(rewriteMemoryShare(u"-Xms10:64T", kVirtualKb), u"-Xms13743895347K");
  EXPECT_EQ(rewriteMemoryShare(u"-Xmx50:256:1024T", kVirtualKb), u"-Xmx1048576K");
  // Bounds beyond 32 bits once in KB are compared as they are.
  EXPECT_EQ(rewriteMemoryShare(u"-Xmx1:8388608p", 1024), u"-Xmx8589934592K");
  EXPECT_EQ(rewriteMemoryShare(u"-Xmx100p", ~std::uint64_t{0}), u"-Xmx18446744073709551615K");
}

TEST(RewriteMemoryShare, AbsurdNumbersSaturateInsteadOfWrapping) {
  constexpr std::u16string_view kMaxK = u"-Xmx18446744073709551615K";
  EXPECT_EQ(rewriteMemoryShare(u"-Xmx99999999999999999999999p", 1'000'000), kMaxK);
  EXPECT_EQ(rewriteMemoryShare(u"-Xmx1000000000000000000p", 1'000'000'000), kMaxK);
  // A bound still applies to a saturated share ...
  EXPECT_EQ(rewriteMemoryShare(u"-Xmx99999999999999999999999:0:1024p", 1'000'000), u"-Xmx1048576K");
  // ... and a lower bound too large for 64 bits once in KB does not wrap to a small one.
  EXPECT_EQ(rewriteMemoryShare(u"-Xmx1:99999999999999999999p", 100), kMaxK);
}

}  // namespace
}  // namespace launcher
