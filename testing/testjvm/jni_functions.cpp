// The JNI function table: the functions a launcher calls, apart from the method calls, and a
// loud stop for every slot that nothing should call.
#include "testjvm.h"

#include <cstdio>
#include <cstring>
#include <unordered_set>
#include <utility>

namespace testjvm {

// Defined in jni_calls.cpp.
bool enter(JNIEnv* env, const char* function);
void checkThread(JNIEnv* env, const char* function);
void rememberMethod(const Method* method);

namespace {

// The names of the table's function slots after its four reserved ones, in order, read from the
// JDK's jni.h when the build is configured.
constexpr const char* slotNames[] = {
#include "jni_slot_names.inc"
};
constexpr size_t reservedSlots = 4;
constexpr size_t slotCount = sizeof(JNINativeInterface_) / sizeof(void*);
static_assert(reservedSlots + std::size(slotNames) == slotCount,
              "every slot of JNINativeInterface_ has a name");

template <size_t Slot>
void JNICALL unexpectedSlot() {
  // Never returns, so the arguments the caller pushed do not matter, even under __stdcall.
  fatal(std::string("JNI function ") + slotNames[Slot - reservedSlots] + " (table slot " +
        std::to_string(Slot) + ") was called, but the test runtime does not provide it");
}

template <size_t... Slots>
void fillUnexpected(JNINativeInterface_& table, std::index_sequence<Slots...>) {
  void** slots = reinterpret_cast<void**>(&table);
  ((slots[reservedSlots + Slots] = reinterpret_cast<void*>(&unexpectedSlot<reservedSlots + Slots>)),
   ...);
}

Klass* checkedClass(jclass reference, const char* function) {
  Object* object = checkedObject(reference, function);
  if (object == nullptr || object->klass != classClass()) {
    fatal(std::string(function) + ": the class argument is not a class");
  }
  return static_cast<Klass*>(object);
}

template <class T>
T* checkedKind(jobject reference, const char* function, const char* kind) {
  Object* object = checkedObject(reference, function);
  auto* typed = dynamic_cast<T*>(object);
  if (typed == nullptr) {
    fatal(std::string(function) + ": the argument is not " + kind);
  }
  return typed;
}

SRWLOCK charsLock = SRWLOCK_INIT;
std::unordered_set<const char*> outstandingChars;

jint JNICALL getVersion(JNIEnv* env) {
  checkThread(env, "GetVersion");
  return JNI_VERSION_10;
}

jclass JNICALL findClassFunction(JNIEnv* env, const char* name) {
  if (!enter(env, "FindClass")) {
    return nullptr;
  }
  std::string text = name ? name : "";
  if (text.rfind("java/", 0) != 0) {
    recordLookup("FindClass " + text);
  }
  logEvent("FindClass " + text);
  Klass* klass = findClass(text);
  if (klass == nullptr) {
    throwNew("java/lang/NoClassDefFoundError", text);
  }
  // Like the JVM's FindClass, it initialises the class it finds.
  return klass != nullptr && initializeClass(klass) ? reinterpret_cast<jclass>(klass) : nullptr;
}

jthrowable JNICALL exceptionOccurred(JNIEnv* env) {
  checkThread(env, "ExceptionOccurred");
  return reinterpret_cast<jthrowable>(pendingException());
}

void JNICALL exceptionDescribe(JNIEnv* env) {
  checkThread(env, "ExceptionDescribe");
  // As in a JVM: Throwable.printStackTrace() to the current System.err, and the exception is
  // cleared.
  if (auto* throwable = static_cast<ThrowableObject*>(pendingException())) {
    pendingException() = nullptr;
    logEvent("ExceptionDescribe " + throwableText(throwable));
    systemErr()->print(stackTraceText(throwable));
  }
}

void JNICALL exceptionClear(JNIEnv* env) {
  checkThread(env, "ExceptionClear");
  if (pendingException() != nullptr) {
    logEvent("ExceptionClear " + throwableText(static_cast<ThrowableObject*>(pendingException())));
  }
  pendingException() = nullptr;
}

jboolean JNICALL exceptionCheck(JNIEnv* env) {
  checkThread(env, "ExceptionCheck");
  return pendingException() != nullptr ? JNI_TRUE : JNI_FALSE;
}

void JNICALL fatalError(JNIEnv*, const char* message) {
  fatal(std::string("FatalError: ") + (message ? message : ""));
}

jobject JNICALL newGlobalRef(JNIEnv* env, jobject object) {
  checkThread(env, "NewGlobalRef");
  return reinterpret_cast<jobject>(checkedObject(object, "NewGlobalRef"));
}

void JNICALL deleteRef(JNIEnv* env, jobject object) {
  checkThread(env, "DeleteLocalRef");
  checkedObject(object, "DeleteLocalRef");
}

jboolean JNICALL isSameObject(JNIEnv* env, jobject a, jobject b) {
  checkThread(env, "IsSameObject");
  return checkedObject(a, "IsSameObject") == checkedObject(b, "IsSameObject");
}

jclass JNICALL getObjectClass(JNIEnv* env, jobject object) {
  if (!enter(env, "GetObjectClass")) {
    return nullptr;
  }
  Object* checked = checkedObject(object, "GetObjectClass");
  if (checked == nullptr) {
    fatal("GetObjectClass of null");
  }
  return reinterpret_cast<jclass>(checked->klass);
}

jclass JNICALL getSuperclass(JNIEnv* env, jclass clazz) {
  if (!enter(env, "GetSuperclass")) {
    return nullptr;
  }
  return reinterpret_cast<jclass>(checkedClass(clazz, "GetSuperclass")->super);
}

jmethodID lookUpMethod(JNIEnv* env, jclass clazz, const char* name, const char* signature,
                       bool isStatic) {
  const char* function = isStatic ? "GetStaticMethodID" : "GetMethodID";
  if (!enter(env, function)) {
    return nullptr;
  }
  Klass* klass = checkedClass(clazz, function);
  const Method* method = findMethod(klass, name, signature, isStatic);
  logEvent(std::string(function) + " " + klass->name + "." + name + signature +
           (method ? "" : " missing"));
  if (method == nullptr) {
    // HotSpot 17's message: "static Lpkg/Cls;.name(sig)", without "static " for an instance
    // method.
    throwNew("java/lang/NoSuchMethodError",
             std::string(isStatic ? "static " : "") + "L" + klass->name + ";." + name + signature);
    return nullptr;
  }
  rememberMethod(method);
  return reinterpret_cast<jmethodID>(const_cast<Method*>(method));
}

jmethodID JNICALL getMethodId(JNIEnv* env, jclass clazz, const char* name, const char* sig) {
  return lookUpMethod(env, clazz, name, sig, false);
}

jmethodID JNICALL getStaticMethodId(JNIEnv* env, jclass clazz, const char* name,
                                    const char* sig) {
  return lookUpMethod(env, clazz, name, sig, true);
}

jsize JNICALL getStringUtfLength(JNIEnv* env, jstring string) {
  if (!enter(env, "GetStringUTFLength")) {
    return 0;
  }
  return static_cast<jsize>(modifiedUtf8(checkedKind<StringObject>(
      string, "GetStringUTFLength", "a String")->units).size());
}

const char* JNICALL getStringUtfChars(JNIEnv* env, jstring string, jboolean* isCopy) {
  if (!enter(env, "GetStringUTFChars")) {
    return nullptr;
  }
  std::string text = modifiedUtf8(checkedKind<StringObject>(string, "GetStringUTFChars",
                                                           "a String")->units);
  char* chars = new char[text.size() + 1];
  std::memcpy(chars, text.c_str(), text.size() + 1);
  AcquireSRWLockExclusive(&charsLock);
  outstandingChars.insert(chars);
  ReleaseSRWLockExclusive(&charsLock);
  if (isCopy != nullptr) {
    *isCopy = JNI_TRUE;
  }
  return chars;
}

void JNICALL releaseStringUtfChars(JNIEnv* env, jstring string, const char* chars) {
  checkThread(env, "ReleaseStringUTFChars");
  checkedKind<StringObject>(string, "ReleaseStringUTFChars", "a String");
  AcquireSRWLockExclusive(&charsLock);
  bool known = outstandingChars.erase(chars) == 1;
  ReleaseSRWLockExclusive(&charsLock);
  if (!known) {
    fatal("ReleaseStringUTFChars of characters that GetStringUTFChars did not hand out, or "
          "released twice");
  }
  delete[] chars;
}

jsize JNICALL getArrayLength(JNIEnv* env, jarray array) {
  if (!enter(env, "GetArrayLength")) {
    return 0;
  }
  Object* object = checkedObject(array, "GetArrayLength");
  if (auto* chars = dynamic_cast<CharArray*>(object)) {
    return static_cast<jsize>(chars->units.size());
  }
  return static_cast<jsize>(checkedKind<ObjectArray>(array, "GetArrayLength", "an array")
                                ->items.size());
}

jobjectArray JNICALL newObjectArray(JNIEnv* env, jsize length, jclass elementClass,
                                    jobject initial) {
  if (!enter(env, "NewObjectArray")) {
    return nullptr;
  }
  Klass* element = checkedClass(elementClass, "NewObjectArray");
  if (length < 0) {
    throwNew("java/lang/NegativeArraySizeException", std::to_string(length));
    return nullptr;
  }
  auto* array = newObject<ObjectArray>(classClass());
  array->elementClass = element;
  array->items.assign(static_cast<size_t>(length), checkedObject(initial, "NewObjectArray"));
  return reinterpret_cast<jobjectArray>(array);
}

bool inBounds(jsize index, jsize count, size_t length) {
  if (index < 0 || count < 0 || static_cast<size_t>(index) + count > length) {
    throwNew("java/lang/ArrayIndexOutOfBoundsException",
             "Array region " + std::to_string(index) + ".." + std::to_string(index + count) +
                 " out of bounds for length " + std::to_string(length));
    return false;
  }
  return true;
}

jobject JNICALL getObjectArrayElement(JNIEnv* env, jobjectArray array, jsize index) {
  if (!enter(env, "GetObjectArrayElement")) {
    return nullptr;
  }
  auto* objects = checkedKind<ObjectArray>(array, "GetObjectArrayElement", "an Object[]");
  return inBounds(index, 1, objects->items.size())
             ? reinterpret_cast<jobject>(objects->items[index]) : nullptr;
}

void JNICALL setObjectArrayElement(JNIEnv* env, jobjectArray array, jsize index, jobject value) {
  if (!enter(env, "SetObjectArrayElement")) {
    return;
  }
  auto* objects = checkedKind<ObjectArray>(array, "SetObjectArrayElement", "an Object[]");
  Object* element = checkedObject(value, "SetObjectArrayElement");
  if (!inBounds(index, 1, objects->items.size())) {
    return;
  }
  if (element != nullptr && !isSubclass(element->klass, objects->elementClass)) {
    throwNew("java/lang/ArrayStoreException", dottedName(element->klass));
    return;
  }
  objects->items[index] = element;
}

jcharArray JNICALL newCharArray(JNIEnv* env, jsize length) {
  if (!enter(env, "NewCharArray")) {
    return nullptr;
  }
  if (length < 0) {
    throwNew("java/lang/NegativeArraySizeException", std::to_string(length));
    return nullptr;
  }
  auto* array = newObject<CharArray>(classClass());
  array->units.assign(static_cast<size_t>(length), 0);
  return reinterpret_cast<jcharArray>(array);
}

void JNICALL setCharArrayRegion(JNIEnv* env, jcharArray array, jsize start, jsize count,
                                const jchar* units) {
  if (!enter(env, "SetCharArrayRegion")) {
    return;
  }
  auto* chars = checkedKind<CharArray>(array, "SetCharArrayRegion", "a char[]");
  if (inBounds(start, count, chars->units.size()) && count > 0) {
    std::memcpy(chars->units.data() + start, units, count * sizeof(jchar));
  }
}

jint JNICALL throwFunction(JNIEnv* env, jthrowable throwable) {
  checkThread(env, "Throw");
  Object* object = checkedObject(throwable, "Throw");
  if (object == nullptr || !isInstanceOf(object, "java/lang/Throwable")) {
    fatal("Throw was given something that is not a Throwable");
  }
  pendingException() = object;
  logEvent("Throw " + throwableText(static_cast<ThrowableObject*>(object)));
  return JNI_OK;
}

jsize JNICALL getStringLength(JNIEnv* env, jstring string) {
  if (!enter(env, "GetStringLength")) {
    return 0;
  }
  return static_cast<jsize>(checkedKind<StringObject>(string, "GetStringLength", "a String")->units.size());
}

void JNICALL getStringRegion(JNIEnv* env, jstring string, jsize start, jsize count, jchar* units) {
  if (!enter(env, "GetStringRegion")) {
    return;
  }
  const std::u16string& text = checkedKind<StringObject>(string, "GetStringRegion", "a String")->units;
  if (inBounds(start, count, text.size()) && count > 0) {
    std::memcpy(units, text.data() + start, count * sizeof(jchar));
  }
}

JNINativeInterface_ buildTable() {
  JNINativeInterface_ table{};
  fillUnexpected(table, std::make_index_sequence<std::size(slotNames)>());
  table.GetVersion = getVersion;
  table.FindClass = findClassFunction;
  table.Throw = throwFunction;
  table.ExceptionOccurred = exceptionOccurred;
  table.ExceptionDescribe = exceptionDescribe;
  table.ExceptionClear = exceptionClear;
  table.ExceptionCheck = exceptionCheck;
  table.FatalError = fatalError;
  table.NewGlobalRef = newGlobalRef;
  table.DeleteGlobalRef = deleteRef;
  table.DeleteLocalRef = deleteRef;
  table.IsSameObject = isSameObject;
  table.GetObjectClass = getObjectClass;
  table.GetSuperclass = getSuperclass;
  table.GetMethodID = getMethodId;
  table.GetStaticMethodID = getStaticMethodId;
  table.GetStringLength = getStringLength;
  table.GetStringRegion = getStringRegion;
  table.GetStringUTFLength = getStringUtfLength;
  table.GetStringUTFChars = getStringUtfChars;
  table.ReleaseStringUTFChars = releaseStringUtfChars;
  table.GetArrayLength = getArrayLength;
  table.NewObjectArray = newObjectArray;
  table.GetObjectArrayElement = getObjectArrayElement;
  table.SetObjectArrayElement = setObjectArrayElement;
  table.NewCharArray = newCharArray;
  table.SetCharArrayRegion = setCharArrayRegion;
  fillCallFunctions(table);
  return table;
}

}  // namespace

const JNINativeInterface_* nativeInterface() {
  static const JNINativeInterface_ table = buildTable();
  return &table;
}

}  // namespace testjvm
