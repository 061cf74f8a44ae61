#include "base/environment_win.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace launcher {
namespace {

// The process environment through the real calls: what ExpandEnvironmentStringsW cut at 32K
// characters arrives whole, an empty variable expands to nothing, an unset one stays as written.
// One variable holds at most 32,767 characters; two of them make a longer text.
TEST(ExpandEnvironment, ReadsTheProcessEnvironmentWithoutLengthLimit) {
  const std::wstring longValue(20000, L'p');
  ASSERT_TRUE(::SetEnvironmentVariableW(L"EXPAND_TEST_LONG", longValue.c_str()));
  ASSERT_TRUE(::SetEnvironmentVariableW(L"EXPAND_TEST_BIN", L"C:\\jre\\bin"));
  ASSERT_TRUE(::SetEnvironmentVariableW(L"EXPAND_TEST_EMPTY", L""));
  ::SetEnvironmentVariableW(L"EXPAND_TEST_UNSET", nullptr);

  const std::u16string longText(longValue.begin(), longValue.end());
  std::u16string expanded = expandEnvironment(u"%EXPAND_TEST_LONG%;%EXPAND_TEST_LONG%;%EXPAND_TEST_BIN%");
  EXPECT_EQ(expanded.size(), 2 * longText.size() + 12);
  EXPECT_TRUE(expanded == longText + u";" + longText + u";C:\\jre\\bin") << "the runtime's folder is cut off";
  EXPECT_EQ(expandEnvironment(u"[%EXPAND_TEST_EMPTY%]"), u"[]");
  EXPECT_EQ(expandEnvironment(u"%EXPAND_TEST_UNSET%EXPAND_TEST_BIN%"), u"%EXPAND_TEST_UNSETC:\\jre\\bin");
  EXPECT_EQ(expandEnvironment(u"%expand_test_bin%"), u"C:\\jre\\bin");  // names ignore case on Windows

  for (const wchar_t* name : {L"EXPAND_TEST_LONG", L"EXPAND_TEST_BIN", L"EXPAND_TEST_EMPTY"}) {
    ::SetEnvironmentVariableW(name, nullptr);
  }
}

}  // namespace
}  // namespace launcher
