#include "base/unique_any.h"

#include <gtest/gtest.h>

#include <vector>

namespace launcher {
namespace {

std::vector<int> closed;
void recordClose(int value) { closed.push_back(value); }
using UniqueFake = UniqueAny<int, recordClose, -1>;

class UniqueAnyTest : public ::testing::Test {
 protected:
  void SetUp() override { closed.clear(); }
};

TEST_F(UniqueAnyTest, ReleasesOnceWhenDestroyed) {
  { UniqueFake owner(7); EXPECT_TRUE(owner); }
  EXPECT_EQ(closed, std::vector<int>{7});
}

TEST_F(UniqueAnyTest, EmptyOwnersReleaseNothing) {
  { UniqueFake empty; UniqueFake explicitEmpty(-1); EXPECT_FALSE(empty); EXPECT_FALSE(explicitEmpty); }
  // Zero is a valid value when the empty value is -1 (INVALID_HANDLE_VALUE style).
  { UniqueFake zero(0); EXPECT_TRUE(zero); }
  EXPECT_EQ(closed, std::vector<int>{0});
}

TEST_F(UniqueAnyTest, MoveTransfersOwnership) {
  UniqueFake a(1);
  UniqueFake b(std::move(a));
  EXPECT_FALSE(a);  // NOLINT(bugprone-use-after-move)
  EXPECT_EQ(b.get(), 1);
  UniqueFake c(2);
  c = std::move(b);
  EXPECT_EQ(closed, std::vector<int>{2});
  EXPECT_EQ(c.get(), 1);
}

TEST_F(UniqueAnyTest, ResetPutAndRelease) {
  UniqueFake owner(3);
  owner.reset(4);
  *owner.put() = 5;
  int released = owner.release();
  EXPECT_EQ(released, 5);
  EXPECT_FALSE(owner);
  EXPECT_EQ(closed, (std::vector<int>{3, 4}));
}

}  // namespace
}  // namespace launcher
