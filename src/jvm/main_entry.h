#pragma once
// Which method starts the main class. Runtimes before 21 start only a public static
// void main(String[]); 25 and later (and 21 to 24 with --enable-preview) also start a main that is
// not public, one without parameters, and an instance main on an object made with the class's
// constructor without parameters. The launcher starts exactly what the runtime's own `java`
// command starts, so the choice is made here from the runtime's version and what the class
// offers, without JNI.

#include <optional>
#include <string>
#include <string_view>

namespace launcher {

// How the runtime's own launcher picks the main method.
enum class LaunchProtocol {
  // public static void main(String[]), declared or inherited.
  publicStaticMain,
  // 21's first preview of instance main methods: a static main declared in the class itself,
  // (String[]) before (); then an instance main of the class or a superclass, (String[]) first.
  firstPreview,
  // 25 and later (and 22 to 24 with --enable-preview): main(String[]) before main(), static or
  // instance, declared or inherited (also from an interface), of any access but private.
  instanceMain,
};

// The protocol of a runtime whose java.version property is `javaVersion` ("1.8.0_402", "11.0.22",
// "25.0.1", "26-ea"), with or without preview features enabled. An unreadable text counts as an
// old runtime.
LaunchProtocol launchProtocolFor(std::u16string_view javaVersion, bool previewEnabled);

enum class MethodAccess { publicAccess, protectedAccess, packageAccess, privateAccess };

// Where the method the lookup found is declared, seen from the main class.
enum class DeclaredIn { mainClass, superclass, interfaceType };

// A main method of one shape (with or without the String[] parameter) as the runtime's method
// lookup finds it on the main class: the class's own, else the nearest inherited one.
struct MainMethodFacts {
  bool isStatic = false;
  MethodAccess access = MethodAccess::publicAccess;
  DeclaredIn declaredIn = DeclaredIn::mainClass;
};

struct MainClassFacts {
  std::optional<MainMethodFacts> withArguments;     // void main(String[])
  std::optional<MainMethodFacts> withoutArguments;  // void main()
  // The class's own constructor without parameters; nothing when it has none.
  std::optional<MethodAccess> noArgumentConstructor;
  bool isAbstract = false;  // abstract classes and interfaces
};

enum class MainForm { staticWithArguments, staticWithoutArguments, instanceWithArguments, instanceWithoutArguments };

struct MainChoice {
  enum class Outcome {
    start,
    // No method of a shape the protocol starts.
    noMainMethod,
    // The only candidate is a static main(String[]) that is not public (the old protocol).
    notPublic,
    // An instance main was chosen, but the class is abstract or has no non-private constructor
    // without parameters to make the object with.
    noInstance,
  };
  Outcome outcome = Outcome::noMainMethod;
  // The method chosen (for noInstance, the one that needs the object; for notPublic, the one found).
  MainForm form = MainForm::staticWithArguments;

  friend bool operator==(const MainChoice&, const MainChoice&) = default;
};

MainChoice chooseMainMethod(LaunchProtocol protocol, const MainClassFacts& facts);

}  // namespace launcher
