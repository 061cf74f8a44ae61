#include "jvm/main_entry.h"

#include "runtime/java_version.h"

namespace launcher {

namespace {

using Outcome = MainChoice::Outcome;

bool startable(const std::optional<MainMethodFacts>& method) {
  return method && method->access != MethodAccess::privateAccess;
}

// The first preview takes a static main only from the class itself, and an instance main from
// the class or a superclass, never from an interface.
bool startableInFirstPreview(const std::optional<MainMethodFacts>& method, bool wantStatic) {
  if (!startable(method) || method->isStatic != wantStatic) return false;
  return wantStatic ? method->declaredIn == DeclaredIn::mainClass : method->declaredIn != DeclaredIn::interfaceType;
}

MainForm formOf(const MainMethodFacts& method, bool withArguments) {
  if (method.isStatic) return withArguments ? MainForm::staticWithArguments : MainForm::staticWithoutArguments;
  return withArguments ? MainForm::instanceWithArguments : MainForm::instanceWithoutArguments;
}

// A static method starts as it is; an instance method needs an object of a concrete class, made
// with a constructor without parameters that is not private.
MainChoice start(const MainClassFacts& facts, MainForm form) {
  if (form == MainForm::instanceWithArguments || form == MainForm::instanceWithoutArguments) {
    if (facts.isAbstract || !facts.noArgumentConstructor ||
        *facts.noArgumentConstructor == MethodAccess::privateAccess) {
      return {Outcome::noInstance, form};
    }
  }
  return {Outcome::start, form};
}

}  // namespace

LaunchProtocol launchProtocolFor(std::u16string_view javaVersion, bool previewEnabled) {
  JavaVersion version;
  if (!version.parse(javaVersion, 0)) return LaunchProtocol::publicStaticMain;
  // "1.8" and older name the release in the second component.
  const std::int32_t feature = version.components[0] == 1 ? version.components[1] : version.components[0];
  if (feature >= 25) return LaunchProtocol::instanceMain;
  if (feature >= 22 && previewEnabled) return LaunchProtocol::instanceMain;
  if (feature == 21 && previewEnabled) return LaunchProtocol::firstPreview;
  return LaunchProtocol::publicStaticMain;
}

MainChoice chooseMainMethod(LaunchProtocol protocol, const MainClassFacts& facts) {
  const std::optional<MainMethodFacts>& withArguments = facts.withArguments;
  const std::optional<MainMethodFacts>& withoutArguments = facts.withoutArguments;
  switch (protocol) {
    case LaunchProtocol::publicStaticMain:
      if (!withArguments || !withArguments->isStatic) return {Outcome::noMainMethod, MainForm::staticWithArguments};
      if (withArguments->access != MethodAccess::publicAccess) {
        return {Outcome::notPublic, MainForm::staticWithArguments};
      }
      return {Outcome::start, MainForm::staticWithArguments};
    case LaunchProtocol::firstPreview:
      if (startableInFirstPreview(withArguments, true)) return start(facts, MainForm::staticWithArguments);
      if (startableInFirstPreview(withoutArguments, true)) return start(facts, MainForm::staticWithoutArguments);
      if (startableInFirstPreview(withArguments, false)) return start(facts, MainForm::instanceWithArguments);
      if (startableInFirstPreview(withoutArguments, false)) return start(facts, MainForm::instanceWithoutArguments);
      return {Outcome::noMainMethod, MainForm::staticWithArguments};
    case LaunchProtocol::instanceMain:
      if (startable(withArguments)) return start(facts, formOf(*withArguments, true));
      if (startable(withoutArguments)) return start(facts, formOf(*withoutArguments, false));
      return {Outcome::noMainMethod, MainForm::staticWithArguments};
  }
  return {Outcome::noMainMethod, MainForm::staticWithArguments};
}

}  // namespace launcher
