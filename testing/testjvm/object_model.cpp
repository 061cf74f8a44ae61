// Objects, classes, strings and throwables of the test runtime.
#include "testjvm.h"

#include <cstdio>
#include <map>
#include <unordered_set>

namespace testjvm {

namespace {

SRWLOCK objectsLock = SRWLOCK_INIT;
std::unordered_set<const void*>& liveObjects() {
  static std::unordered_set<const void*> objects;
  return objects;
}

std::map<std::string, Klass*>& classes() {
  static std::map<std::string, Klass*> table;
  return table;
}

thread_local Object* pending = nullptr;

}  // namespace

void registerObject(Object* object) {
  AcquireSRWLockExclusive(&objectsLock);
  liveObjects().insert(object);
  ReleaseSRWLockExclusive(&objectsLock);
}

bool isLiveObject(const void* reference) {
  AcquireSRWLockShared(&objectsLock);
  bool live = liveObjects().count(reference) != 0;
  ReleaseSRWLockShared(&objectsLock);
  return live;
}

Object* checkedObject(const void* reference, const char* what) {
  if (reference == nullptr) {
    return nullptr;
  }
  if (!isLiveObject(reference)) {
    char text[160];
    std::snprintf(text, sizeof text, "%s: %p is not a reference this runtime handed out", what,
                  reference);
    fatal(text);
  }
  return static_cast<Object*>(const_cast<void*>(reference));
}

Klass* classClass() {
  static Klass* klass = [] {
    Klass* created = new Klass();
    created->name = "java/lang/Class";
    created->bootClass = true;
    created->klass = created;
    registerObject(created);
    classes()[created->name] = created;
    return created;
  }();
  return klass;
}

Klass* defineClass(const char* name, const char* superName, bool bootClass,
                   Object* (*allocate)(), std::vector<Method> methods) {
  Klass* klass = new Klass();
  klass->klass = classClass();
  klass->name = name;
  klass->bootClass = bootClass;
  klass->allocate = allocate;
  if (superName != nullptr) {
    klass->super = findClass(superName);
    if (klass->super == nullptr) {
      fatal(std::string("class ") + name + " is defined before its superclass " + superName);
    }
  }
  for (Method& method : methods) {
    method.owner = klass;
    klass->methods.push_back(std::move(method));
  }
  registerObject(klass);
  classes()[klass->name] = klass;
  return klass;
}

Klass* findClass(const std::string& slashName) {
  classClass();
  auto found = classes().find(slashName);
  return found == classes().end() ? nullptr : found->second;
}

bool initializeClass(Klass* klass) {
  if (klass->init == ClassInit::done) {
    return true;
  }
  if (klass->init == ClassInit::failed) {
    throwNew("java/lang/NoClassDefFoundError", "Could not initialize class " + dottedName(klass));
    return false;
  }
  klass->init = ClassInit::done;  // a class being initialised counts as initialised to itself
  for (const Method& method : klass->methods) {
    if (method.name == "<clinit>" && method.isStatic) {
      logEvent("initialise " + klass->name);
      method.body(nullptr, nullptr);
    }
  }
  auto* thrown = static_cast<ThrowableObject*>(pendingException());
  if (thrown == nullptr) {
    return true;
  }
  klass->init = ClassInit::failed;
  // An Error passes as it is; anything else is wrapped, as its cause.
  if (!isInstanceOf(thrown, "java/lang/Error")) {
    ThrowableObject* wrapper = newThrowable("java/lang/ExceptionInInitializerError", nullptr);
    wrapper->cause = thrown;
    pendingException() = wrapper;
  }
  return false;
}

bool isSubclass(const Klass* klass, const Klass* ancestor) {
  for (; klass != nullptr; klass = klass->super) {
    if (klass == ancestor) {
      return true;
    }
  }
  return false;
}

bool isInstanceOf(const Object* object, const char* className) {
  Klass* ancestor = findClass(className);
  return object != nullptr && ancestor != nullptr && isSubclass(object->klass, ancestor);
}

const Method* findMethod(const Klass* klass, const char* name, const char* signature,
                         bool isStatic) {
  // Like the JVM, a lookup also finds what the superclasses declare, except constructors.
  for (const Klass* current = klass; current != nullptr; current = current->super) {
    for (const Method& method : current->methods) {
      if (method.name == name && method.signature == signature && method.isStatic == isStatic) {
        return &method;
      }
    }
    if (std::string(name) == "<init>") {
      break;
    }
  }
  return nullptr;
}

std::string dottedName(const Klass* klass) {
  std::string name = klass->name;
  for (char& c : name) {
    if (c == '/') {
      c = '.';
    }
  }
  return name;
}

StringObject* newString(const std::u16string& units) {
  StringObject* string = newObject<StringObject>(findClass("java/lang/String"));
  string->units = units;
  return string;
}

std::u16string utf16(const std::string& text) {
  std::u16string units;
  for (size_t i = 0; i < text.size();) {
    unsigned char lead = static_cast<unsigned char>(text[i]);
    size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    char32_t code = length == 1 ? lead : length == 2 ? lead & 0x1F : length == 3 ? lead & 0x0F
                                                                                  : lead & 0x07;
    for (size_t k = 1; k < length && i + k < text.size(); ++k) {
      code = (code << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
    }
    i += length;
    if (code >= 0x10000) {
      units += static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10));
      units += static_cast<char16_t>(0xDC00 + ((code - 0x10000) & 0x3FF));
    } else {
      units += static_cast<char16_t>(code);
    }
  }
  return units;
}

static void appendEncoded(std::string& out, char32_t code) {
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (code >> 18));
    out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

std::string utf8(const std::u16string& units) {
  std::string out;
  for (size_t i = 0; i < units.size(); ++i) {
    char32_t unit = units[i];
    bool high = unit >= 0xD800 && unit <= 0xDBFF;
    if (high && i + 1 < units.size() && units[i + 1] >= 0xDC00 && units[i + 1] <= 0xDFFF) {
      appendEncoded(out, 0x10000 + ((unit - 0xD800) << 10) + (units[++i] - 0xDC00));
    } else if (unit >= 0xD800 && unit <= 0xDFFF) {
      out += '?';  // Java's encoder replaces an unpaired surrogate
    } else {
      appendEncoded(out, unit);
    }
  }
  return out;
}

std::string modifiedUtf8(const std::u16string& units) {
  // Every unit on its own, surrogates included, and NUL as two bytes, as JNI hands strings out.
  std::string out;
  for (char16_t unit : units) {
    if (unit == 0) {
      out += "\xC0\x80";
    } else {
      appendEncoded(out, unit);
    }
  }
  return out;
}

std::string hexUnits(const std::u16string& units) {
  std::string out;
  for (char16_t unit : units) {
    char text[8];
    std::snprintf(text, sizeof text, "%s%04X", out.empty() ? "" : " ", unsigned(unit));
    out += text;
  }
  return out;
}

ThrowableObject* newThrowable(const char* className, const std::u16string* message,
                              std::vector<std::string> frames) {
  Klass* klass = findClass(className);
  if (klass == nullptr || !isSubclass(klass, findClass("java/lang/Throwable"))) {
    fatal(std::string("the runtime has no throwable class ") + className);
  }
  ThrowableObject* throwable = newObject<ThrowableObject>(klass);
  throwable->hasMessage = message != nullptr;
  if (message != nullptr) {
    throwable->message = *message;
  }
  throwable->frames = std::move(frames);
  return throwable;
}

void throwNew(const char* className, const std::u16string* message,
              std::vector<std::string> frames) {
  pending = newThrowable(className, message, std::move(frames));
}

void throwNew(const char* className, const std::string& message) {
  std::u16string units = utf16(message);
  throwNew(className, &units);
}

Object*& pendingException() { return pending; }

std::string throwableText(const ThrowableObject* throwable) {
  std::string text = dottedName(throwable->klass);
  if (throwable->hasMessage) {
    text += ": " + utf8(throwable->message);
  }
  return text;
}

std::string stackTraceText(const ThrowableObject* throwable) {
  std::string text = throwableText(throwable) + "\r\n";
  for (const std::string& frame : throwable->frames) {
    text += "\tat " + frame + "\r\n";
  }
  if (throwable->cause != nullptr) {
    text += "Caused by: " + stackTraceText(throwable->cause);
  }
  return text;
}

}  // namespace testjvm
