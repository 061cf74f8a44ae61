#include "jvm/vm_parameters.h"

#include <gtest/gtest.h>

namespace launcher {
namespace {

using Tokens = std::vector<std::u16string>;

TEST(SplitVmParameters, Table) {
  struct Case {
    const char* what;
    std::u16string_view value;
    Tokens tokens;
  };
  const Case cases[] = {
      {"empty value", u"", {}},
      {"spaces only", u"   ", {}},
      {"runs of spaces, leading and trailing", u"  -Xmx1g   -Da=b  ", {u"-Xmx1g", u"-Da=b"}},
      {"quoted property with a space", u"-Dname=\"a b\" -Xmx512m", {u"-Dname=\"a b\"", u"-Xmx512m"}},
      {"quoted run in the middle of a token", u"-Dp=x\"a b\"y z", {u"-Dp=x\"a b\"y", u"z"}},
      {"doubled quote closes the run", u"-Dq=\"say \"\"hi\"\"\" -X", {u"-Dq=\"say \"\"hi\"\"\"", u"-X"}},
      {"doubled quote at the run's end: scanning goes on outside", u"\"a\"\" b\"", {u"\"a\"\"", u"b\""}},
      {"unpaired quote protects nothing", u"-Da=\"x y", {u"-Da=\"x", u"y"}},
      {"tab is no separator", u"-Da\t-Db", {u"-Da\t-Db"}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(splitVmParameters(c.value), c.tokens) << c.what;
  }
}

TEST(UnquoteVmParameter, Table) {
  struct Case {
    const char* what;
    std::u16string_view token;
    std::u16string_view unquoted;
  };
  const Case cases[] = {
      {"plain", u"-Xmx512m", u"-Xmx512m"},
      {"quoted value keeps its space", u"-Dname=\"a b\"", u"-Dname=a b"},
      {"doubled quotes leave literal ones", u"-Dq=\"say \"\"hi\"\"\"", u"-Dq=say \"hi\""},
      {"doubled quote at the closing position", u"\"a\"\"", u"a\""},
      {"unpaired quote stays", u"-Da=\"x", u"-Da=\"x"},
      {"pair then unpaired", u"\"a\"b\"c", u"ab\"c"},
      {"empty quotes vanish", u"-Da=\"\"", u"-Da="},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(unquoteVmParameter(c.token), c.unquoted) << c.what;
  }
}

TEST(StackSizeFromXss, Table) {
  struct Case {
    std::u16string_view text;
    std::uint32_t size;
  };
  const Case cases[] = {
      {u"1m", 1'048'576},
      {u"512", 512},
      {u"512k", 524'288},
      {u"1g", 1'073'741'824},
      {u"3G", 3'221'225'472u},
      {u"100x", 100},  // any other letter counts as bytes
      {u"0", 0},
      {u"", 0},
      {u"m", 0},  // letters only
      {u"-1m", 0},
      {u"1m2", 0},  // more than one number
      {u"1mb", 0},
      {u"4294967295", 4'294'967'295u},
      // Too large for 32 bits: the default stack, never a wrapped tiny one.
      {u"4g", 0},
      {u"8g", 0},
      {u"4294967296", 0},
      {u"99999999999999999999999", 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(stackSizeFromXss(c.text), c.size) << std::string(c.text.begin(), c.text.end());
  }
}

constexpr MemoryBases kBases{3'145'728, std::uint64_t{1} << 37};

TEST(ApplyVmParameters, QuotedPropertyAndPlainHeapOption) {
  VmParameters result = applyVmParameters(u"-Dapp.title=\"My App\" -Xmx512m", kBases);
  EXPECT_EQ(result.options, (Tokens{u"-Dapp.title=My App", u"-Xmx512m"}));
  EXPECT_FALSE(result.stackSizeSet);
  EXPECT_EQ(result.mainThreadStackSize, 0u);
}

TEST(ApplyVmParameters, SharesUseTheirOwnBase) {
  VmParameters result = applyVmParameters(u"-Xmx50:256:1024p -Xms1t -Xmx25P", kBases);
  EXPECT_EQ(result.options, (Tokens{u"-Xmx1048576K", u"-Xms1374389534K", u"-Xmx786432K"}));
}

TEST(ApplyVmParameters, UnquotedBeforeTheShareRuleLooksAtTheLastCharacter) {
  // The quotes go first, so the token ends in "p" and is a share.
  VmParameters result = applyVmParameters(u"\"-Xmx25p\"", kBases);
  EXPECT_EQ(result.options, (Tokens{u"-Xmx786432K"}));
}

TEST(ApplyVmParameters, LaterXssOverridesEvenWithZero) {
  struct Case {
    const char* what;
    std::u16string_view value;
    std::uint32_t size;
    bool set;
  };
  const Case cases[] = {
      {"one", u"-Xss1m", 1'048'576, true},
      {"later wins", u"-Xss1m -Xmx1g -Xss512", 512, true},
      {"later unparsable gives 0", u"-Xss1m -Xssabc", 0, true},
      {"later parsable after 0", u"-Xssabc -Xss2k", 2048, true},
      {"share of memory for the stack", u"-Xss1:0:1p", 1'048'576, true},
      {"lower case only", u"-xss1m", 0, false},
  };
  for (const Case& c : cases) {
    VmParameters result = applyVmParameters(c.value, kBases);
    EXPECT_EQ(result.mainThreadStackSize, c.size) << c.what;
    EXPECT_EQ(result.stackSizeSet, c.set) << c.what;
  }
}

TEST(ApplyVmParameters, KeepsEveryTokenInOrderAndReferencesUnexpanded) {
  VmParameters result = applyVmParameters(u" -Da=%TEMP%  -Xss1m \"-Dp=x y\" ", kBases);
  EXPECT_EQ(result.options, (Tokens{u"-Da=%TEMP%", u"-Xss1m", u"-Dp=x y"}));
  EXPECT_TRUE(applyVmParameters(u"", kBases).options.empty());
  // A written "" would be an empty option, which the VM refuses.
  EXPECT_EQ(applyVmParameters(u"-Xmx1g \"\" -Da", kBases).options, (Tokens{u"-Xmx1g", u"-Da"}));
}

}  // namespace
}  // namespace launcher

namespace launcher {
namespace {

TEST(JavaCommandOption, NamesTheDottedClassAndArgumentsUnlessAnOptionSetsIt) {
  EXPECT_EQ(javaCommandOption(u"com/example/Main", {u"a", u"b c", u""}, {u"-Xmx1g"}),
            u"-Dsun.java.command=com.example.Main a b c ");
  EXPECT_EQ(javaCommandOption(u"Main", {}, {}), u"-Dsun.java.command=Main");
  EXPECT_EQ(javaCommandOption(u"Main", {u"x"}, {u"-Dsun.java.command=Tool", u"-Xss1m"}), std::nullopt);
  EXPECT_EQ(javaCommandOption(u"Main", {}, {u"-Dsun.java.command"}), std::nullopt);
  // Only the property itself: a longer name is another property.
  EXPECT_EQ(javaCommandOption(u"Main", {}, {u"-Dsun.java.command.extra=1", u"-Dsun.java.commands"}),
            u"-Dsun.java.command=Main");
  // A module and its class, and a jar, as the java command shows them.
  EXPECT_EQ(javaCommandOption(u"app/com.acme.Main", {u"a/b"}, {}), u"-Dsun.java.command=app/com.acme.Main a/b");
  EXPECT_EQ(javaCommandOption(u"C:\\Apps\\app.jar", {}, {}), u"-Dsun.java.command=C:\\Apps\\app.jar");
}

TEST(ApplyVmParameters, ModuleOptionsWrittenWithASpaceAreJoinedToTheirVmForm) {
  const VmParameters p = applyVmParameters(
      u"-p mods;lib --module-path \"my mods\" --upgrade-module-path up --add-modules java.sql,app "
      u"--limit-modules java.base --add-exports java.base/sun.nio=app --add-opens java.base/java.lang=ALL-UNNAMED "
      u"--add-reads app=ALL-UNNAMED --patch-module java.base=p.jar --enable-native-access ALL-UNNAMED "
      u"--add-opens=a/b=c -Xmx1g --add-modules",
      MemoryBases{});
  EXPECT_EQ(p.options, (std::vector<std::u16string>{
                           u"--module-path=mods;lib", u"--module-path=my mods", u"--upgrade-module-path=up",
                           u"--add-modules=java.sql,app", u"--limit-modules=java.base",
                           u"--add-exports=java.base/sun.nio=app", u"--add-opens=java.base/java.lang=ALL-UNNAMED",
                           u"--add-reads=app=ALL-UNNAMED", u"--patch-module=java.base=p.jar",
                           u"--enable-native-access=ALL-UNNAMED", u"--add-opens=a/b=c", u"-Xmx1g",
                           // Nothing after it: left alone, for the VM to refuse with its own words.
                           u"--add-modules"}));
  EXPECT_TRUE(p.refusedOption.empty());
  // A value is taken as it is, even when it looks like an option; only the name is matched.
  EXPECT_EQ(applyVmParameters(u"-p -Xmx1g -pp x", MemoryBases{}).options,
            (std::vector<std::u16string>{u"--module-path=-Xmx1g", u"-pp", u"x"}));
}

TEST(ApplyVmParameters, JavaCommandOptionsStopTheReadingAndNameTheKeyToUse) {
  struct Case {
    std::u16string_view value;
    std::u16string_view refused;
    std::u16string_view key;
  };
  const Case cases[] = {
      {u"-Xmx1g -jar app.jar", u"-jar", u"Main Jar"},
      {u"-m app/app.Main", u"-m", u"Main Module"},
      {u"--module app", u"--module", u"Main Module"},
      {u"--module=app", u"--module=app", u"Main Module"},
      {u"-splash:images\\s.png", u"-splash:images\\s.png", u"Splash Screen"},
      {u"\"@C:\\my files\\vm.args\" -Xmx1g", u"@C:\\my files\\vm.args", u"Virtual Machine Parameters"},
  };
  for (const Case& c : cases) {
    const VmParameters p = applyVmParameters(c.value, MemoryBases{});
    EXPECT_EQ(p.refusedOption, c.refused);
    EXPECT_EQ(p.insteadKey, c.key);
  }
  // The VM's own options that merely begin alike pass.
  for (std::u16string_view own : {u"-mx64m", u"-javaagent:a.jar", u"--module-path=m", u"-Dx=@y", u"-splash"}) {
    const VmParameters p = applyVmParameters(own, MemoryBases{});
    EXPECT_TRUE(p.refusedOption.empty()) << std::string(own.begin(), own.end());
    EXPECT_EQ(p.options.size(), 1u);
  }
}

}  // namespace
}  // namespace launcher
