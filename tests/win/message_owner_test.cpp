#include "base/message_owner_win.h"

#include <gtest/gtest.h>

namespace launcher {
namespace {

// Needs real windows, so a desktop: part of the gui layer.
TEST(MessageOwner, OnlyALiveWindowAndAClearOnlyOfItself) {
  HWND first = ::CreateWindowExW(0, L"STATIC", nullptr, WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
  HWND second = ::CreateWindowExW(0, L"STATIC", nullptr, WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
  ASSERT_TRUE(first && second);
  MessageOwner owner;
  EXPECT_EQ(owner.current(), nullptr);
  owner.set(first);
  EXPECT_EQ(owner.current(), first);
  // A window that went without clearing is no owner for a box.
  ::DestroyWindow(first);
  EXPECT_EQ(owner.current(), nullptr);
  // An earlier window going does not take a later owner with it.
  owner.set(second);
  owner.clear(first);
  EXPECT_EQ(owner.current(), second);
  owner.clear(second);
  EXPECT_EQ(owner.current(), nullptr);
  ::DestroyWindow(second);
}

}  // namespace
}  // namespace launcher
