// Runs the launcher's Java main thread against a real HotSpot (libjvm.so), standing in for the
// Windows side: it binds the runtime's entry points, creates the thread with the stack size the
// launcher would choose, and tells on stdout, one line per event, what the launcher would have
// shown. It ends with the code the launcher would end with (-1 appears as 255).
//
//   jvm_host [--libjvm PATH] [--no-boot-loader-lookup] [--failure-check] [--answer ok|cancel] [--sleep-after-main]
//            [--vm-option OPTION]... [--output-file PATH] [--output-append] [--error-file PATH]
//            [--error-append] [--class-data-archive FOLDER [--archive-class-path JAR[:JAR]...]
//            [--archive-module-path JAR[:JAR]...]] [--java-command PATH] [--runtime-output-shown]
//            (--main-class NAME | --main-jar PATH | --main-module MODULE[/CLASS]) [--arg UTF8]... [--arg-units HEX,HEX...]...
//            [--forward UTF8]... [--forward-after-destroy]
//
// With --forward, a forwarded start is served on a thread of its own when main is about to start
// (or, with --forward-after-destroy, once the VM is gone): its answer shows as "reply N", its
// absence as "no-reply".
//
// The runtime's own output goes on to the host's streams. With --runtime-output-shown the host
// plays the console launcher, whose user sees that output, so messages do not repeat it. An abort
// while the VM is being created ends the host from the abort hook with -1, as it ends the
// launcher, after "abort-ends-process".
//
// With --class-data-archive the class-data archive is planned as the launcher plans it, for the
// given jars as the class path (and module path, which the caller hands the VM itself); its
// options go first, and it is published when the VM has ended.
// As in the launcher, only for a runtime whose release file names version 13 or later; from 25
// on, when the runtime has bin/java (or the PATH --java-command names), the ahead-of-time cache,
// whose assembly the host runs to its end after the VM has ended ("archive-assembled yes|no"),
// where the launcher would leave it running.
//
// --libjvm names the runtime (default: the build's JDK). Like the launcher, the host hands the VM
// "-Dsun.java.command=" with the main class and the arguments unless a --vm-option sets it.
//
// File names take "/" as their separator here; a time-stamp pattern is filled with the fixed
// time 2026-12-06 14:05:09.007, with yyyy MM dd HH mm ss as the only pictures.

#include <dirent.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <pthread.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <utility>
#include <string>
#include <string_view>
#include <vector>

#include "base/message_format.h"
#include "base/text.h"
#include "jvm/class_data_archive.h"
#include "jvm/java_host.h"
#include "jvm/java_vm.h"
#include "jvm/main_invocation.h"
#include "jvm/runtime_output.h"
#include "jvm/secondary_main.h"
#include "jvm/time_stamp.h"
#include "jvm/vm_parameters.h"
#include "runtime/release_file.h"
#include "resources/resource_ids.h"

namespace {

using launcher::JavaMainRequest;
using launcher::JavaMainResult;

void printLine(const std::string& line) {
  std::fputs((line + "\n").c_str(), stdout);
  std::fflush(stdout);
}

std::u16string fromUtf8(std::string_view text) {
  std::u16string result;
  for (std::size_t i = 0; i < text.size();) {
    const unsigned char lead = static_cast<unsigned char>(text[i]);
    const int extra = lead < 0x80 ? 0 : lead < 0xE0 ? 1 : lead < 0xF0 ? 2 : 3;
    char32_t c = extra == 0 ? lead : lead & (0x3F >> extra);
    for (int k = 1; k <= extra && i + k < text.size(); ++k) c = (c << 6) | (text[i + k] & 0x3F);
    i += 1 + extra;
    if (c >= 0x10000) {
      result += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
      result += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
    } else {
      result += static_cast<char16_t>(c);
    }
  }
  return result;
}

// UTF-8 for the output line; line breaks, tabs and backslashes escaped so one event stays one
// line, and an unpaired surrogate written as \uXXXX.
std::string escapedUtf8(std::u16string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (c == u'\n') {
      out += "\\n";
    } else if (c == u'\r') {
      out += "\\r";
    } else if (c == u'\t') {
      out += "\\t";
    } else if (c == u'\\') {
      out += "\\\\";
    } else if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000) {
      out += launcher::utf8FromUtf16(text.substr(i, 2));
      ++i;
    } else if (c >= 0xD800 && c < 0xE000) {
      char buffer[8];
      std::snprintf(buffer, sizeof buffer, "\\u%04x", static_cast<unsigned>(c));
      out += buffer;
    } else {
      out += launcher::utf8FromUtf16(text.substr(i, 1));
    }
  }
  return out;
}

// Texts standing in for the executable's string table; each shows its arguments plainly.
const std::map<unsigned, std::u16string> kTexts = {
    {IDS_VM_CREATION_FAILED, u"%ls: %ls"},
    {IDS_MAIN_CLASS_NAME_INVALID, u"invalid main class name %ls"},
    {IDS_VM_CREATION_REASON, u"the Java VM could not be created"},
    {IDS_MAIN_CLASS_NOT_FOUND, u"main class %ls not found: %ls"},
    {IDS_MAIN_METHOD_MISSING, u"%ls has no main method: %ls"},
    {IDS_MAIN_NEEDS_INSTANCE, u"%ls is an instance method without an object"},
    {IDS_JNI_ERR, u"unknown error"},
    {IDS_JNI_EDETACHED, u"thread detached"},
    {IDS_JNI_EVERSION, u"JNI version error"},
    {IDS_JNI_ENOMEM, u"not enough memory"},
    {IDS_JNI_EEXIST, u"VM already created"},
    {IDS_JNI_EINVAL, u"invalid arguments"},
    {IDS_VM_RUNTIME_REPORTS, u"the runtime said: %ls"},
};

// Both passes of the system's date and time formatting in one, for the fixed time.
std::optional<std::u16string> fillPictures(std::u16string_view picture, const launcher::LocalTime&) {
  static const std::pair<std::u16string_view, std::u16string_view> kPictures[] = {
      {u"yyyy", u"2026"}, {u"MM", u"12"}, {u"dd", u"06"}, {u"HH", u"14"}, {u"mm", u"05"}, {u"ss", u"09"}};
  std::u16string out;
  for (std::size_t i = 0; i < picture.size();) {
    bool filled = false;
    for (const auto& [name, value] : kPictures) {
      if (picture.substr(i).starts_with(name)) {
        out += value;
        i += name.size();
        filled = true;
        break;
      }
    }
    if (!filled) out += picture[i++];
  }
  return out;
}

// A forwarded start, served as the first instance's worker serves it.
struct Forwarding {
  bool wanted = false;
  bool afterDestroy = false;
  std::u16string mainClass;
  std::vector<std::u16string> arguments;
  JavaVM* javaVm = nullptr;
};
Forwarding forwarding;

class PrintingReply final : public launcher::SecondaryMainReply {
 public:
  void send(std::int32_t result) override { printLine("reply " + std::to_string(result)); }
};

void* forwardingThread(void*) {
  PrintingReply reply;
  if (!launcher::callSecondaryMain(forwarding.javaVm, forwarding.mainClass, forwarding.arguments, reply)) {
    printLine("no-reply");
  }
  return nullptr;
}

void serveForwardedStart() {
  pthread_t thread;
  if (pthread_create(&thread, nullptr, forwardingThread, nullptr) == 0) pthread_join(thread, nullptr);
}

class PrintingHostServices final : public launcher::JavaHostServices {
 public:
  PrintingHostServices(bool answerOk, bool runtimeOutputShown)
      : answerOk_(answerOk), runtimeOutputShown_(runtimeOutputShown) {}

  void showError(unsigned id, std::initializer_list<launcher::MessageArg> args) override {
    printLine("message " + std::to_string(id) + ": " + escapedUtf8(launcher::formatMessage(text(id), args)));
  }
  std::u16string text(unsigned id) override {
    const auto found = kTexts.find(id);
    return found == kTexts.end() ? std::u16string() : found->second;
  }
  bool confirmFailure(std::u16string_view stackTrace) override {
    printLine("failure-dialog: " + escapedUtf8(stackTrace));
    printLine(answerOk_ ? "failure-dialog-answer ok" : "failure-dialog-answer cancel");
    return answerOk_;
  }
  void closeSplashes() override { printLine("close-splashes"); }
  void signalMainStarted(JavaVM* javaVm) override {
    printLine("main-started");
    forwarding.javaVm = javaVm;
    if (forwarding.wanted && !forwarding.afterDestroy) serveForwardedStart();
  }
  [[noreturn]] void sleepForever() override {
    printLine("sleep-forever");
    for (;;) pause();
  }
  void stampStreamFileNames(std::u16string& outputFile, std::u16string& errorFile) override {
    printLine("local-time-read");
    const launcher::LocalTime time{2026, 12, 0, 6, 14, 5, 9, 7};
    outputFile = launcher::expandTimeStamp(outputFile, time, fillPictures, fillPictures);
    errorFile = launcher::expandTimeStamp(errorFile, time, fillPictures, fillPictures);
  }
  void createParentFolders(std::u16string_view filePath) override {
    printLine("parent-folders " + escapedUtf8(filePath));
    const std::string path = escapedUtf8(filePath);
    for (std::size_t slash = path.find('/', 1); slash != std::string::npos; slash = path.find('/', slash + 1)) {
      mkdir(path.substr(0, slash).c_str(), 0777);
    }
  }
  void writeStreamFile(std::u16string_view filePath, bool append, std::string_view bytes) override {
    printLine("stream-file " + escapedUtf8(filePath) + (append ? " append" : " replace"));
    if (FILE* file = std::fopen(escapedUtf8(filePath).c_str(), append ? "ab" : "wb")) {
      std::fwrite(bytes.data(), 1, bytes.size(), file);
      std::fclose(file);
    }
  }
  // Latin-1 stands in for the Windows code page.
  std::u16string fromRuntimeCodePage(std::string_view bytes) override {
    std::u16string text;
    for (unsigned char c : bytes) text += c;
    return text;
  }
  bool userSeesRuntimeOutput() override { return runtimeOutputShown_; }

 private:
  bool answerOk_;
  bool runtimeOutputShown_;
};

// The runtime's own C library is the host's.
std::size_t formatHostText(FILE*, char* buffer, std::size_t size, const char* format, va_list args, bool& cut) {
  const int length = std::vsnprintf(buffer, size, format, args);
  if (length < 0 || size == 0) return 0;
  cut = static_cast<std::size_t>(length) >= size;
  return std::min(static_cast<std::size_t>(length), size - 1);
}
void passOnToHostStream(FILE* stream, std::string_view text) {
  std::fwrite(text.data(), 1, text.size(), stream);
  std::fflush(stream);
}

std::string narrow(std::u16string_view text) { return escapedUtf8(text); }

class PosixArchiveFiles final : public launcher::ArchiveFiles {
 public:
  std::optional<launcher::FileStamp> stamp(std::u16string_view path) override {
    struct stat status;
    if (stat(narrow(path).c_str(), &status) != 0) return std::nullopt;
    return launcher::FileStamp{static_cast<std::uint64_t>(status.st_size),
                               static_cast<std::uint64_t>(status.st_mtim.tv_sec) * 1000000000u +
                                   static_cast<std::uint64_t>(status.st_mtim.tv_nsec),
                               S_ISDIR(status.st_mode)};
  }
  bool makeFolders(std::u16string_view folder) override {
    const std::string path = narrow(folder);
    for (std::size_t slash = path.find('/', 1); slash != std::string::npos; slash = path.find('/', slash + 1)) {
      mkdir(path.substr(0, slash).c_str(), 0777);
    }
    mkdir(path.c_str(), 0777);
    const auto made = stamp(folder);
    return made && made->isFolder;
  }
  bool createNew(std::u16string_view path) override {
    const int fd = open(narrow(path).c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
    if (fd >= 0) close(fd);
    return fd >= 0;
  }
  bool replace(std::u16string_view from, std::u16string_view to) override {
    return rename(narrow(from).c_str(), narrow(to).c_str()) == 0;
  }
  void remove(std::u16string_view path) override { unlink(narrow(path).c_str()); }
  std::vector<std::u16string> namesStartingWith(std::u16string_view folder, std::u16string_view prefix) override {
    std::vector<std::u16string> names;
    if (DIR* dir = opendir(narrow(folder).c_str())) {
      while (const dirent* entry = readdir(dir)) {
        const std::u16string name = fromUtf8(entry->d_name);
        if (name.starts_with(prefix)) names.push_back(name);
      }
      closedir(dir);
    }
    return names;
  }
};

// The archive of this run, when one is planned and not yet published.
struct {
  launcher::ClassDataArchiveRequest request;
  launcher::ClassDataArchivePlan plan;
  bool pending = false;
} archive;

// The assembly in the background, as the launcher starts it, but waited for: its output into its
// log, none to the host's streams.
void assembleCache(const std::vector<std::u16string>& command, const std::string& log) {
  std::vector<std::string> arguments;
  for (const std::u16string& argument : command) arguments.push_back(narrow(argument));
  std::vector<char*> argv;
  for (std::string& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);
  const pid_t child = fork();
  if (child == 0) {
    const int fd = open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    dup2(fd, 1);
    dup2(fd, 2);
    execv(argv[0], argv.data());
    _exit(127);
  }
  int status = 0;
  if (child > 0) waitpid(child, &status, 0);
  printLine(std::string("archive-assembled ") + (child > 0 && WIFEXITED(status) && WEXITSTATUS(status) == 0 ? "yes" : "no"));
}

void finishArchive() {
  if (!archive.pending) return;
  archive.pending = false;
  PosixArchiveFiles files;
  if (!archive.plan.assembled.empty()) {
    const auto command = launcher::cacheAssemblyCommand(archive.request, archive.plan, files);
    if (command) assembleCache(*command, narrow(archive.plan.assemblyLog));
    printLine(std::string("archive-recorded ") + (command ? "yes" : "no"));
    return;
  }
  const bool published = launcher::publishClassDataArchive(archive.request, archive.plan, files);
  printLine(std::string("archive-published ") + (published ? "yes" : "no"));
}

void JNICALL onVmExit(jint code) {
  printLine("exit-hook " + std::to_string(code));
  finishArchive();
}
void JNICALL onVmAbort() {
  printLine("abort-hook");
  const bool duringCreation = launcher::reportVmCreationAbort();
  if (archive.pending) {
    archive.pending = false;
    PosixArchiveFiles files;
    launcher::abandonClassDataArchive(archive.plan, files);
  }
  if (duringCreation) {
    printLine("abort-ends-process");
    _exit(255);
  }
}

// The runtime's version from the release file of its home, found above libjvm.so (lib/server in
// 9 and later, jre/lib/amd64/server in 8, which has none).
std::optional<launcher::JavaVersion> releaseVersion(const std::string& libjvm) {
  std::string folder = libjvm.substr(0, libjvm.rfind('/'));
  for (int level = 0; level < 5 && folder.rfind('/') != std::string::npos; ++level) {
    folder.resize(folder.rfind('/'));
    std::ifstream in(folder + "/release", std::ios::binary);
    if (in) return launcher::releaseJavaVersion(std::string(std::istreambuf_iterator<char>(in), {}));
  }
  return std::nullopt;
}

std::vector<std::u16string> colonSeparated(const std::string& list) {
  std::vector<std::u16string> entries;
  for (std::size_t start = 0; start < list.size();) {
    std::size_t end = list.find(':', start);
    if (end == std::string::npos) end = list.size();
    entries.push_back(fromUtf8(list.substr(start, end - start)));
    start = end + 1;
  }
  return entries;
}

void planArchive(const std::string& folder, const std::string& jars, const std::string& modules,
                 const std::string& libjvm, std::string javaCommand, JavaMainRequest& request) {
  if (!jars.empty()) request.vmOptions.push_back("-Djava.class.path=" + jars);
  const std::optional<launcher::JavaVersion> version = releaseVersion(libjvm);
  if (javaCommand.empty()) {
    // lib/server/libjvm.so lies two levels below the runtime's home.
    javaCommand = libjvm.substr(0, libjvm.rfind('/'));
    javaCommand.resize(javaCommand.rfind('/'));
    javaCommand = javaCommand.substr(0, javaCommand.rfind('/')) + "/bin/java";
  }
  const launcher::ClassDataChoice choice = launcher::chooseClassData(version, access(javaCommand.c_str(), X_OK) == 0);
  if (choice.kind == launcher::ClassDataKind::none) {
    printLine("archive none: " + narrow(choice.why));
    return;
  }
  printLine(std::string(choice.kind == launcher::ClassDataKind::aheadOfTimeCache ? "archive-kind cache: "
                                                                                  : "archive-kind dynamic: ") +
            narrow(choice.why));
  archive.request.aheadOfTime = choice.kind == launcher::ClassDataKind::aheadOfTimeCache;
  archive.request.javaCommand = fromUtf8(javaCommand);
  archive.request.folder = fromUtf8(folder);
  archive.request.separator = u'/';
  archive.request.applicationPath = fromUtf8(JVM_HOST_SELF);
  archive.request.runtimeLibrary = fromUtf8(libjvm);
  archive.request.baseArchive = fromUtf8(libjvm.substr(0, libjvm.rfind('/')) + "/classes.jsa");
  archive.request.classPath = colonSeparated(jars);
  archive.request.modulePath = colonSeparated(modules);
  archive.request.vmOptions = request.vmOptions;
  archive.request.startTag = fromUtf8(std::to_string(getpid()));
  PosixArchiveFiles files;
  std::optional<launcher::ClassDataArchivePlan> plan = launcher::planClassDataArchive(archive.request, files);
  if (!plan) {
    printLine("archive none");
    return;
  }
  std::vector<std::string> options;
  for (const std::u16string& option : plan->options) {
    options.push_back(narrow(option));
    printLine("archive-option " + options.back());
  }
  request.vmOptions.insert(request.vmOptions.begin(), options.begin(), options.end());
  archive.plan = std::move(*plan);
  archive.pending = !archive.plan.written.empty();
  if (archive.pending && archive.request.aheadOfTime) launcher::quietCacheRecordingNotice();
}

launcher::FindClassFromBootLoaderFn realFindClassFromBootLoader = nullptr;

// Tells which route found the main class.
jclass JNICALL loggingFindClassFromBootLoader(JNIEnv* env, const char* name) {
  const jclass found = realFindClassFromBootLoader(env, name);
  printLine(std::string("boot-loader-lookup ") + name + (found != nullptr ? " found" : " missing"));
  return found;
}

struct ThreadWork {
  const JavaMainRequest* request;
  launcher::JavaVmState* state;
  PrintingHostServices* services;
  JavaMainResult result = JavaMainResult::launchFailed;
};

void* javaMainThread(void* parameter) {
  auto* work = static_cast<ThreadWork*>(parameter);
  work->result = launcher::runJavaMain(*work->request, *work->state, *work->services);
  return nullptr;
}

const char* resultName(JavaMainResult result) {
  switch (result) {
    case JavaMainResult::mainReturned: return "mainReturned";
    case JavaMainResult::mainThrew: return "mainThrew";
    case JavaMainResult::launchFailed: return "launchFailed";
  }
  return "?";
}

[[noreturn]] void usage(const char* problem) {
  std::fprintf(stderr, "jvm_host: %s\n", problem);
  std::exit(64);
}

}  // namespace

int main(int argc, char** argv) {
  JavaMainRequest request;
  bool bootLoaderLookup = true;
  bool answerOk = true;
  bool runtimeOutputShown = false;
  std::uint32_t stackSize = 0;
  std::string archiveFolder;
  std::string archiveJars;
  std::string javaCommand;
  std::string archiveModules;
  std::string libjvm = LAUNCHER_TEST_LIBJVM;
  for (int i = 1; i < argc; ++i) {
    const std::string_view flag = argv[i];
    auto value = [&]() -> const char* {
      if (i + 1 >= argc) usage("a flag lacks its value");
      return argv[++i];
    };
    if (flag == "--libjvm") {
      libjvm = value();
    } else if (flag == "--no-boot-loader-lookup") {
      bootLoaderLookup = false;
    } else if (flag == "--failure-check") {
      request.failureCheck = true;
    } else if (flag == "--answer") {
      answerOk = std::string_view(value()) == "ok";
    } else if (flag == "--runtime-output-shown") {
      runtimeOutputShown = true;
    } else if (flag == "--sleep-after-main") {
      request.sleepAfterMain = true;
    } else if (flag == "--vm-option") {
      const std::string option = value();
      // The launcher reserves the main thread's stack itself from the last -Xss.
      if (option.rfind("-Xss", 0) == 0) stackSize = launcher::stackSizeFromXss(fromUtf8(option.substr(4)));
      request.vmOptions.push_back(option);
    } else if (flag == "--output-file") {
      request.streamFiles.outputFile = fromUtf8(value());
    } else if (flag == "--output-append") {
      request.streamFiles.outputAppend = true;
    } else if (flag == "--error-file") {
      request.streamFiles.errorFile = fromUtf8(value());
    } else if (flag == "--error-append") {
      request.streamFiles.errorAppend = true;
    } else if (flag == "--class-data-archive") {
      archiveFolder = value();
    } else if (flag == "--java-command") {
      javaCommand = value();
    } else if (flag == "--archive-class-path") {
      archiveJars = value();
    } else if (flag == "--archive-module-path") {
      archiveModules = value();
    } else if (flag == "--main-class") {
      request.mainClass = fromUtf8(value());
    } else if (flag == "--main-jar") {
      request.mainJar = fromUtf8(value());
    } else if (flag == "--main-module") {
      request.mainModule = fromUtf8(value());
    } else if (flag == "--arg") {
      request.arguments.push_back(fromUtf8(value()));
    } else if (flag == "--forward") {
      forwarding.wanted = true;
      forwarding.arguments.push_back(fromUtf8(value()));
    } else if (flag == "--forward-after-destroy") {
      forwarding.afterDestroy = true;
    } else if (flag == "--arg-units") {
      std::u16string units;
      for (const char* p = value(); *p != '\0';) {
        char* end = nullptr;
        const unsigned long unit = std::strtoul(p, &end, 16);
        if (end == p || unit > 0xFFFF) usage("bad code unit list");
        units += static_cast<char16_t>(unit);
        p = *end == ',' ? end + 1 : end;
      }
      request.arguments.push_back(units);
    } else {
      usage("unknown flag");
    }
  }

  std::vector<std::u16string> givenOptions;
  for (const std::string& option : request.vmOptions) givenOptions.push_back(fromUtf8(option));
  const std::u16string& target =
      !request.mainClass.empty() ? request.mainClass : !request.mainJar.empty() ? request.mainJar : request.mainModule;
  if (const auto command = launcher::javaCommandOption(target, request.arguments, givenOptions)) {
    request.vmOptions.insert(request.vmOptions.begin(), launcher::utf8FromUtf16(*command));
  }

  void* jvm = dlopen(libjvm.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (jvm == nullptr) usage(dlerror());
  request.entryPoints.createJavaVm =
      reinterpret_cast<launcher::CreateJavaVmFn>(dlsym(jvm, "JNI_CreateJavaVM"));
  request.entryPoints.getDefaultJavaVmInitArgs =
      reinterpret_cast<launcher::GetDefaultJavaVmInitArgsFn>(dlsym(jvm, "JNI_GetDefaultJavaVMInitArgs"));
  realFindClassFromBootLoader =
      reinterpret_cast<launcher::FindClassFromBootLoaderFn>(dlsym(jvm, "JVM_FindClassFromBootLoader"));
  if (request.entryPoints.createJavaVm == nullptr || request.entryPoints.getDefaultJavaVmInitArgs == nullptr ||
      realFindClassFromBootLoader == nullptr) {
    usage("libjvm.so lacks an entry point");
  }
  forwarding.mainClass = request.mainClass;
  if (bootLoaderLookup) request.entryPoints.findClassFromBootLoader = loggingFindClassFromBootLoader;
  request.exitHook = onVmExit;
  request.abortHook = onVmAbort;
  request.runtimeOutput = {formatHostText, passOnToHostStream};

  if (!archiveFolder.empty()) planArchive(archiveFolder, archiveJars, archiveModules, libjvm, javaCommand, request);

  if (stackSize == 0) stackSize = launcher::defaultMainThreadStackSize(request.entryPoints);
  printLine("main-thread-stack " + std::to_string(stackSize));

  PrintingHostServices services(answerOk, runtimeOutputShown);
  launcher::JavaVmState state;
  ThreadWork work{&request, &state, &services};
  pthread_attr_t attributes;
  pthread_attr_init(&attributes);
  if (stackSize != 0 && pthread_attr_setstacksize(&attributes, stackSize) != 0) usage("stack size refused");
  pthread_t thread;
  if (pthread_create(&thread, &attributes, javaMainThread, &work) != 0) usage("no thread");
  pthread_attr_destroy(&attributes);
  pthread_join(thread, nullptr);
  printLine(std::string("result ") + resultName(work.result));

  // The launcher's cleanup destroys a VM the Java main thread left behind.
  launcher::destroyJavaVm(state);
  finishArchive();
  if (forwarding.wanted && forwarding.afterDestroy) serveForwardedStart();
  switch (work.result) {
    case JavaMainResult::mainReturned: return 0;
    case JavaMainResult::mainThrew: return 1;
    case JavaMainResult::launchFailed: return 255;
  }
  return 255;
}
