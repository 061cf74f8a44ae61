#include "jvm/main_entry.h"

#include <gtest/gtest.h>

namespace launcher {
namespace {

using Outcome = MainChoice::Outcome;

MainMethodFacts method(bool isStatic, MethodAccess access = MethodAccess::publicAccess,
                       DeclaredIn declaredIn = DeclaredIn::mainClass) {
  return {isStatic, access, declaredIn};
}

TEST(LaunchProtocolFor, FollowsTheRuntimeVersionAndPreview) {
  struct Case {
    const char16_t* version;
    bool preview;
    LaunchProtocol expected;
  };
  const Case cases[] = {
      {u"1.8.0_402", true, LaunchProtocol::publicStaticMain}, {u"11.0.22", true, LaunchProtocol::publicStaticMain},
      {u"17", true, LaunchProtocol::publicStaticMain},      {u"21", false, LaunchProtocol::publicStaticMain},
      {u"21.0.2", true, LaunchProtocol::firstPreview},      {u"22-ea", true, LaunchProtocol::instanceMain},
      {u"24", false, LaunchProtocol::publicStaticMain},     {u"25", false, LaunchProtocol::instanceMain},
      {u"26.0.2.1", true, LaunchProtocol::instanceMain},          {u"", true, LaunchProtocol::publicStaticMain},
      {u"unknown", true, LaunchProtocol::publicStaticMain},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(launchProtocolFor(c.version, c.preview), c.expected) << std::u16string(c.version).size() << c.preview;
  }
}

TEST(ChooseMainMethod, OldRuntimesStartOnlyAPublicStaticMainWithArguments) {
  MainClassFacts facts;
  facts.withArguments = method(true, MethodAccess::publicAccess, DeclaredIn::superclass);
  EXPECT_EQ(chooseMainMethod(LaunchProtocol::publicStaticMain, facts), (MainChoice{Outcome::start, MainForm::staticWithArguments}));
  for (MethodAccess access : {MethodAccess::protectedAccess, MethodAccess::packageAccess, MethodAccess::privateAccess}) {
    facts.withArguments = method(true, access);
    EXPECT_EQ(chooseMainMethod(LaunchProtocol::publicStaticMain, facts).outcome, Outcome::notPublic);
  }
  facts.withArguments = method(false);
  facts.withoutArguments = method(true);
  facts.noArgumentConstructor = MethodAccess::publicAccess;
  EXPECT_EQ(chooseMainMethod(LaunchProtocol::publicStaticMain, facts).outcome, Outcome::noMainMethod);
}

TEST(ChooseMainMethod, From25TheParameterComesFirstStaticOrNot) {
  MainClassFacts facts;
  facts.noArgumentConstructor = MethodAccess::packageAccess;
  facts.withoutArguments = method(true, MethodAccess::packageAccess);
  EXPECT_EQ(chooseMainMethod(LaunchProtocol::instanceMain, facts),
            (MainChoice{Outcome::start, MainForm::staticWithoutArguments}));
  facts.withArguments = method(false, MethodAccess::protectedAccess, DeclaredIn::interfaceType);
  EXPECT_EQ(chooseMainMethod(LaunchProtocol::instanceMain, facts),
            (MainChoice{Outcome::start, MainForm::instanceWithArguments}));
  // A private main does not count: the other form is taken.
  facts.withArguments = method(true, MethodAccess::privateAccess);
  EXPECT_EQ(chooseMainMethod(LaunchProtocol::instanceMain, facts).form, MainForm::staticWithoutArguments);
  facts.withoutArguments = method(false, MethodAccess::privateAccess);
  EXPECT_EQ(chooseMainMethod(LaunchProtocol::instanceMain, facts).outcome, Outcome::noMainMethod);
  EXPECT_EQ(chooseMainMethod(LaunchProtocol::instanceMain, MainClassFacts{}).outcome, Outcome::noMainMethod);
}

TEST(ChooseMainMethod, TheFirstPreviewTakesStaticMainsOfTheClassItselfFirst) {
  MainClassFacts facts;
  facts.noArgumentConstructor = MethodAccess::publicAccess;
  facts.withArguments = method(false);
  facts.withoutArguments = method(true, MethodAccess::packageAccess);
  EXPECT_EQ(chooseMainMethod(LaunchProtocol::firstPreview, facts),
            (MainChoice{Outcome::start, MainForm::staticWithoutArguments}));
  // An inherited static main is not started; an inherited instance main is, unless an interface
  // declares it.
  facts.withoutArguments = method(true, MethodAccess::publicAccess, DeclaredIn::superclass);
  EXPECT_EQ(chooseMainMethod(LaunchProtocol::firstPreview, facts).form, MainForm::instanceWithArguments);
  facts.withArguments = method(true, MethodAccess::publicAccess, DeclaredIn::superclass);
  facts.withoutArguments = method(false, MethodAccess::protectedAccess, DeclaredIn::superclass);
  EXPECT_EQ(chooseMainMethod(LaunchProtocol::firstPreview, facts).form, MainForm::instanceWithoutArguments);
  facts.withoutArguments = method(false, MethodAccess::publicAccess, DeclaredIn::interfaceType);
  EXPECT_EQ(chooseMainMethod(LaunchProtocol::firstPreview, facts).outcome, Outcome::noMainMethod);
}

TEST(ChooseMainMethod, AnInstanceMainNeedsAConcreteClassWithAConstructorThatIsNotPrivate) {
  for (LaunchProtocol protocol : {LaunchProtocol::firstPreview, LaunchProtocol::instanceMain}) {
    MainClassFacts facts;
    facts.withoutArguments = method(false);
    EXPECT_EQ(chooseMainMethod(protocol, facts), (MainChoice{Outcome::noInstance, MainForm::instanceWithoutArguments}));
    facts.noArgumentConstructor = MethodAccess::privateAccess;
    EXPECT_EQ(chooseMainMethod(protocol, facts).outcome, Outcome::noInstance);
    facts.noArgumentConstructor = MethodAccess::protectedAccess;
    EXPECT_EQ(chooseMainMethod(protocol, facts).outcome, Outcome::start);
    facts.isAbstract = true;
    EXPECT_EQ(chooseMainMethod(protocol, facts).outcome, Outcome::noInstance);
    // A static main needs no object.
    facts.withoutArguments = method(true);
    facts.noArgumentConstructor.reset();
    EXPECT_EQ(chooseMainMethod(protocol, facts).outcome, Outcome::start);
  }
}

}  // namespace
}  // namespace launcher
