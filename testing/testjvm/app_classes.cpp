// The test application: small classes whose main methods report how they were started and then
// do one thing a launcher must cope with.
#include "testjvm.h"

namespace testjvm {

namespace {

jvalue none() { return jvalue{}; }

Object* arguments(const jvalue* args) { return checkedObject(args[0].l, "main's argument"); }

jvalue reportMain(Object*, const jvalue* args) {
  writeMainReport("test.app.Report", arguments(args));
  sleepIfAsked();
  return none();
}

jvalue printerMain(Object*, const jvalue* args) {
  writeMainReport("test.app.Printer", arguments(args));
  systemOut()->println("Printer: line 1 to System.out");
  systemErr()->println("Printer: line 1 to System.err");
  systemOut()->println("Printer: line 2 to System.out");
  sleepIfAsked();
  return none();
}

jvalue throwerMain(Object*, const jvalue* args) {
  writeMainReport("test.app.Thrower", arguments(args));
  std::wstring message = environment(L"TESTJVM_THROW_MESSAGE", L"thrown by test.app.Thrower");
  std::u16string units(message.begin(), message.end());
  throwNew("java/lang/IllegalStateException", &units,
           {"test.app.Thrower.fail(Thrower.java:14)", "test.app.Thrower.main(Thrower.java:9)"});
  return none();
}

jvalue exiterMain(Object*, const jvalue* args) {
  writeMainReport("test.app.Exiter", arguments(args));
  sleepIfAsked();
  jint code = static_cast<jint>(_wtol(environment(L"TESTJVM_EXIT_CODE", L"3").c_str()));
  systemOut()->println("Exiter: exiting with " + std::to_string(code));
  systemExit(code);
}

struct Lingering {
  DWORD milliseconds;
  std::wstring file;
};

DWORD WINAPI linger(void* parameter) {
  auto* lingering = static_cast<Lingering*>(parameter);
  Sleep(lingering->milliseconds);
  appendFile(lingering->file, "lingered\n", true);
  logEvent("Lingerer's thread ends");
  delete lingering;
  return 0;
}

jvalue lingererMain(Object*, const jvalue* args) {
  writeMainReport("test.app.Lingerer", arguments(args));
  auto* lingering = new Lingering{
      static_cast<DWORD>(_wtol(environment(L"TESTJVM_LINGER_MS", L"1000").c_str())),
      fullPath(environment(L"TESTJVM_LINGER_FILE", L"linger.txt"))};
  startApplicationThread(linger, lingering);
  return none();
}

jvalue notMain(Object*, const jvalue*) { return none(); }

jvalue failingInitializer(Object*, const jvalue*) {
  const std::u16string message = u"thrown by the static initializer of test.app.BrokenInit";
  throwNew("java/lang/IllegalStateException", &message,
           {"test.app.BrokenInit.<clinit>(BrokenInit.java:5)"});
  return none();
}

// secondaryMain in both forms: both append what they received to the secondary report.
void reportSecondary(const char* form, Object* stringArray) {
  std::string text = std::string("secondaryMain=") + form + "\n";
  text += "thread.name=" + currentThreadName() + "\n";
  text += argumentLines(stringArray);
  text += "end\n";
  // One report at a time: several forwarded starts may be served at once.
  static SRWLOCK reportLock = SRWLOCK_INIT;
  AcquireSRWLockExclusive(&reportLock);
  appendFile(environment(L"TESTJVM_SECONDARY_REPORT", L"secondary.txt"), text, false);
  ReleaseSRWLockExclusive(&reportLock);
}

bool secondaryThrows() {
  if (!environmentIsSet(L"TESTJVM_SECONDARY_THROW")) {
    return false;
  }
  throwNew("java/lang/IllegalStateException", "thrown by secondaryMain");
  return true;
}

jvalue secondaryVoidMain(Object*, const jvalue* args) {
  writeMainReport("test.app.SecondaryVoid", arguments(args));
  sleepIfAsked();
  return none();
}

jvalue secondaryVoid(Object*, const jvalue* args) {
  reportSecondary("void", arguments(args));
  secondaryThrows();
  return none();
}

jvalue secondaryIntMain(Object*, const jvalue* args) {
  writeMainReport("test.app.SecondaryInt", arguments(args));
  sleepIfAsked();
  return none();
}

jvalue secondaryInt(Object*, const jvalue* args) {
  Object* stringArray = arguments(args);
  reportSecondary("int", stringArray);
  jvalue result{};
  if (environmentIsSet(L"TESTJVM_SECONDARY_RESULT")) {
    result.i = static_cast<jint>(_wtol(environment(L"TESTJVM_SECONDARY_RESULT").c_str()));
  } else if (auto* array = dynamic_cast<ObjectArray*>(stringArray)) {
    result.i = static_cast<jint>(array->items.size());
  }
  if (secondaryThrows()) {
    result.i = 0;
  }
  return result;
}

constexpr const char* mainSignature = "([Ljava/lang/String;)V";

}  // namespace

void defineApplicationClasses() {
  defineClass("test/app/Report", "java/lang/Object", false, nullptr,
              {{"main", mainSignature, true, reportMain}});
  defineClass("test/app/Printer", "java/lang/Object", false, nullptr,
              {{"main", mainSignature, true, printerMain}});
  defineClass("test/app/Thrower", "java/lang/Object", false, nullptr,
              {{"main", mainSignature, true, throwerMain}});
  defineClass("test/app/Exiter", "java/lang/Object", false, nullptr,
              {{"main", mainSignature, true, exiterMain}});
  defineClass("test/app/Lingerer", "java/lang/Object", false, nullptr,
              {{"main", mainSignature, true, lingererMain}});
  // A main of the wrong shape is no main.
  defineClass("test/app/NoMain", "java/lang/Object", false, nullptr,
              {{"main", "()V", true, notMain},
               {"main", "([Ljava/lang/String;)I", true, notMain},
               {"start", mainSignature, true, notMain}});
  // Its static initialiser throws: the class cannot be used at all.
  defineClass("test/app/BrokenInit", "java/lang/Object", false, nullptr,
              {{"<clinit>", "()V", true, failingInitializer},
               {"main", mainSignature, true, reportMain}});
  defineClass("test/app/NonStaticMain", "java/lang/Object", false, nullptr,
              {{"main", mainSignature, false, reportMain}});
  defineClass("test/app/SecondaryVoid", "java/lang/Object", false, nullptr,
              {{"main", mainSignature, true, secondaryVoidMain},
               {"secondaryMain", mainSignature, true, secondaryVoid}});
  defineClass("test/app/SecondaryInt", "java/lang/Object", false, nullptr,
              {{"main", mainSignature, true, secondaryIntMain},
               {"secondaryMain", "([Ljava/lang/String;)I", true, secondaryInt}});
}

}  // namespace testjvm
