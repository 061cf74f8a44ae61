// Method calls, object creation and reflected methods through the JNI table, with the checks a
// JVM run with -Xcheck:jni makes: the method's kind and return type fit the call, the receiver
// and the arguments fit the signature, and the call comes from the thread the JNIEnv belongs to.
#include "testjvm.h"

#include <cstdarg>
#include <unordered_set>

namespace testjvm {

bool enter(JNIEnv* env, const char* function);

namespace {

SRWLOCK methodsLock = SRWLOCK_INIT;
std::unordered_set<const Method*> handedOutMethods;

// One entry per parameter: the signature's type text ("I", "Ljava/lang/String;", "[C").
std::vector<std::string> parameterTypes(const std::string& signature) {
  std::vector<std::string> types;
  size_t i = 1;
  while (i < signature.size() && signature[i] != ')') {
    size_t start = i;
    while (signature[i] == '[') {
      ++i;
    }
    i = signature[i] == 'L' ? signature.find(';', i) + 1 : i + 1;
    types.push_back(signature.substr(start, i - start));
  }
  return types;
}

char returnKind(const std::string& signature) {
  char kind = signature[signature.find(')') + 1];
  return kind == '[' ? 'L' : kind;
}

const Method* checkedMethod(jmethodID id, const char* function) {
  auto* method = reinterpret_cast<const Method*>(id);
  AcquireSRWLockShared(&methodsLock);
  bool known = handedOutMethods.count(method) != 0;
  ReleaseSRWLockShared(&methodsLock);
  if (!known) {
    fatal(std::string(function) + ": the method ID did not come from GetMethodID or "
          "GetStaticMethodID");
  }
  return method;
}

void checkArgument(const Method& method, const std::string& type, const jvalue& value,
                   const char* function) {
  if (type[0] != 'L' && type[0] != '[') {
    return;
  }
  Object* object = checkedObject(value.l, function);
  if (object == nullptr) {
    return;
  }
  bool fits = type[0] == '[' ? dynamic_cast<ObjectArray*>(object) || dynamic_cast<CharArray*>(object)
                             : isInstanceOf(object, type.substr(1, type.size() - 2).c_str());
  if (!fits) {
    fatal(std::string(function) + ": " + method.owner->name + "." + method.name +
          method.signature + " was given a " + dottedName(object->klass) + " for " + type);
  }
}

std::vector<jvalue> fromVaList(const Method& method, va_list args) {
  std::vector<jvalue> values;
  for (const std::string& type : parameterTypes(method.signature)) {
    jvalue value{};
    switch (type[0]) {
      case 'Z': value.z = static_cast<jboolean>(va_arg(args, int)); break;
      case 'B': value.b = static_cast<jbyte>(va_arg(args, int)); break;
      case 'C': value.c = static_cast<jchar>(va_arg(args, int)); break;
      case 'S': value.s = static_cast<jshort>(va_arg(args, int)); break;
      case 'I': value.i = va_arg(args, jint); break;
      case 'J': value.j = va_arg(args, jlong); break;
      case 'F': value.f = static_cast<jfloat>(va_arg(args, double)); break;
      case 'D': value.d = va_arg(args, double); break;
      default: value.l = va_arg(args, jobject); break;
    }
    values.push_back(value);
  }
  return values;
}

std::vector<jvalue> fromArray(const Method& method, const jvalue* args) {
  size_t count = parameterTypes(method.signature).size();
  return count == 0 ? std::vector<jvalue>{} : std::vector<jvalue>(args, args + count);
}

// Checks the call against the method and runs it. A throwable the method raises stays pending
// and the result is then zero.
jvalue invoke(JNIEnv* env, const char* function, jobject receiver, jclass viaClass, jmethodID id,
              char expectedReturn, bool isStatic, std::vector<jvalue> (*collect)(const Method&,
                                                                                   void*),
              void* source) {
  if (!enter(env, function)) {
    return jvalue{};
  }
  const Method& method = *checkedMethod(id, function);
  std::string what = method.owner->name + "." + method.name + method.signature;
  if (method.isStatic != isStatic || returnKind(method.signature) != expectedReturn) {
    fatal(std::string(function) + " used for " + (method.isStatic ? "static " : "") + what);
  }
  Object* self = nullptr;
  if (isStatic) {
    Object* klass = checkedObject(viaClass, function);
    if (klass == nullptr || klass->klass != classClass() ||
        !isSubclass(static_cast<Klass*>(klass), method.owner)) {
      fatal(std::string(function) + ": the class argument does not declare " + what);
    }
  } else {
    self = checkedObject(receiver, function);
    if (self == nullptr || !isSubclass(self->klass, method.owner)) {
      fatal(std::string(function) + ": the receiver is not a " + dottedName(method.owner) +
            " for " + what);
    }
  }
  std::vector<jvalue> args = collect(method, source);
  std::vector<std::string> types = parameterTypes(method.signature);
  for (size_t i = 0; i < types.size(); ++i) {
    checkArgument(method, types[i], args[i], function);
  }
  logEvent(std::string(function) + " " + what + " on " + currentThreadName());
  jvalue result = method.body(self, args.data());
  return pendingException() != nullptr ? jvalue{} : result;
}

std::vector<jvalue> collectVa(const Method& method, void* source) {
  return fromVaList(method, *static_cast<va_list*>(source));
}

std::vector<jvalue> collectArray(const Method& method, void* source) {
  return fromArray(method, static_cast<const jvalue*>(source));
}

jobject construct(JNIEnv* env, const char* function, jclass clazz, jmethodID id,
                  std::vector<jvalue> (*collect)(const Method&, void*), void* source) {
  if (!enter(env, function)) {
    return nullptr;
  }
  Object* klassObject = checkedObject(clazz, function);
  const Method& method = *checkedMethod(id, function);
  if (klassObject == nullptr || method.name != "<init>" || method.owner != klassObject) {
    fatal(std::string(function) + ": the method is not a constructor of the class given");
  }
  auto* klass = static_cast<Klass*>(klassObject);
  if (klass->allocate == nullptr) {
    throwNew("java/lang/InstantiationException", dottedName(klass));
    return nullptr;
  }
  Object* object = klass->allocate();
  std::vector<jvalue> args = collect(method, source);
  std::vector<std::string> types = parameterTypes(method.signature);
  for (size_t i = 0; i < types.size(); ++i) {
    checkArgument(method, types[i], args[i], function);
  }
  logEvent(std::string(function) + " " + klass->name + method.signature + " on " +
           currentThreadName());
  method.body(object, args.data());
  return pendingException() != nullptr ? nullptr : reinterpret_cast<jobject>(object);
}

// Each kind of call in its three forms: variadic, va_list and jvalue array.
#define TESTJVM_CALLS(Name, Type, Kind, Field)                                                   \
  Type JNICALL call##Name##Method(JNIEnv* env, jobject object, jmethodID id, ...) {              \
    va_list args;                                                                                \
    va_start(args, id);                                                                          \
    jvalue result = invoke(env, "Call" #Name "Method", object, nullptr, id, Kind, false,         \
                           collectVa, &args);                                                    \
    va_end(args);                                                                                \
    return (Type)result.Field;                                                                   \
  }                                                                                              \
  Type JNICALL call##Name##MethodV(JNIEnv* env, jobject object, jmethodID id, va_list args) {    \
    va_list copy;                                                                                \
    va_copy(copy, args);                                                                         \
    jvalue result = invoke(env, "Call" #Name "MethodV", object, nullptr, id, Kind, false,        \
                           collectVa, &copy);                                                    \
    va_end(copy);                                                                                \
    return (Type)result.Field;                                                                   \
  }                                                                                              \
  Type JNICALL call##Name##MethodA(JNIEnv* env, jobject object, jmethodID id,                    \
                                   const jvalue* args) {                                         \
    return (Type)invoke(env, "Call" #Name "MethodA", object, nullptr, id, Kind, false,           \
                        collectArray, const_cast<jvalue*>(args)).Field;                          \
  }                                                                                              \
  Type JNICALL callStatic##Name##Method(JNIEnv* env, jclass clazz, jmethodID id, ...) {          \
    va_list args;                                                                                \
    va_start(args, id);                                                                          \
    jvalue result = invoke(env, "CallStatic" #Name "Method", nullptr, clazz, id, Kind, true,     \
                           collectVa, &args);                                                    \
    va_end(args);                                                                                \
    return (Type)result.Field;                                                                   \
  }                                                                                              \
  Type JNICALL callStatic##Name##MethodV(JNIEnv* env, jclass clazz, jmethodID id,                \
                                         va_list args) {                                         \
    va_list copy;                                                                                \
    va_copy(copy, args);                                                                         \
    jvalue result = invoke(env, "CallStatic" #Name "MethodV", nullptr, clazz, id, Kind, true,    \
                           collectVa, &copy);                                                    \
    va_end(copy);                                                                                \
    return (Type)result.Field;                                                                   \
  }                                                                                              \
  Type JNICALL callStatic##Name##MethodA(JNIEnv* env, jclass clazz, jmethodID id,                \
                                         const jvalue* args) {                                   \
    return (Type)invoke(env, "CallStatic" #Name "MethodA", nullptr, clazz, id, Kind, true,       \
                        collectArray, const_cast<jvalue*>(args)).Field;                          \
  }

TESTJVM_CALLS(Object, jobject, 'L', l)
TESTJVM_CALLS(Int, jint, 'I', i)
TESTJVM_CALLS(Boolean, jboolean, 'Z', z)
#undef TESTJVM_CALLS

// The void forms return nothing, so they are spelled out.
void JNICALL callVoidMethod(JNIEnv* env, jobject object, jmethodID id, ...) {
  va_list args;
  va_start(args, id);
  invoke(env, "CallVoidMethod", object, nullptr, id, 'V', false, collectVa, &args);
  va_end(args);
}
void JNICALL callVoidMethodV(JNIEnv* env, jobject object, jmethodID id, va_list args) {
  va_list copy;
  va_copy(copy, args);
  invoke(env, "CallVoidMethodV", object, nullptr, id, 'V', false, collectVa, &copy);
  va_end(copy);
}
void JNICALL callVoidMethodA(JNIEnv* env, jobject object, jmethodID id, const jvalue* args) {
  invoke(env, "CallVoidMethodA", object, nullptr, id, 'V', false, collectArray,
         const_cast<jvalue*>(args));
}
void JNICALL callStaticVoidMethod(JNIEnv* env, jclass clazz, jmethodID id, ...) {
  va_list args;
  va_start(args, id);
  invoke(env, "CallStaticVoidMethod", nullptr, clazz, id, 'V', true, collectVa, &args);
  va_end(args);
}
void JNICALL callStaticVoidMethodV(JNIEnv* env, jclass clazz, jmethodID id, va_list args) {
  va_list copy;
  va_copy(copy, args);
  invoke(env, "CallStaticVoidMethodV", nullptr, clazz, id, 'V', true, collectVa, &copy);
  va_end(copy);
}
void JNICALL callStaticVoidMethodA(JNIEnv* env, jclass clazz, jmethodID id, const jvalue* args) {
  invoke(env, "CallStaticVoidMethodA", nullptr, clazz, id, 'V', true, collectArray,
         const_cast<jvalue*>(args));
}

jobject JNICALL newObjectFunction(JNIEnv* env, jclass clazz, jmethodID id, ...) {
  va_list args;
  va_start(args, id);
  jobject object = construct(env, "NewObject", clazz, id, collectVa, &args);
  va_end(args);
  return object;
}
jobject JNICALL newObjectV(JNIEnv* env, jclass clazz, jmethodID id, va_list args) {
  va_list copy;
  va_copy(copy, args);
  jobject object = construct(env, "NewObjectV", clazz, id, collectVa, &copy);
  va_end(copy);
  return object;
}
jobject JNICALL newObjectA(JNIEnv* env, jclass clazz, jmethodID id, const jvalue* args) {
  return construct(env, "NewObjectA", clazz, id, collectArray, const_cast<jvalue*>(args));
}

jobject JNICALL toReflectedMethod(JNIEnv* env, jclass clazz, jmethodID id, jboolean isStatic) {
  if (!enter(env, "ToReflectedMethod")) {
    return nullptr;
  }
  Object* klass = checkedObject(clazz, "ToReflectedMethod");
  const Method& method = *checkedMethod(id, "ToReflectedMethod");
  if (klass == nullptr || klass->klass != classClass() ||
      !isSubclass(static_cast<Klass*>(klass), method.owner) || (isStatic != JNI_FALSE) != method.isStatic) {
    fatal("ToReflectedMethod: the class or the isStatic flag does not fit " + method.owner->name + "." +
          method.name + method.signature);
  }
  auto* reflected = newObject<ReflectedMethodObject>(findClass("java/lang/reflect/Method"));
  reflected->method = &method;
  return reinterpret_cast<jobject>(reflected);
}

}  // namespace

void checkThread(JNIEnv* env, const char* function) {
  if (!vmIsRunning()) {
    fatal(std::string(function) + " called without a running VM");
  }
  if (currentEnv() == nullptr) {
    fatal(std::string(function) + " called from a thread that is not attached to the VM");
  }
  if (env != currentEnv()) {
    fatal(std::string(function) + " called with the JNIEnv of another thread");
  }
}

// JNI allows only a few functions while an exception is pending; a JVM leaves any other call
// undone then and the exception stays pending, which is what happens here too, with a warning.
bool enter(JNIEnv* env, const char* function) {
  checkThread(env, function);
  if (auto* throwable = static_cast<ThrowableObject*>(pendingException())) {
    warn(std::string(function) + " called on thread \"" + currentThreadName() + "\" while " +
         throwableText(throwable) + " is pending; the call does nothing");
    return false;
  }
  return true;
}

void rememberMethod(const Method* method) {
  AcquireSRWLockExclusive(&methodsLock);
  handedOutMethods.insert(method);
  ReleaseSRWLockExclusive(&methodsLock);
}

void fillCallFunctions(JNINativeInterface_& table) {
  table.CallObjectMethod = callObjectMethod;
  table.CallObjectMethodV = callObjectMethodV;
  table.CallObjectMethodA = callObjectMethodA;
  table.CallIntMethod = callIntMethod;
  table.CallIntMethodV = callIntMethodV;
  table.CallIntMethodA = callIntMethodA;
  table.CallBooleanMethod = callBooleanMethod;
  table.CallBooleanMethodV = callBooleanMethodV;
  table.CallBooleanMethodA = callBooleanMethodA;
  table.CallVoidMethod = callVoidMethod;
  table.CallVoidMethodV = callVoidMethodV;
  table.CallVoidMethodA = callVoidMethodA;
  table.CallStaticObjectMethod = callStaticObjectMethod;
  table.CallStaticObjectMethodV = callStaticObjectMethodV;
  table.CallStaticObjectMethodA = callStaticObjectMethodA;
  table.CallStaticIntMethod = callStaticIntMethod;
  table.CallStaticIntMethodV = callStaticIntMethodV;
  table.CallStaticIntMethodA = callStaticIntMethodA;
  table.CallStaticBooleanMethod = callStaticBooleanMethod;
  table.CallStaticBooleanMethodV = callStaticBooleanMethodV;
  table.CallStaticBooleanMethodA = callStaticBooleanMethodA;
  table.CallStaticVoidMethod = callStaticVoidMethod;
  table.CallStaticVoidMethodV = callStaticVoidMethodV;
  table.CallStaticVoidMethodA = callStaticVoidMethodA;
  table.NewObject = newObjectFunction;
  table.NewObjectV = newObjectV;
  table.NewObjectA = newObjectA;
  // Takes a method ID as the calls do.
  table.ToReflectedMethod = toReflectedMethod;
}

}  // namespace testjvm
