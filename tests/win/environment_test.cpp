#include "base/environment.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace launcher {
namespace {

// The process environment through the real calls: what ExpandEnvironmentStringsW cut at 32K
// characters arrives whole, an empty variable expands to nothing, an unset one stays as written.
TEST(ExpandEnvironment, ReadsTheProcessEnvironmentWithoutLengthLimit) {
  const std::wstring longValue(40000, L'p');
  ASSERT_TRUE(::SetEnvironmentVariableW(L"EXPAND_TEST_LONG", longValue.c_str()));
  ASSERT_TRUE(::SetEnvironmentVariableW(L"EXPAND_TEST_BIN", L"C:\\jre\\bin"));
  ASSERT_TRUE(::SetEnvironmentVariableW(L"EXPAND_TEST_EMPTY", L""));
  ::SetEnvironmentVariableW(L"EXPAND_TEST_UNSET", nullptr);

  EXPECT_EQ(expandEnvironment(u"%EXPAND_TEST_LONG%;%EXPAND_TEST_BIN%"),
            std::u16string(longValue.begin(), longValue.end()) + u";C:\\jre\\bin");
  EXPECT_EQ(expandEnvironment(u"[%EXPAND_TEST_EMPTY%]"), u"[]");
  EXPECT_EQ(expandEnvironment(u"%EXPAND_TEST_UNSET%EXPAND_TEST_BIN%"), u"%EXPAND_TEST_UNSETC:\\jre\\bin");
  EXPECT_EQ(expandEnvironment(u"%expand_test_bin%"), u"C:\\jre\\bin");  // names ignore case on Windows

  for (const wchar_t* name : {L"EXPAND_TEST_LONG", L"EXPAND_TEST_BIN", L"EXPAND_TEST_EMPTY"}) {
    ::SetEnvironmentVariableW(name, nullptr);
  }
}

}  // namespace
}  // namespace launcher
