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

}  // namespace
}  // namespace launcher
