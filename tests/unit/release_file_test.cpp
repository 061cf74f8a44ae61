#include "runtime/release_file.h"

#include <gtest/gtest.h>

namespace launcher {
namespace {

TEST(ReleaseFile, ValuesByKeyAndTheImplementor) {
  const std::string temurin = "IMPLEMENTOR=\"Eclipse Adoptium\"\r\nJAVA_VERSION=\"17.0.9\"\r\nOS_ARCH=x86_64\n";
  EXPECT_EQ(releaseValue(temurin, "JAVA_VERSION"), "17.0.9");
  EXPECT_EQ(releaseValue(temurin, "OS_ARCH"), "x86_64");
  EXPECT_EQ(releaseValue(temurin, "JAVA"), std::nullopt);  // a key's prefix is not the key
  EXPECT_EQ(releaseValue("", "IMPLEMENTOR"), std::nullopt);
  EXPECT_FALSE(isIbmRelease(temurin));
  EXPECT_TRUE(isIbmRelease("JAVA_VERSION=\"1.8.0\"\nIMPLEMENTOR=\"IBM Corporation\"\n"));
  EXPECT_TRUE(isIbmRelease("IMPLEMENTOR=\"International Business Machines Corporation\""));
  // Naming the VM is not naming the implementor.
  EXPECT_FALSE(isIbmRelease("JVM_VARIANT=\"IBM\"\nIMPLEMENTOR=\"Eclipse OpenJ9\""));

  std::optional<JavaVersion> stated = releaseJavaVersion(temurin);
  ASSERT_TRUE(stated.has_value());
  EXPECT_EQ(JavaVersion::toString(*stated), u"17.0.9");
  EXPECT_EQ(releaseJavaVersion("IMPLEMENTOR=\"x\"\n"), std::nullopt);
  EXPECT_EQ(releaseJavaVersion("JAVA_VERSION=\"\xc3\xa9\"\n"), std::nullopt);
}

}  // namespace
}  // namespace launcher
