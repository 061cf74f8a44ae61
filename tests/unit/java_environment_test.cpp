#include "jvm/java_environment.h"

#include "base/path.h"

#include <gtest/gtest.h>

namespace launcher {
namespace {

constexpr std::u16string_view kJvmDll = u"C:\\Program Files\\Java\\jre8\\bin\\server\\jvm.dll";

TEST(JavaEnvironment, HomeAndBinFolderFromTheJvmDll) {
  EXPECT_EQ(javaHomeFromJvmDll(kJvmDll), u"C:\\Program Files\\Java\\jre8");
  EXPECT_EQ(javaBinFolderFromJvmDll(kJvmDll), u"C:\\Program Files\\Java\\jre8\\bin");
}

TEST(JavaEnvironment, RemovingComponentsStopsAtTheFirstMissingBackslash) {
  EXPECT_EQ(withoutLastComponents(u"bin\\server\\jvm.dll", 3), u"bin");
  EXPECT_EQ(withoutLastComponents(u"jvm.dll", 3), u"jvm.dll");
  EXPECT_EQ(withoutLastComponents(u"C:\\a\\", 1), u"C:\\a");
}

TEST(JavaEnvironment, LibraryPathHasItsElementsInOrderAndNoCurrentFolder) {
  EXPECT_EQ(libraryPathText(u"%APP%\\native", u"C:\\App\\", u"C:\\jre"),
            u"%APP%\\native;C:\\App\\;%Path%;C:\\jre\\lib");
  EXPECT_EQ(libraryPathOption(u"C:\\n;C:\\App\\"), u"-Djava.library.path=C:\\n;C:\\App\\");
  // A Path with empty elements must not hand the VM the current folder.
  EXPECT_EQ(libraryPathOption(u";C:\\n;;C:\\App\\;"), u"-Djava.library.path=C:\\n;C:\\App\\");
}

TEST(JavaEnvironment, ProcessPathPutsTheSystemPathFirstAndTheRuntimeLast) {
  struct Case {
    std::u16string_view systemPath;
    std::u16string_view text;
  };
  const Case cases[] = {
      {u"", u"%Path%;C:\\jre\\bin"},
      {u"C:\\tools", u"C:\\tools;%Path%;C:\\jre\\bin"},
      {u"C:\\tools;", u"C:\\tools;%Path%;C:\\jre\\bin"},
      {u"C:\\a;C:\\b", u"C:\\a;C:\\b;%Path%;C:\\jre\\bin"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(processPathText(c.systemPath, u"C:\\jre\\bin"), c.text);
  }
}

}  // namespace
}  // namespace launcher
