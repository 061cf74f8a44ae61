#include "ui/splash_rules.h"

#include <gtest/gtest.h>

namespace launcher {
namespace {

TEST(SplashPlacement, CentredWithHalvesTruncatedTowardZero) {
  EXPECT_EQ(splashWindowOrigin(1920, 1080, 400, 300).left, 760);
  EXPECT_EQ(splashWindowOrigin(1920, 1080, 400, 300).top, 390);
  EXPECT_EQ(splashWindowOrigin(1920, 1080, 401, 301).left, 759);
  EXPECT_EQ(splashWindowOrigin(1920, 1080, 401, 301).top, 389);
  // Wider than the screen: -81 / 2 is -40, not -41.
  EXPECT_EQ(splashWindowOrigin(1920, 1080, 2001, 100).left, -40);
}

TEST(SplashLibraryPlace, TwoLevelsAboveTheRuntimeLibrary) {
  EXPECT_EQ(runtimeSplashLibraryCandidate(u"C:\\jre\\bin\\server\\jvm.dll"), u"C:\\jre\\bin\\splashscreen.dll");
  EXPECT_EQ(runtimeSplashLibraryCandidate(u"\\\\host\\share\\bin\\client\\jvm.dll"),
            u"\\\\host\\share\\bin\\splashscreen.dll");
  // A root left over keeps its one backslash.
  EXPECT_EQ(runtimeSplashLibraryCandidate(u"C:\\\\server\\jvm.dll"), u"C:\\splashscreen.dll");
  EXPECT_EQ(runtimeSplashLibraryCandidate(u""), u"");
  EXPECT_EQ(runtimeSplashLibraryCandidate(u"\\jvm.dll"), u"");
}

TEST(SplashScale, VariantsNamedAsTheRuntimeNamesThemAndTheScaledSize) {
  EXPECT_EQ(splashScalePercent(96), 100u);
  EXPECT_EQ(splashScalePercent(144), 150u);
  EXPECT_EQ(splashScalePercent(120), 125u);
  EXPECT_EQ(splashScalePercent(192), 200u);
  using Names = std::vector<std::u16string>;
  EXPECT_EQ(splashImageVariants(u"C:\\app\\splash.png", 100), Names{});
  EXPECT_EQ(splashImageVariants(u"C:\\app\\splash.png", 150), Names{u"C:\\app\\splash@150pct.png"});
  EXPECT_EQ(splashImageVariants(u"C:\\app\\splash.png", 200),
            (Names{u"C:\\app\\splash@200pct.png", u"C:\\app\\splash@2x.png"}));
  // A dot in a folder's name is no extension; a name without one gets the marker at its end.
  EXPECT_EQ(splashImageVariants(u"C:\\v1.2\\splash", 300),
            (Names{u"C:\\v1.2\\splash@300pct", u"C:\\v1.2\\splash@3x"}));
  EXPECT_EQ(splashImageVariants(u"img/s.a.gif", 125), Names{u"img/s.a@125pct.gif"});
  EXPECT_EQ(scaledSplashSize(400, 150), 600);
  EXPECT_EQ(scaledSplashSize(3, 125), 4);
  EXPECT_EQ(scaledSplashSize(1, 10), 1);
  EXPECT_EQ(scaledSplashSize(0x7FFFFFFF, 200), 0x7FFFFFFF);
}

}  // namespace
}  // namespace launcher
