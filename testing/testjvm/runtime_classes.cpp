// The runtime's own classes that a launcher reaches: String, System, Class, the system class
// loader, reflected methods, the byte streams, PrintStream, the throwables and
// sun/launcher/LauncherHelper.
#include "testjvm.h"

namespace testjvm {

namespace {

jvalue none() { return jvalue{}; }

jvalue objectValue(Object* object) {
  jvalue value{};
  value.l = reinterpret_cast<jobject>(object);
  return value;
}

Object* argument(const jvalue* args, int index) {
  return checkedObject(args[index].l, "method argument");
}

PrintStreamObject* standardOut = nullptr;
PrintStreamObject* standardErr = nullptr;

// ---- java/lang/String

jvalue stringFromChars(Object* self, const jvalue* args) {
  Object* chars = argument(args, 0);
  if (chars == nullptr) {
    throwNew("java/lang/NullPointerException", nullptr);
    return none();
  }
  const std::vector<jchar>& units = static_cast<CharArray*>(chars)->units;
  static_cast<StringObject*>(self)->units.assign(units.begin(), units.end());
  return none();
}

// ---- java/lang/System

jvalue exitMethod(Object*, const jvalue* args) { systemExit(args[0].i); }

jvalue setOut(Object*, const jvalue* args) {
  standardOut = static_cast<PrintStreamObject*>(argument(args, 0));
  logEvent("System.setOut");
  return none();
}

jvalue setErr(Object*, const jvalue* args) {
  standardErr = static_cast<PrintStreamObject*>(argument(args, 0));
  logEvent("System.setErr");
  return none();
}

// ---- java/lang/Class, java/lang/ClassLoader, java/lang/reflect/Method

// The system class loader knows every class, the application's and the runtime's.
jvalue forName(Object*, const jvalue* args) {
  Object* what = argument(args, 0);
  if (what == nullptr) {
    throwNew("java/lang/NullPointerException", nullptr);
    return none();
  }
  const std::u16string& name = static_cast<StringObject*>(what)->units;
  std::string slashName = utf8(name);
  for (char& c : slashName) {
    if (c == '.') {
      c = '/';
    }
  }
  if (slashName.rfind("java/", 0) != 0) {
    recordLookup("Class.forName " + utf8(name) + (args[1].z ? " initialize" : ""));
  }
  logEvent("Class.forName " + utf8(name));
  Klass* klass = findClass(slashName);
  if (klass == nullptr) {
    throwNew("java/lang/ClassNotFoundException", &name,
             {"java.base/java.lang.Class.forName0(Native Method)",
              "java.base/java.lang.Class.forName(Class.java:467)"});
    return none();
  }
  if (args[1].z && !initializeClass(klass)) {
    return none();
  }
  return objectValue(klass);
}

jvalue className(Object* self, const jvalue*) {
  return objectValue(newString(utf16(dottedName(static_cast<Klass*>(self)))));
}

jvalue systemClassLoader(Object*, const jvalue*) {
  static Object* loader = newObject<Object>(findClass("java/lang/ClassLoader"));
  return objectValue(loader);
}

jvalue methodModifiers(Object* self, const jvalue*) {
  // Every method of this runtime is public (0x0001); static adds 0x0008.
  jvalue value{};
  value.i = static_cast<ReflectedMethodObject*>(self)->method->isStatic ? 0x0009 : 0x0001;
  return value;
}

// ---- java/io streams

jvalue openFileOutputStream(Object* self, const jvalue* args, bool append) {
  Object* name = argument(args, 0);
  if (name == nullptr) {
    throwNew("java/lang/NullPointerException", nullptr);
    return none();
  }
  std::u16string path = static_cast<StringObject*>(name)->units;
  std::wstring widePath(path.begin(), path.end());
  HANDLE file = CreateFileW(widePath.c_str(), append ? FILE_APPEND_DATA : GENERIC_WRITE,
                            FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            append ? OPEN_ALWAYS : CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    // The JDK's message: the path, then the system's text for the error in parentheses.
    DWORD error = GetLastError();
    wchar_t reason[512] = L"";
    FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0,
                   reason, 512, nullptr);
    std::wstring text = reason;
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L'.')) {
      text.pop_back();
    }
    std::u16string message = path + u" (" + std::u16string(text.begin(), text.end()) + u")";
    throwNew("java/io/FileNotFoundException", &message,
             {"java.base/java.io.FileOutputStream.open0(Native Method)",
              "java.base/java.io.FileOutputStream.open(FileOutputStream.java:298)",
              "java.base/java.io.FileOutputStream.<init>(FileOutputStream.java:237)"});
    return none();
  }
  static_cast<FileOutputStreamObject*>(self)->file = file;
  logEvent("FileOutputStream " + utf8(path) + (append ? " append" : " replace"));
  return none();
}

jvalue fileOutputStreamAppend(Object* self, const jvalue* args) {
  return openFileOutputStream(self, args, args[1].z != JNI_FALSE);
}

jvalue fileOutputStreamReplace(Object* self, const jvalue* args) {
  return openFileOutputStream(self, args, false);
}

jvalue byteArrayOutputStreamInit(Object*, const jvalue*) { return none(); }

jvalue byteArrayOutputStreamToString(Object* self, const jvalue*) {
  // The platform's default charset of this runtime is UTF-8.
  return objectValue(newString(utf16(static_cast<ByteArrayOutputStreamObject*>(self)->bytes)));
}

jvalue printStreamInit(Object* self, const jvalue* args) {
  Object* out = argument(args, 0);
  if (out == nullptr) {
    throwNew("java/lang/NullPointerException", nullptr);
    return none();
  }
  if (!isInstanceOf(out, "java/io/OutputStream")) {
    fatal("PrintStream(OutputStream) was given a " + dottedName(out->klass));
  }
  static_cast<PrintStreamObject*>(self)->out = out;
  return none();
}

jvalue printStreamPrintln(Object* self, const jvalue* args) {
  Object* text = argument(args, 0);
  static_cast<PrintStreamObject*>(self)->println(
      text ? utf8(static_cast<StringObject*>(text)->units) : "null");
  return none();
}

// A StringWriter keeps its text as a ByteArrayOutputStream keeps its bytes (UTF-8 here), and a
// PrintWriter hands what it prints on as a PrintStream does, so both reuse those objects.
jvalue stringWriterInit(Object*, const jvalue*) { return none(); }

jvalue printWriterInit(Object* self, const jvalue* args) {
  Object* out = argument(args, 0);
  if (out == nullptr) {
    throwNew("java/lang/NullPointerException", nullptr);
    return none();
  }
  if (!isInstanceOf(out, "java/io/StringWriter")) {
    fatal("this runtime's PrintWriter(Writer) takes a StringWriter, not a " + dottedName(out->klass));
  }
  static_cast<PrintStreamObject*>(self)->out = out;
  return none();
}

// ---- java/lang/Throwable

jvalue printStackTraceTo(Object* self, const jvalue* args) {
  Object* stream = argument(args, 0);
  if (stream == nullptr) {
    throwNew("java/lang/NullPointerException", nullptr);
    return none();
  }
  static_cast<PrintStreamObject*>(stream)->print(
      stackTraceText(static_cast<ThrowableObject*>(self)));
  return none();
}

jvalue printStackTrace(Object* self, const jvalue*) {
  systemErr()->print(stackTraceText(static_cast<ThrowableObject*>(self)));
  return none();
}

jvalue throwableToString(Object* self, const jvalue*) {
  return objectValue(newString(utf16(throwableText(static_cast<ThrowableObject*>(self)))));
}

jvalue getCause(Object* self, const jvalue*) {
  return objectValue(static_cast<ThrowableObject*>(self)->cause);
}

jvalue getMessage(Object* self, const jvalue*) {
  auto* throwable = static_cast<ThrowableObject*>(self);
  return objectValue(throwable->hasMessage ? newString(throwable->message) : nullptr);
}

// ---- sun/launcher/LauncherHelper

jvalue checkAndLoadMain(Object*, const jvalue* args) {
  Object* what = argument(args, 2);
  std::string name = what ? utf8(static_cast<StringObject*>(what)->units) : "null";
  recordLookup("checkAndLoadMain " + std::string(args[0].z ? "true " : "false ") +
                         std::to_string(args[1].i) + " " + name);
  logEvent("checkAndLoadMain " + name);
  if (args[1].i < 1 || args[1].i > 3) {
    fatal("checkAndLoadMain: this runtime knows modes 1 to 3 (a class, a jar, a module), got " +
          std::to_string(args[1].i));
  }
  if (environment(L"TESTJVM_CHECKANDLOADMAIN") == L"null") {
    return objectValue(nullptr);
  }
  // Every jar's manifest and every module's descriptor here name the report class; a module
  // given with its class ("module/class") starts that class.
  if (args[1].i == 2) {
    name = "test.app.Report";
  } else if (args[1].i == 3) {
    name = name.find('/') == std::string::npos ? "test.app.Report" : name.substr(name.find('/') + 1);
  }
  // The JDK's helper accepts the name with dots or slashes, and ends the VM itself when the
  // class or its main method cannot be found.
  std::string slashName = name;
  for (char& c : slashName) {
    if (c == '.') {
      c = '/';
    }
  }
  Klass* klass = findClass(slashName);
  if (klass == nullptr) {
    systemErr()->println("Error: Could not find or load main class " + name);
    systemErr()->println("Caused by: java.lang.ClassNotFoundException: " + name);
    systemExit(1);
  }
  if (findMethod(klass, "main", "([Ljava/lang/String;)V", true) == nullptr) {
    systemErr()->println("Error: Main method not found in class " + name +
                         ", please define the main method as:");
    systemErr()->println("   public static void main(String[] args)");
    systemErr()->println("or a JavaFX application class must extend javafx.application.Application");
    systemExit(1);
  }
  return objectValue(klass);
}

Object* allocateString() { return newObject<StringObject>(findClass("java/lang/String")); }
Object* allocateFileOutputStream() {
  return newObject<FileOutputStreamObject>(findClass("java/io/FileOutputStream"));
}
Object* allocateByteArrayOutputStream() {
  return newObject<ByteArrayOutputStreamObject>(findClass("java/io/ByteArrayOutputStream"));
}
Object* allocateStringWriter() {
  return newObject<ByteArrayOutputStreamObject>(findClass("java/io/StringWriter"));
}
Object* allocatePrintWriter() { return newObject<PrintStreamObject>(findClass("java/io/PrintWriter")); }
Object* allocatePrintStream() {
  return newObject<PrintStreamObject>(findClass("java/io/PrintStream"));
}

}  // namespace

void FileOutputStreamObject::write(const std::string& bytes) {
  DWORD written = 0;
  if (file != INVALID_HANDLE_VALUE && file != nullptr) {
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  }
}

void PrintStreamObject::print(const std::string& utf8Text) {
  // Without automatic flushing a PrintStream on an OutputStream still hands every write on at
  // once; there is no buffer to lose when the process ends.
  if (out != nullptr) {
    static_cast<OutputStreamObject*>(out)->write(utf8Text);
  }
}

// System.out or System.err set to null drop what the runtime itself prints.
static PrintStreamObject* orDropping(PrintStreamObject* stream) {
  static PrintStreamObject* dropping = newPrintStream(nullptr);
  return stream != nullptr ? stream : dropping;
}

PrintStreamObject* systemOut() { return orDropping(standardOut); }
PrintStreamObject* systemErr() { return orDropping(standardErr); }

void setStandardStreams(PrintStreamObject* out, PrintStreamObject* err) {
  standardOut = out;
  standardErr = err;
}

FileOutputStreamObject* newFileOutputStream(HANDLE file) {
  auto* stream = static_cast<FileOutputStreamObject*>(allocateFileOutputStream());
  stream->file = file;
  return stream;
}

PrintStreamObject* newPrintStream(Object* out) {
  auto* stream = static_cast<PrintStreamObject*>(allocatePrintStream());
  stream->out = out;
  return stream;
}

void defineRuntimeClasses() {
  defineClass("java/lang/Object", nullptr, true, nullptr, {});
  defineClass("java/lang/String", "java/lang/Object", true, allocateString,
              {{"<init>", "([C)V", false, stringFromChars}});
  // Class exists before every other class; its methods join it here.
  Klass* classKlass = classClass();
  const Method classMethods[] = {
      {"forName", "(Ljava/lang/String;ZLjava/lang/ClassLoader;)Ljava/lang/Class;", true, forName},
      {"getName", "()Ljava/lang/String;", false, className}};
  for (Method method : classMethods) {
    method.owner = classKlass;
    classKlass->methods.push_back(method);
  }
  defineClass("java/lang/ClassLoader", "java/lang/Object", true, nullptr,
              {{"getSystemClassLoader", "()Ljava/lang/ClassLoader;", true, systemClassLoader}});
  defineClass("java/lang/reflect/Method", "java/lang/Object", true, nullptr,
              {{"getModifiers", "()I", false, methodModifiers}});
  defineClass("java/lang/System", "java/lang/Object", true, nullptr,
              {{"exit", "(I)V", true, exitMethod},
               {"setOut", "(Ljava/io/PrintStream;)V", true, setOut},
               {"setErr", "(Ljava/io/PrintStream;)V", true, setErr}});
  defineClass("java/io/OutputStream", "java/lang/Object", true, nullptr, {});
  defineClass("java/io/FileOutputStream", "java/io/OutputStream", true, allocateFileOutputStream,
              {{"<init>", "(Ljava/lang/String;Z)V", false, fileOutputStreamAppend},
               {"<init>", "(Ljava/lang/String;)V", false, fileOutputStreamReplace}});
  defineClass("java/io/ByteArrayOutputStream", "java/io/OutputStream", true,
              allocateByteArrayOutputStream,
              {{"<init>", "()V", false, byteArrayOutputStreamInit},
               {"toString", "()Ljava/lang/String;", false, byteArrayOutputStreamToString}});
  defineClass("java/io/PrintStream", "java/lang/Object", true, allocatePrintStream,
              {{"<init>", "(Ljava/io/OutputStream;)V", false, printStreamInit},
               {"println", "(Ljava/lang/String;)V", false, printStreamPrintln}});
  defineClass("java/io/Writer", "java/lang/Object", true, nullptr, {});
  defineClass("java/io/StringWriter", "java/io/Writer", true, allocateStringWriter,
              {{"<init>", "()V", false, stringWriterInit},
               {"toString", "()Ljava/lang/String;", false, byteArrayOutputStreamToString}});
  defineClass("java/io/PrintWriter", "java/io/Writer", true, allocatePrintWriter,
              {{"<init>", "(Ljava/io/Writer;)V", false, printWriterInit}});
  defineClass("java/lang/Throwable", "java/lang/Object", true, nullptr,
              {{"printStackTrace", "(Ljava/io/PrintStream;)V", false, printStackTraceTo},
               {"printStackTrace", "(Ljava/io/PrintWriter;)V", false, printStackTraceTo},
               {"printStackTrace", "()V", false, printStackTrace},
               {"toString", "()Ljava/lang/String;", false, throwableToString},
               {"getMessage", "()Ljava/lang/String;", false, getMessage},
               {"getCause", "()Ljava/lang/Throwable;", false, getCause}});
  const char* throwables[][2] = {
      {"java/lang/Exception", "java/lang/Throwable"},
      {"java/lang/Error", "java/lang/Throwable"},
      {"java/lang/RuntimeException", "java/lang/Exception"},
      {"java/lang/IllegalStateException", "java/lang/RuntimeException"},
      {"java/lang/IllegalArgumentException", "java/lang/RuntimeException"},
      {"java/lang/NullPointerException", "java/lang/RuntimeException"},
      {"java/lang/ArrayIndexOutOfBoundsException", "java/lang/RuntimeException"},
      {"java/lang/ArrayStoreException", "java/lang/RuntimeException"},
      {"java/lang/NegativeArraySizeException", "java/lang/RuntimeException"},
      {"java/lang/InstantiationException", "java/lang/Exception"},
      {"java/lang/ClassNotFoundException", "java/lang/Exception"},
      {"java/io/IOException", "java/lang/Exception"},
      {"java/io/FileNotFoundException", "java/io/IOException"},
      {"java/lang/LinkageError", "java/lang/Error"},
      {"java/lang/NoClassDefFoundError", "java/lang/LinkageError"},
      {"java/lang/ExceptionInInitializerError", "java/lang/LinkageError"},
      {"java/lang/IncompatibleClassChangeError", "java/lang/LinkageError"},
      {"java/lang/NoSuchMethodError", "java/lang/IncompatibleClassChangeError"},
  };
  for (const auto& [name, super] : throwables) {
    defineClass(name, super, true, nullptr, {});
  }
  defineClass("sun/launcher/LauncherHelper", "java/lang/Object", true, nullptr,
              {{"checkAndLoadMain", "(ZILjava/lang/String;)Ljava/lang/Class;", true,
                checkAndLoadMain}});
}

}  // namespace testjvm
