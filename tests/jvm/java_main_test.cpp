// The launcher's Java main thread against a real HotSpot. A VM can be created only once per
// process, so every scenario runs the host program (jvm_host) afresh and judges what it printed
// and the code it ended with. Each run has -Xcheck:jni, and no run may draw a JNI warning.

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <dirent.h>
#include <sys/stat.h>
#include <utime.h>

extern char** environ;

namespace {

struct HostRun {
  int exitCode = -1;
  bool timedOut = false;
  std::vector<std::string> lines;
  std::string errors;

  bool has(const std::string& line) const { return std::find(lines.begin(), lines.end(), line) != lines.end(); }
  // Position of `line`, or -1.
  long indexOf(const std::string& line) const {
    const auto found = std::find(lines.begin(), lines.end(), line);
    return found == lines.end() ? -1 : static_cast<long>(found - lines.begin());
  }
  bool hasPrefix(const std::string& prefix) const {
    return std::any_of(lines.begin(), lines.end(), [&](const std::string& l) { return l.rfind(prefix, 0) == 0; });
  }
  std::string withPrefix(const std::string& prefix) const {
    for (const std::string& l : lines) {
      if (l.rfind(prefix, 0) == 0) return l.substr(prefix.size());
    }
    return {};
  }
  std::string describe() const {
    std::string text = "exit " + std::to_string(exitCode) + (timedOut ? " (timed out)" : "") + "\nstdout:\n";
    for (const std::string& l : lines) text += "  " + l + "\n";
    return text + "stderr:\n" + errors;
  }
};

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// The runtime the cases run against: the build's JDK, or with JVM_TEST_RUNTIME=N the HotSpot N
// that tools/setup-bench installs in the bench's Debian tree. Those need the tree's newer C
// library, so the host runs inside it (tools/in-chroot), where the project folder, and so the
// host, the classes and the scratch folder, lie at the same paths.
struct TestRuntime {
  int feature = JVM_HOST_RUNTIME_FEATURE;
  std::vector<std::string> enterTree;
  std::string libjvm;
  // Why the cases cannot run; empty when they can.
  std::string skipReason;
};

TestRuntime selectTestRuntime() {
  TestRuntime runtime;
  mkdir(JVM_TEST_SCRATCH, 0777);
  const char* wanted = std::getenv("JVM_TEST_RUNTIME");
  if (wanted == nullptr || *wanted == '\0') return runtime;
  runtime.feature = std::atoi(wanted);
  const std::string tree = JVM_TEST_BENCH_TREE;
  const std::string home = "/usr/lib/jvm/java-" + std::string(wanted) + "-openjdk-amd64";
  runtime.libjvm = home + (runtime.feature == 8 ? "/jre/lib/amd64/server/libjvm.so" : "/lib/server/libjvm.so");
  runtime.enterTree = {JVM_TEST_IN_CHROOT};
  std::ifstream notes(tree + "/bench/runtimes/" + wanted + ".skipped");
  if (access((tree + runtime.libjvm).c_str(), R_OK) != 0) {
    std::getline(notes, runtime.skipReason);
    if (runtime.skipReason.empty()) {
      runtime.skipReason = "HotSpot " + std::string(wanted) + " is not installed in the bench tree " + tree +
                           " (tools/setup-bench installs it)";
    }
  } else if (geteuid() != 0) {
    runtime.skipReason = "entering the bench tree " + tree + " needs root";
  }
  return runtime;
}

const TestRuntime& testRuntime() {
  static const TestRuntime runtime = selectTestRuntime();
  return runtime;
}

class RuntimeAvailable : public ::testing::Environment {
 public:
  void SetUp() override {
    if (!testRuntime().skipReason.empty()) GTEST_SKIP() << testRuntime().skipReason;
  }
};
const auto* const runtimeAvailable = ::testing::AddGlobalTestEnvironment(new RuntimeAvailable);

int feature() { return testRuntime().feature; }

// In the scratch folder under the build, which the bench tree sees too.
std::string temporaryFile() {
  std::string name = JVM_TEST_SCRATCH "/jvm_host_XXXXXX";
  const int fd = mkstemp(name.data());
  close(fd);
  return name;
}

// Runs the host with the test classes on the class path (unless `testClassPath` is false),
// -Xcheck:jni and `flags`; with `libjvm`, on that runtime of the host's own.
HostRun runHost(std::vector<std::string> flags, bool testClassPath = true, const std::string& libjvm = {}) {
  std::vector<std::string> argv = libjvm.empty() ? testRuntime().enterTree : std::vector<std::string>{};
  argv.push_back(JVM_HOST_PATH);
  if (!libjvm.empty()) {
    argv.insert(argv.end(), {"--libjvm", libjvm});
  } else if (!testRuntime().libjvm.empty()) {
    argv.insert(argv.end(), {"--libjvm", testRuntime().libjvm});
  }
  argv.insert(argv.end(), {"--vm-option", "-Xcheck:jni"});
  if (testClassPath) argv.insert(argv.end(), {"--vm-option", std::string("-Djava.class.path=") + JVM_TEST_CLASSES});
  argv.insert(argv.end(), flags.begin(), flags.end());
  std::vector<char*> args;
  for (std::string& a : argv) args.push_back(a.data());
  args.push_back(nullptr);

  const std::string outPath = temporaryFile();
  const std::string errPath = temporaryFile();
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_TRUNC, 0);
  posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_TRUNC, 0);
  pid_t pid = 0;
  HostRun run;
  const int spawned = posix_spawn(&pid, args[0], &actions, nullptr, args.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) {
    run.errors = "cannot start the host";
    return run;
  }
  int status = 0;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (waitpid(pid, &status, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() > deadline) {
      run.timedOut = true;
      kill(pid, SIGKILL);
      waitpid(pid, &status, 0);
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  std::istringstream out(readFile(outPath));
  for (std::string line; std::getline(out, line);) run.lines.push_back(line);
  run.errors = readFile(errPath);
  unlink(outPath.c_str());
  unlink(errPath.c_str());
  return run;
}

void expectCleanRun(const HostRun& run) {
  EXPECT_FALSE(run.timedOut) << run.describe();
  EXPECT_EQ(run.errors.find("WARNING in native method"), std::string::npos) << run.describe();
}

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TEST(JavaMain, NoArgumentsGiveAnEmptyArray) {
  const HostRun run = runHost({"--main-class", "probe/Echo"});
  expectCleanRun(run);
  EXPECT_EQ(run.exitCode, 0) << run.describe();
  EXPECT_TRUE(run.has("main-entered argc 0")) << run.describe();
  // The single-instance event is set before main runs, not after.
  EXPECT_LT(run.indexOf("main-started"), run.indexOf("main-entered argc 0")) << run.describe();
  EXPECT_TRUE(run.has("result mainReturned")) << run.describe();
}

TEST(JavaMain, ArgumentsArriveAsTheSameCodeUnits) {
  const HostRun run = runHost({"--main-class", "probe/Echo", "--arg", "", "--arg", "a b", "--arg", "gr\xC3\xBC\xC3\x9F",
                               "--arg", "\xF0\x9F\x98\x80", "--arg-units", "d800,0041,dfff"});
  expectCleanRun(run);
  EXPECT_EQ(run.exitCode, 0) << run.describe();
  EXPECT_TRUE(run.has("main-entered argc 5")) << run.describe();
  EXPECT_TRUE(run.has("arg 0: []")) << run.describe();
  EXPECT_TRUE(run.has("arg 1: [0061 0020 0062]")) << run.describe();
  EXPECT_TRUE(run.has("arg 2: [0067 0072 00fc 00df]")) << run.describe();
  EXPECT_TRUE(run.has("arg 3: [d83d de00]")) << run.describe();
  // Unpaired surrogates too: the text is never recoded on its way into Java.
  EXPECT_TRUE(run.has("arg 4: [d800 0041 dfff]")) << run.describe();
}

TEST(JavaMain, MainClassComesThroughLauncherHelperWhenTheRuntimeOffersIt) {
  const HostRun run = runHost({"--main-class", "probe/Echo"});
  expectCleanRun(run);
  EXPECT_TRUE(run.has("boot-loader-lookup sun/launcher/LauncherHelper found")) << run.describe();
  EXPECT_TRUE(run.has("main-entered argc 0")) << run.describe();
  EXPECT_EQ(run.exitCode, 0) << run.describe();
}

TEST(JavaMain, MainClassComesThroughFindClassWithoutTheBootLoaderExport) {
  const HostRun run = runHost({"--no-boot-loader-lookup", "--main-class", "probe/Echo", "--arg", "x"});
  expectCleanRun(run);
  EXPECT_FALSE(run.hasPrefix("boot-loader-lookup")) << run.describe();
  EXPECT_TRUE(run.has("arg 0: [0078]")) << run.describe();
  EXPECT_EQ(run.exitCode, 0) << run.describe();
}

// Also proves the launch failure ends: the thread must not end attached to the VM, or the
// VM's destruction waits for it for ever.
TEST(JavaMain, MissingClassIsDescribedAndNamedInMessage215) {
  const HostRun run = runHost({"--no-boot-loader-lookup", "--main-class", "probe/Missing"});
  expectCleanRun(run);
  EXPECT_TRUE(contains(run.errors, "java.lang.NoClassDefFoundError: probe/Missing")) << run.describe();
  EXPECT_TRUE(run.has("message 215: main class probe.Missing not found: java.lang.NoClassDefFoundError: "
                      "probe/Missing\\nCaused by: java.lang.ClassNotFoundException: probe.Missing"))
      << run.describe();
  EXPECT_FALSE(run.has("main-started")) << run.describe();
  EXPECT_TRUE(run.has("result launchFailed")) << run.describe();
  EXPECT_EQ(run.exitCode, 255) << run.describe();
}

// The runtime's LauncherHelper does not hand back null for a class it cannot load: it reports
// the problem on the error stream and ends the program with 1 through System.exit. The launcher
// finds the class itself first, so the user gets the message and the launch fails as any other.
TEST(JavaMain, MissingClassOnTheLauncherHelperRouteShowsMessage215) {
  const HostRun run = runHost({"--main-class", "probe/Missing"});
  expectCleanRun(run);
  EXPECT_TRUE(contains(run.errors, "java.lang.ClassNotFoundException: probe.Missing")) << run.describe();
  EXPECT_TRUE(run.has("message 215: main class probe.Missing not found: java.lang.ClassNotFoundException: probe.Missing"))
      << run.describe();
  EXPECT_FALSE(run.hasPrefix("exit-hook")) << run.describe();
  EXPECT_FALSE(run.has("main-started")) << run.describe();
  EXPECT_TRUE(run.has("result launchFailed")) << run.describe();
  EXPECT_EQ(run.exitCode, 255) << run.describe();
}

// The runtime's NoSuchMethodError for a class without a static main(String[]): 8 and 11 name only
// the method.
std::string missingMainError(const std::string& slashName) {
  if (feature() < 17) return "java.lang.NoSuchMethodError: main";
  return "java.lang.NoSuchMethodError: static L" + slashName + ";.main([Ljava/lang/String;)V";
}

TEST(JavaMain, ClassWithoutMainShowsMessage216) {
  const std::string message = "message 216: entry.WithoutMain has no main method: " + missingMainError("entry/WithoutMain");
  const HostRun fallback = runHost({"--no-boot-loader-lookup", "--main-class", "entry/WithoutMain"});
  expectCleanRun(fallback);
  // The VM raises NoSuchMethodError, which is printed; the message still comes.
  EXPECT_TRUE(contains(fallback.errors, "java.lang.NoSuchMethodError")) << fallback.describe();
  EXPECT_TRUE(fallback.has(message)) << fallback.describe();
  EXPECT_FALSE(fallback.has("wrong method called")) << fallback.describe();
  EXPECT_EQ(fallback.exitCode, 255) << fallback.describe();

  const HostRun helper = runHost({"--main-class", "entry/WithoutMain"});
  expectCleanRun(helper);
  EXPECT_TRUE(helper.has(message)) << helper.describe();
  EXPECT_FALSE(helper.has("wrong method called")) << helper.describe();
  EXPECT_FALSE(helper.hasPrefix("exit-hook")) << helper.describe();
  EXPECT_EQ(helper.exitCode, 255) << helper.describe();
}

// Each class the launcher cannot start ends with its message, naming it with the runtime's
// reason (the exception and its causes), on both routes to the class; none of its code runs,
// and the launch fails without the runtime ending the process.
TEST(JavaMain, UnusableMainClassShowsItsMessageWithTheRuntimesReasonOnBothRoutes) {
  struct Case {
    const char* mainClass;
    std::string message;
  };
  std::vector<Case> cases = {
      {"probe/NeedsAbsent",
       "message 215: main class probe.NeedsAbsent not found: java.lang.NoClassDefFoundError: absent/Base"
       "\\nCaused by: java.lang.ClassNotFoundException: absent.Base"},
      {"probe/BrokenInit",
       "message 215: main class probe.BrokenInit not found: java.lang.ExceptionInInitializerError"
       "\\nCaused by: java.lang.IllegalStateException: static init failed"},
      // JNI could call it; no runtime's own launcher would. Reflection tells what it found.
      {"entry/PrivateMain",
       "message 216: entry.PrivateMain has no main method: private static void entry.PrivateMain.main(java.lang.String[])"},
  };
  // Runtimes before 25 start only a public static main (LaunchProtocol covers the later ones).
  if (feature() < 25) {
    cases.push_back({"probe/NonStaticMain",
                     "message 216: probe.NonStaticMain has no main method: " + missingMainError("probe/NonStaticMain")});
    cases.push_back({"probe/HiddenMain", "message 216: probe.HiddenMain has no main method: static void "
                                         "probe.HiddenMain.main(java.lang.String[])"});
  }
  for (const Case& c : cases) {
    for (const bool helperRoute : {true, false}) {
      std::vector<std::string> flags = {"--main-class", c.mainClass};
      if (!helperRoute) flags.insert(flags.begin(), "--no-boot-loader-lookup");
      const HostRun run = runHost(flags);
      expectCleanRun(run);
      EXPECT_TRUE(run.has(c.message)) << run.describe();
      EXPECT_FALSE(run.has("main-started")) << run.describe();
      EXPECT_FALSE(run.hasPrefix("wrong main called")) << run.describe();
      EXPECT_FALSE(run.hasPrefix("exit-hook")) << run.describe();
      EXPECT_TRUE(run.has("result launchFailed")) << run.describe();
      EXPECT_EQ(run.exitCode, 255) << run.describe();
    }
  }
}

// The standard streams are redirected before the class is looked for, so the whole trace of
// why it failed lands in the error file rather than on a console the user does not have.
TEST(JavaMain, WhyTheMainClassFailedLandsInTheErrorFile) {
  const std::string err = temporaryFile();
  const HostRun run = runHost({"--error-file", err, "--main-class", "probe/BrokenInit"});
  expectCleanRun(run);
  const std::string written = readFile(err);
  unlink(err.c_str());
  EXPECT_TRUE(contains(written, "java.lang.ExceptionInInitializerError\n")) << written;
  EXPECT_TRUE(contains(written, "Caused by: java.lang.IllegalStateException: static init failed\n")) << written;
  EXPECT_TRUE(contains(written, "at probe.BrokenInit.<clinit>(BrokenInit.java:5)")) << written;
  EXPECT_FALSE(contains(run.errors, "ExceptionInInitializerError")) << run.describe();
  EXPECT_TRUE(run.hasPrefix("message 215: ")) << run.describe();
}

// A JavaFX application needs no main of its own; the runtime's LauncherHelper decides about it
// as before, and the launcher's checks do not run its static initialiser ahead of JavaFX (this
// JDK has no JavaFX, so the helper says so and ends with 1). Without the helper there is no
// JavaFX route, and a class without main is refused.
TEST(JavaMain, JavaFxApplicationWithoutMainIsLeftToTheLauncherHelper) {
  const HostRun helper = runHost({"--main-class", "probe/FxWithoutMain"});
  expectCleanRun(helper);
  EXPECT_FALSE(helper.hasPrefix("message")) << helper.describe();
  EXPECT_FALSE(helper.has("fx-application-initialised")) << helper.describe();
  EXPECT_TRUE(contains(helper.errors, "JavaFX runtime components are missing")) << helper.describe();
  EXPECT_TRUE(helper.has("exit-hook 1")) << helper.describe();
  EXPECT_EQ(helper.exitCode, 1) << helper.describe();

  const HostRun fallback = runHost({"--no-boot-loader-lookup", "--main-class", "probe/FxWithoutMain"});
  expectCleanRun(fallback);
  EXPECT_TRUE(fallback.hasPrefix("message 216: probe.FxWithoutMain has no main method: ")) << fallback.describe();
  EXPECT_EQ(fallback.exitCode, 255) << fallback.describe();
}

constexpr const char* kThrowerTrace =
    "java.lang.IllegalStateException: escaped from main: gr\xC3\xBC\xC3\x9F" "e \xF0\x9F\x98\x80\\n"
    "\\tat probe.Thrower.fail(Thrower.java:12)\\n"
    "\\tat probe.Thrower.main(Thrower.java:8)\\n";

TEST(JavaMain, EscapedExceptionWithoutFailureCheckFailsAfterTheVmEnds) {
  const HostRun run = runHost({"--main-class", "probe/Thrower"});
  expectCleanRun(run);
  EXPECT_TRUE(run.has("close-splashes")) << run.describe();
  EXPECT_FALSE(run.hasPrefix("failure-dialog")) << run.describe();
  // Reported like any uncaught exception when the thread detaches.
  EXPECT_TRUE(contains(run.errors, "Exception in thread \"main\" java.lang.IllegalStateException")) << run.describe();
  EXPECT_TRUE(run.has("result mainThrew")) << run.describe();
  EXPECT_EQ(run.exitCode, 1) << run.describe();
}

TEST(JavaMain, EscapedExceptionWithFailureCheckShowsTheTraceAndOkStillFails) {
  const HostRun run = runHost({"--failure-check", "--answer", "ok", "--main-class", "probe/Thrower"});
  expectCleanRun(run);
  EXPECT_EQ(run.withPrefix("failure-dialog: "), kThrowerTrace) << run.describe();
  EXPECT_LT(run.indexOf("close-splashes"), run.indexOf("failure-dialog-answer ok")) << run.describe();
  EXPECT_FALSE(run.hasPrefix("exit-hook")) << run.describe();
  EXPECT_TRUE(run.has("result mainThrew")) << run.describe();
  EXPECT_EQ(run.exitCode, 1) << run.describe();
}

TEST(JavaMain, EscapedExceptionWithFailureCheckCancelEndsThroughSystemExit) {
  const HostRun run = runHost({"--failure-check", "--answer", "cancel", "--main-class", "probe/Thrower"});
  expectCleanRun(run);
  EXPECT_EQ(run.withPrefix("failure-dialog: "), kThrowerTrace) << run.describe();
  EXPECT_TRUE(run.has("exit-hook -1")) << run.describe();
  EXPECT_FALSE(run.hasPrefix("result")) << run.describe();
  EXPECT_EQ(run.exitCode, 255) << run.describe();
}

TEST(JavaMain, SystemExitEndsWithTheProgramsCodeThroughTheExitHook) {
  const HostRun run = runHost({"--main-class", "probe/ExitSeven"});
  expectCleanRun(run);
  EXPECT_TRUE(run.has("exit-hook 7")) << run.describe();
  EXPECT_FALSE(run.hasPrefix("result")) << run.describe();
  EXPECT_EQ(run.exitCode, 7) << run.describe();
}

TEST(JavaMain, NonDaemonThreadOutlivesMainBeforeTheLauncherEnds) {
  const HostRun run = runHost({"--main-class", "probe/Lingering"});
  expectCleanRun(run);
  const long returned = run.indexOf("main-returning");
  const long finished = run.indexOf("worker-finished");
  const long result = run.indexOf("result mainReturned");
  EXPECT_GE(returned, 0) << run.describe();
  EXPECT_LT(returned, finished) << run.describe();
  EXPECT_LT(finished, result) << run.describe();
  EXPECT_EQ(run.exitCode, 0) << run.describe();
}

// For IBM runtimes the thread neither detaches nor destroys the VM once main returns; only the
// program's own System.exit ends the process.
TEST(JavaMain, SleepAfterMainLeavesTheEndToSystemExit) {
  const HostRun sleeping = runHost({"--sleep-after-main", "--main-class", "probe/ExitLater"});
  expectCleanRun(sleeping);
  EXPECT_LT(sleeping.indexOf("sleep-forever"), sleeping.indexOf("exiting")) << sleeping.describe();
  EXPECT_EQ(sleeping.exitCode, 3) << sleeping.describe();

  const HostRun ordinary = runHost({"--main-class", "probe/ExitLater"});
  expectCleanRun(ordinary);
  EXPECT_FALSE(ordinary.has("sleep-forever")) << ordinary.describe();
  EXPECT_EQ(ordinary.exitCode, 0) << ordinary.describe();
}

TEST(JavaMain, UnrecognisedVmOptionFailsCreationWithMessage203) {
  const HostRun run = runHost({"--vm-option", "-Xno-such-option", "--main-class", "probe/Echo"});
  expectCleanRun(run);
  EXPECT_TRUE(run.has("message 203: the Java VM could not be created: the runtime said: Unrecognized option: "
                      "-Xno-such-option"))
      << run.describe();
  EXPECT_FALSE(run.has("main-started")) << run.describe();
  EXPECT_TRUE(run.has("result launchFailed")) << run.describe();
  EXPECT_EQ(run.exitCode, 255) << run.describe();
}

// A fresh folder for the files of one scenario.
std::string temporaryFolder() {
  std::string name = JVM_TEST_SCRATCH "/jvm_streams_XXXXXX";
  return mkdtemp(name.data());
}

void writeFile(const std::string& path, const std::string& content) { std::ofstream(path, std::ios::binary) << content; }

bool fileExists(const std::string& path) { return access(path.c_str(), F_OK) == 0; }

TEST(StreamRedirection, EachStreamLandsInItsFileAfterItsFoldersAreMade) {
  const std::string dir = temporaryFolder();
  const std::string out = dir + "/logs/deeper/out.txt";
  const std::string err = dir + "/err/err.txt";
  const HostRun run = runHost({"--output-file", out, "--error-file", err, "--main-class", "probe/TwoStreams"});
  expectCleanRun(run);
  EXPECT_EQ(readFile(out), "to-out\nmain-done\n") << run.describe();
  EXPECT_EQ(readFile(err), "to-err\n") << run.describe();
  EXPECT_FALSE(run.has("to-out")) << run.describe();
  EXPECT_FALSE(contains(run.errors, "to-err")) << run.describe();
  // Output before error; no time is read for names without a pattern.
  EXPECT_LT(run.indexOf("parent-folders " + out), run.indexOf("parent-folders " + err)) << run.describe();
  EXPECT_FALSE(run.has("local-time-read")) << run.describe();
  // The runtime's words of a start that succeeds go nowhere but where the runtime wrote them.
  EXPECT_FALSE(run.hasPrefix("stream-file")) << run.describe();
  EXPECT_FALSE(run.hasPrefix("message")) << run.describe();
  EXPECT_EQ(run.exitCode, 0) << run.describe();

  const HostRun plain = runHost({"--main-class", "probe/TwoStreams"});
  EXPECT_TRUE(plain.has("to-out")) << plain.describe();
  EXPECT_TRUE(contains(plain.errors, "to-err")) << plain.describe();
  EXPECT_FALSE(plain.hasPrefix("parent-folders")) << plain.describe();
}

TEST(StreamRedirection, AppendAddsAndOtherwiseTheFileIsReplaced) {
  struct Case {
    const char* what;
    std::vector<std::string> flags;
    std::string out;
    std::string err;
  };
  const Case cases[] = {
      {"replace both", {}, "to-out\nmain-done\n", "to-err\n"},
      {"append output", {"--output-append"}, "old\nto-out\nmain-done\n", "to-err\n"},
      {"append error", {"--error-append"}, "to-out\nmain-done\n", "old\nto-err\n"},
  };
  for (const Case& c : cases) {
    const std::string dir = temporaryFolder();
    writeFile(dir + "/out.txt", "old\n");
    writeFile(dir + "/err.txt", "old\n");
    std::vector<std::string> flags = {"--output-file", dir + "/out.txt", "--error-file", dir + "/err.txt"};
    flags.insert(flags.end(), c.flags.begin(), c.flags.end());
    flags.insert(flags.end(), {"--main-class", "probe/TwoStreams"});
    const HostRun run = runHost(flags);
    expectCleanRun(run);
    EXPECT_EQ(readFile(dir + "/out.txt"), c.out) << c.what << "\n" << run.describe();
    EXPECT_EQ(readFile(dir + "/err.txt"), c.err) << c.what << "\n" << run.describe();
  }
}

// Two streams on one file would each write from their own position, over each other's lines.
TEST(StreamRedirection, OneFileForBothKeepsEveryLineInOrder) {
  for (const bool append : {false, true}) {
    const std::string dir = temporaryFolder();
    const std::string both = dir + "/both.txt";
    writeFile(both, "old\n");
    std::vector<std::string> flags = {"--output-file", both, "--error-file", both};
    if (append) flags.insert(flags.end(), {"--output-append", "--error-append"});
    flags.insert(flags.end(), {"--main-class", "probe/TwoStreams"});
    const HostRun run = runHost(flags);
    expectCleanRun(run);
    EXPECT_EQ(readFile(both), std::string(append ? "old\n" : "") + "to-out\nto-err\nmain-done\n") << run.describe();
    EXPECT_EQ(run.exitCode, 0) << run.describe();
  }
}

TEST(StreamRedirection, UnusablePathIsDescribedAndTheProgramStillRuns) {
  const std::string dir = temporaryFolder();
  const std::string blocker = dir + "/a-file";
  writeFile(blocker, "");

  // The output's failure is printed on the error stream the VM started with, not in the file
  // the error stream goes to afterwards.
  const HostRun output = runHost({"--output-file", blocker + "/out.txt", "--error-file", dir + "/err.txt",
                                  "--main-class", "probe/TwoStreams"});
  expectCleanRun(output);
  EXPECT_TRUE(contains(output.errors, "java.io.FileNotFoundException")) << output.describe();
  EXPECT_TRUE(output.has("to-out")) << output.describe();
  EXPECT_TRUE(output.has("main-done")) << output.describe();
  EXPECT_EQ(readFile(dir + "/err.txt"), "to-err\n") << output.describe();
  EXPECT_TRUE(output.has("result mainReturned")) << output.describe();
  EXPECT_EQ(output.exitCode, 0) << output.describe();

  const HostRun error = runHost({"--error-file", blocker + "/err.txt", "--main-class", "probe/TwoStreams"});
  expectCleanRun(error);
  EXPECT_TRUE(contains(error.errors, "java.io.FileNotFoundException")) << error.describe();
  EXPECT_TRUE(contains(error.errors, "to-err")) << error.describe();
  EXPECT_EQ(error.exitCode, 0) << error.describe();
}

TEST(StreamRedirection, PatternsOfBothNamesShareOneReadingOfTheClock) {
  const std::string dir = temporaryFolder();
  const HostRun run = runHost({"--output-file", dir + "/out_%yyyy-MM-dd_HH-mm-ss%.txt", "--error-file",
                               dir + "/err_%HHmm%.log", "--main-class", "probe/TwoStreams"});
  expectCleanRun(run);
  EXPECT_EQ(std::count(run.lines.begin(), run.lines.end(), "local-time-read"), 1) << run.describe();
  EXPECT_EQ(readFile(dir + "/out_2026-12-06_14-05-09.txt"), "to-out\nmain-done\n") << run.describe();
  EXPECT_EQ(readFile(dir + "/err_1405.log"), "to-err\n") << run.describe();
  EXPECT_FALSE(fileExists(dir + "/err_%HHmm%.log")) << run.describe();
}

std::uint64_t recursionDepth(const HostRun& run) { return std::strtoull(run.withPrefix("depth ").c_str(), nullptr, 10); }

// When the runtime refuses to start, what it wrote reaches the user in message 203 in place of the
// general reason, still reaches the stream it was written to, and goes into the error file as it
// was written. HotSpot fails the call for an unknown option, and aborts the process for a heap
// it cannot reserve: then the message comes from the abort hook, which ends the launch with -1.
TEST(VmCreation, TheRuntimesOwnWordsAreShownAndKept) {
  struct Case {
    std::vector<std::string> options;
    std::string said;  // as the message shows it
    bool aborts;
    bool onStandardOutput;  // where HotSpot writes it
  };
  // Runtimes from 25 on put a space between the size and its unit.
  const std::string heap = feature() >= 25 ? "104857600000 KB" : "104857600000KB";
  const Case cases[] = {
      {{"-Xmx100000g"},
       "Error occurred during initialization of VM\\nCould not reserve enough space for " + heap + " object heap",
       true, true},
      {{"--add-opens", "java.base/java.lang=ALL-UNNAMED"}, "Unrecognized option: --add-opens", false, false},
      {{"-XX:+NoSuchFlag"}, "Unrecognized VM option 'NoSuchFlag'", false, false},
  };
  for (const Case& c : cases) {
    const std::string dir = temporaryFolder();
    writeFile(dir + "/err-2026.txt", "earlier\n");
    std::vector<std::string> flags = {"--error-file", dir + "/err-%yyyy%.txt", "--error-append"};
    for (const std::string& option : c.options) flags.insert(flags.end(), {"--vm-option", option});
    flags.insert(flags.end(), {"--main-class", "probe/Echo"});
    const HostRun run = runHost(flags);
    const std::string message = "message 203: the Java VM could not be created: the runtime said: " + c.said;
    EXPECT_TRUE(run.has(message)) << run.describe();
    EXPECT_EQ(run.exitCode, 255) << run.describe();
    EXPECT_FALSE(run.has("main-started")) << run.describe();
    std::string written = c.said;
    for (std::size_t at; (at = written.find("\\n")) != std::string::npos;) written.replace(at, 2, "\n");
    EXPECT_EQ(readFile(dir + "/err-2026.txt"), "earlier\n" + written + "\n") << run.describe();
    const std::string firstLine = written.substr(0, written.find('\n'));
    EXPECT_EQ(c.onStandardOutput ? run.has(firstLine) : contains(run.errors, firstLine), true) << run.describe();
    if (c.aborts) {
      EXPECT_LT(run.indexOf("abort-hook"), run.indexOf(message)) << run.describe();
      EXPECT_LT(run.indexOf(message), run.indexOf("abort-ends-process")) << run.describe();
      EXPECT_FALSE(run.hasPrefix("result")) << run.describe();
    } else {
      EXPECT_TRUE(run.has("result launchFailed")) << run.describe();
    }
  }
}

// The console launcher's user reads the runtime's words on the console already: the message gives
// the general reason instead of the same lines again.
TEST(VmCreation, WordsTheUserSawOnTheStreamAreNotRepeated) {
  const HostRun run = runHost({"--runtime-output-shown", "--vm-option", "-XX:+NoSuchFlag", "--main-class", "probe/Echo"});
  // HotSpot fails the call with JNI_EINVAL for an unknown -XX: flag.
  EXPECT_TRUE(run.has("message 203: the Java VM could not be created: invalid arguments")) << run.describe();
  const std::string said = "Unrecognized VM option 'NoSuchFlag'";
  const std::size_t first = run.errors.find(said);
  EXPECT_NE(first, std::string::npos) << run.describe();
  EXPECT_EQ(run.errors.find(said, first + said.size()), std::string::npos) << run.describe();
  EXPECT_EQ(run.exitCode, 255) << run.describe();
}

TEST(JavaMain, XssSizesTheStackMainRunsOn) {
  const HostRun standard = runHost({"--main-class", "probe/StackProbe"});
  expectCleanRun(standard);
  const HostRun large = runHost({"--vm-option", "-Xss32m", "--main-class", "probe/StackProbe"});
  expectCleanRun(large);
  // Without -Xss the runtime's default thread stack, as the runtime reports it.
  EXPECT_GT(std::strtoull(standard.withPrefix("main-thread-stack ").c_str(), nullptr, 10), 0u) << standard.describe();
  EXPECT_TRUE(large.has("main-thread-stack 33554432")) << large.describe();
  ASSERT_GT(recursionDepth(standard), 0u) << standard.describe();
  // main runs on the thread made with that stack: it recurses far deeper.
  EXPECT_GT(recursionDepth(large), 8 * recursionDepth(standard)) << standard.describe() << large.describe();
}

// The class-data archive, planned and published as the launcher does, against the runtime's own
// writing and mapping of it.
class ClassDataArchiveRule : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = temporaryFolder();
    jar_ = dir_ + "/app.jar";
    writeFile(jar_, readFile(JVM_TEST_JAR));
  }

  // A start of probe/Echo (or `mainClass`) with the archive in `folder` and `jars` as class path;
  // the class-loading log goes to `log` when one is named.
  HostRun start(const std::string& jars, const std::string& log = "", const std::string& mainClass = "probe/Echo") {
    std::vector<std::string> flags = {"--class-data-archive", folder(), "--archive-class-path", jars};
    flags.insert(flags.end(), extraFlags_.begin(), extraFlags_.end());
    if (!log.empty()) flags.insert(flags.end(), {"--vm-option", "-Xlog:class+load=info:file=" + log});
    flags.insert(flags.end(), {"--main-class", mainClass});
    return runHost(flags);
  }
  std::string folder() const { return dir_ + "/Class Data"; }
  // The flags of a start of the module modapp from the jar `modules`, with its archive.
  std::vector<std::string> moduleStart(const std::string& modules, const std::string& log) const {
    std::vector<std::string> flags = {"--class-data-archive", folder(), "--archive-module-path", modules,
                                      "--vm-option", "--module-path=" + modules, "--vm-option",
                                      "-Djdk.module.main=modapp", "--vm-option", "-Xlog:class+load=info:file=" + log};
    flags.insert(flags.end(), extraFlags_.begin(), extraFlags_.end());
    flags.insert(flags.end(), {"--main-module", "modapp"});
    return flags;
  }
  std::vector<std::string> files() const {
    std::vector<std::string> names;
    if (DIR* d = opendir(folder().c_str())) {
      while (const dirent* e = readdir(d)) {
        if (e->d_name[0] != '.') names.push_back(e->d_name);
      }
      closedir(d);
    }
    std::sort(names.begin(), names.end());
    return names;
  }
  // Whether the log shows the application's classes mapped from its archive.
  static bool mappedFromArchive(const std::string& log) {
    return contains(readFile(log), " source: shared objects file (top)") &&
           !contains(readFile(log), "source: file:");
  }
  // An ordinary run that says nothing about the archive on either stream.
  static void expectQuietSuccess(const HostRun& run) {
    expectCleanRun(run);
    EXPECT_EQ(run.exitCode, 0) << run.describe();
    EXPECT_TRUE(run.has("main-entered argc 0")) << run.describe();
    for (const char* noise : {"cds", "CDS", "shared archive", "AOT", "aot"}) {
      EXPECT_FALSE(contains(run.errors, noise)) << run.describe();
      for (const std::string& line : run.lines) {
        if (!line.starts_with("archive-")) EXPECT_FALSE(contains(line, noise)) << run.describe();
      }
    }
  }

  std::string dir_;
  std::string jar_;
  std::vector<std::string> extraFlags_;
};

// Runtimes before 13 cannot write an archive at exit: the launcher plans none, and the start is
// an ordinary one (8 has no release file at all, 11 names its version there).
TEST_F(ClassDataArchiveRule, OnlyRuntimesFrom13OnGetOne) {
  const HostRun run = start(jar_);
  expectQuietSuccess(run);
  if (feature() >= 25) {
    EXPECT_TRUE(run.has("archive-kind cache: the runtime is 25 or later")) << run.describe();
    EXPECT_TRUE(run.hasPrefix("archive-option -XX:AOTMode=record")) << run.describe();
    EXPECT_TRUE(run.has("archive-recorded yes")) << run.describe();
  } else if (feature() >= 13) {
    EXPECT_TRUE(run.has("archive-kind dynamic: the runtime is older than 25")) << run.describe();
    EXPECT_TRUE(run.hasPrefix("archive-option -XX:ArchiveClassesAtExit=" + folder() + "/")) << run.describe();
    EXPECT_TRUE(run.has("archive-published yes")) << run.describe();
    EXPECT_EQ(files().size(), 1u);
  } else {
    EXPECT_TRUE(run.has("archive none: the runtime's version is older than 13 or unknown")) << run.describe();
    EXPECT_FALSE(run.hasPrefix("archive-option")) << run.describe();
    EXPECT_FALSE(fileExists(folder())) << run.describe();
  }
}

// The dynamic archive; from 25 on, a runtime without its own java command (a runtime image made
// without native commands) keeps it too.
class ClassDataArchive : public ClassDataArchiveRule {
 protected:
  void SetUp() override {
    if (feature() < 13) GTEST_SKIP() << "HotSpot " << feature() << " writes no class-data archive (13 and later do)";
    ClassDataArchiveRule::SetUp();
    if (feature() >= 25) extraFlags_ = {"--java-command", dir_ + "/bin/java"};
  }
};

TEST_F(ClassDataArchive, ARuntimeFrom25OnWithoutJavaCommandKeepsTheDynamicArchive) {
  if (feature() < 25) GTEST_SKIP() << "HotSpot " << feature() << " keeps the dynamic archive anyway";
  const HostRun run = start(jar_);
  expectQuietSuccess(run);
  EXPECT_TRUE(run.has("archive-kind dynamic: the runtime has no java command to assemble an ahead-of-time cache"))
      << run.describe();
  EXPECT_TRUE(run.has("archive-published yes")) << run.describe();
}

// probe/Reflective leads HotSpot to a class it cannot archive, which it warns about.
TEST_F(ClassDataArchive, FirstStartWritesItAndTheNextMapsTheClassesFromIt) {
  const HostRun first = start(jar_, dir_ + "/first.log", "probe/Reflective");
  expectQuietSuccess(first);
  EXPECT_TRUE(first.hasPrefix("archive-option -XX:ArchiveClassesAtExit=" + folder() + "/")) << first.describe();
  EXPECT_TRUE(first.has("archive-published yes")) << first.describe();
  EXPECT_FALSE(mappedFromArchive(dir_ + "/first.log"));
  ASSERT_EQ(files().size(), 1u);
  const std::string archive = folder() + "/" + files()[0];
  EXPECT_TRUE(archive.ends_with(".jsa")) << archive;

  const HostRun second = start(jar_, dir_ + "/second.log", "probe/Reflective");
  expectQuietSuccess(second);
  EXPECT_TRUE(second.has("archive-option -XX:SharedArchiveFile=" + archive)) << second.describe();
  EXPECT_FALSE(second.hasPrefix("archive-published")) << second.describe();
  EXPECT_TRUE(mappedFromArchive(dir_ + "/second.log")) << readFile(dir_ + "/second.log");
}

TEST_F(ClassDataArchive, SystemExitPublishesItFromTheExitHook) {
  const HostRun run = start(jar_, "", "probe/ExitSeven");
  EXPECT_EQ(run.exitCode, 7) << run.describe();
  EXPECT_LT(run.indexOf("exit-hook 7"), run.indexOf("archive-published yes")) << run.describe();
  ASSERT_EQ(files().size(), 1u);
  EXPECT_TRUE(files()[0].ends_with(".jsa"));
}

// A jar replaced (a new time stamp) or another class path: the old archive is never handed to
// the VM; a new one replaces it, and the start goes on as usual.
TEST_F(ClassDataArchive, ChangedJarOrClassPathReplacesTheStaleArchive) {
  expectQuietSuccess(start(jar_));
  const std::vector<std::string> before = files();
  ASSERT_EQ(before.size(), 1u);

  struct utimbuf later{std::time(nullptr) + 60, std::time(nullptr) + 60};
  ASSERT_EQ(utime(jar_.c_str(), &later), 0);
  const HostRun updated = start(jar_, dir_ + "/updated.log");
  expectQuietSuccess(updated);
  EXPECT_TRUE(updated.hasPrefix("archive-option -XX:ArchiveClassesAtExit=")) << updated.describe();
  EXPECT_FALSE(mappedFromArchive(dir_ + "/updated.log"));
  const std::vector<std::string> after = files();
  ASSERT_EQ(after.size(), 1u);
  EXPECT_NE(after, before);

  const std::string other = dir_ + "/other.jar";
  writeFile(other, readFile(JVM_TEST_JAR));
  expectQuietSuccess(start(jar_ + ":" + other));
  ASSERT_EQ(files().size(), 1u);
  EXPECT_NE(files(), after);
  const HostRun again = start(jar_ + ":" + other, dir_ + "/again.log");
  expectQuietSuccess(again);
  EXPECT_TRUE(mappedFromArchive(dir_ + "/again.log"));
}

TEST_F(ClassDataArchive, AFolderThatCannotBeMadeMeansNoArchiveAndAnOrdinaryStart) {
  writeFile(dir_ + "/blocker", "");
  const HostRun run = runHost({"--class-data-archive", dir_ + "/blocker/Class Data", "--archive-class-path", jar_,
                               "--main-class", "probe/Echo"});
  expectQuietSuccess(run);
  EXPECT_TRUE(run.has("archive none")) << run.describe();
  EXPECT_FALSE(run.hasPrefix("archive-option")) << run.describe();
}

TEST_F(ClassDataArchive, TwoFirstStartsAtOnceBothRunAndLeaveOneGoodArchive) {
  HostRun runs[2];
  std::thread other([&] { runs[1] = start(jar_); });
  runs[0] = start(jar_);
  other.join();
  for (const HostRun& run : runs) {
    expectQuietSuccess(run);
    EXPECT_TRUE(run.hasPrefix("archive-option -XX:ArchiveClassesAtExit=")) << run.describe();
  }
  ASSERT_EQ(files().size(), 1u) << files().back();
  EXPECT_TRUE(files()[0].ends_with(".jsa"));
  const HostRun next = start(jar_, dir_ + "/next.log");
  expectQuietSuccess(next);
  EXPECT_TRUE(mappedFromArchive(dir_ + "/next.log"));
}

// A named module on the module path and a module linked into a runtime image: the module's
// classes are archived like a jar's, and the archive's name follows the module's jar.
TEST_F(ClassDataArchive, ModulesOnTheModulePathAreArchivedAndAnImageWithoutBaseArchiveGetsNone) {
  const std::string modules = dir_ + "/modapp.jar";
  writeFile(modules, readFile(JVM_TEST_MODULE_JAR));
  auto startModule = [&](const std::string& log) { return runHost(moduleStart(modules, log), false); };
  const HostRun first = startModule(dir_ + "/first.log");
  EXPECT_EQ(first.exitCode, 0) << first.describe();
  EXPECT_TRUE(first.hasPrefix("module-main modapp")) << first.describe();
  EXPECT_TRUE(first.has("archive-published yes")) << first.describe();
  ASSERT_EQ(files().size(), 1u);
  const std::string archive = files()[0];
  const HostRun second = startModule(dir_ + "/second.log");
  EXPECT_TRUE(second.hasPrefix("archive-option -XX:SharedArchiveFile=")) << second.describe();
  EXPECT_TRUE(contains(readFile(dir_ + "/second.log"), "modapp.Hello source: shared objects file (top)"))
      << readFile(dir_ + "/second.log");
  // A new module jar: a new archive, the stale one removed.
  struct utimbuf later{std::time(nullptr) + 60, std::time(nullptr) + 60};
  ASSERT_EQ(utime(modules.c_str(), &later), 0);
  const HostRun renewed = startModule(dir_ + "/renewed.log");
  EXPECT_TRUE(renewed.has("archive-published yes")) << renewed.describe();
  ASSERT_EQ(files().size(), 1u);
  EXPECT_NE(files()[0], archive);

  if (!testRuntime().enterTree.empty()) return;  // the image is the build JDK's
  const HostRun image = runHost({"--class-data-archive", folder(), "--vm-option", "-Djdk.module.main=modapp",
                                 "--main-module", "modapp"},
                                false, std::string(JVM_TEST_IMAGE) + "/lib/server/libjvm.so");
  EXPECT_TRUE(image.has("archive none")) << image.describe();
  EXPECT_TRUE(image.hasPrefix("module-main modapp")) << image.describe();
}

// HotSpot cannot archive with a non-empty folder on the class path and fails the VM's end. The
// launcher leaves out folders it can see; one named in a jar's manifest shows only when the VM
// aborts. One abort may have had another cause, so it is only noted; the second in a row is
// remembered, so that only those two starts are affected.
TEST_F(ClassDataArchive, FoldersOnTheClassPathAreLeftWithoutArchive) {
  const HostRun direct = start(JVM_TEST_CLASSES);
  expectQuietSuccess(direct);
  EXPECT_TRUE(direct.has("archive none")) << direct.describe();

  const std::string lib = dir_ + "/lib.jar";
  writeFile(lib, readFile(JVM_TEST_FOLDER_JAR));
  mkdir((dir_ + "/conf").c_str(), 0777);
  writeFile(dir_ + "/conf/app.properties", "a=b\n");
  const HostRun aborted = start(lib + ":" + jar_);
  EXPECT_TRUE(aborted.has("abort-hook")) << aborted.describe();
  ASSERT_EQ(files().size(), 1u);
  EXPECT_TRUE(files()[0].ends_with(".aborted"));
  const HostRun again = start(lib + ":" + jar_);
  EXPECT_TRUE(again.has("abort-hook")) << again.describe();
  EXPECT_TRUE(again.hasPrefix("archive-option -XX:ArchiveClassesAtExit=")) << again.describe();
  ASSERT_EQ(files().size(), 1u);
  EXPECT_TRUE(files()[0].ends_with(".failed"));
  const HostRun after = start(lib + ":" + jar_);
  expectQuietSuccess(after);
  EXPECT_TRUE(after.has("archive none")) << after.describe();
}

// The ahead-of-time cache of 25 and later: recorded by the first start, assembled by the
// runtime's own java after the VM has ended (the host waits for it; the launcher does not), and
// published and mapped by the next start.
class AheadOfTimeCache : public ClassDataArchiveRule {
 protected:
  void SetUp() override {
    if (feature() < 25) GTEST_SKIP() << "HotSpot " << feature() << " has no ahead-of-time cache (25 and later do)";
    ClassDataArchiveRule::SetUp();
  }
  std::vector<std::string> withExtension(const std::string& extension) const {
    std::vector<std::string> found;
    for (const std::string& name : files()) {
      if (name.ends_with(extension)) found.push_back(name);
    }
    return found;
  }
  // Whether the runtime's log shows the application's class mapped from the cache.
  static bool mappedFromCache(const std::string& log, const std::string& mainClass = "probe.Echo") {
    return contains(readFile(log), mainClass + " source: shared objects file");
  }
  // A first start and the one after it, which maps the cache; the cache's path.
  std::string recordAndMap(const std::string& jars) {
    const HostRun first = start(jars);
    expectQuietSuccess(first);
    EXPECT_TRUE(first.has("archive-assembled yes")) << first.describe();
    const HostRun second = start(jars, dir_ + "/mapped.log");
    expectQuietSuccess(second);
    EXPECT_TRUE(mappedFromCache(dir_ + "/mapped.log")) << second.describe();
    const std::vector<std::string> caches = withExtension(".aot");
    EXPECT_EQ(caches.size(), 1u);
    EXPECT_EQ(files(), caches);
    return caches.empty() ? "" : folder() + "/" + caches[0];
  }
};

TEST_F(AheadOfTimeCache, FirstStartRecordsItAndTheNextMapsTheClassesFromIt) {
  const HostRun first = start(jar_, dir_ + "/first.log");
  expectQuietSuccess(first);
  EXPECT_TRUE(first.hasPrefix("archive-option -XX:AOTConfiguration=" + folder() + "/")) << first.describe();
  EXPECT_LT(first.indexOf("result mainReturned"), first.indexOf("archive-assembled yes")) << first.describe();
  EXPECT_FALSE(mappedFromCache(dir_ + "/first.log"));
  EXPECT_EQ(withExtension(".aotconf").size(), 1u);
  EXPECT_EQ(withExtension(".aottmp").size(), 1u);
  EXPECT_TRUE(withExtension(".aot").empty());

  const HostRun second = start(jar_, dir_ + "/second.log");
  expectQuietSuccess(second);
  ASSERT_EQ(withExtension(".aot").size(), 1u) << second.describe();
  const std::string cache = folder() + "/" + withExtension(".aot")[0];
  EXPECT_TRUE(second.has("archive-option -XX:AOTCache=" + cache)) << second.describe();
  EXPECT_FALSE(second.hasPrefix("archive-recorded")) << second.describe();
  EXPECT_TRUE(mappedFromCache(dir_ + "/second.log")) << readFile(dir_ + "/second.log");
  // The recording and the assembly's log are gone with the publication.
  EXPECT_EQ(files().size(), 1u);
}

// The assembly sees the module path and the root module the recording start had; else the
// cache would not cover the module's classes.
TEST_F(AheadOfTimeCache, AModuleStartIsRecordedAndMappedFromItsModulePath) {
  const std::string modules = dir_ + "/modapp.jar";
  writeFile(modules, readFile(JVM_TEST_MODULE_JAR));
  const HostRun first = runHost(moduleStart(modules, dir_ + "/first.log"), false);
  EXPECT_TRUE(first.has("archive-assembled yes")) << first.describe();
  const HostRun second = runHost(moduleStart(modules, dir_ + "/second.log"), false);
  EXPECT_TRUE(second.hasPrefix("module-main modapp")) << second.describe();
  EXPECT_TRUE(mappedFromCache(dir_ + "/second.log", "modapp.Hello")) << readFile(dir_ + "/second.log");
}

TEST_F(AheadOfTimeCache, SystemExitRecordsItFromTheExitHook) {
  const HostRun run = start(jar_, "", "probe/ExitSeven");
  EXPECT_EQ(run.exitCode, 7) << run.describe();
  EXPECT_LT(run.indexOf("exit-hook 7"), run.indexOf("archive-assembled yes")) << run.describe();
  for (const std::string& line : run.lines) {
    if (!line.starts_with("archive-")) EXPECT_FALSE(contains(line, "AOTConfiguration")) << run.describe();
  }
  EXPECT_FALSE(contains(run.errors, "AOT")) << run.describe();
  const HostRun next = start(jar_, dir_ + "/next.log", "probe/ExitSeven");
  EXPECT_EQ(next.exitCode, 7) << next.describe();
  EXPECT_TRUE(mappedFromCache(dir_ + "/next.log", "probe.ExitSeven")) << next.describe();
}

TEST_F(AheadOfTimeCache, ATouchedJarMakesANewCacheAndRemovesTheOld) {
  const std::string old = recordAndMap(jar_);
  struct utimbuf later{std::time(nullptr) + 60, std::time(nullptr) + 60};
  ASSERT_EQ(utime(jar_.c_str(), &later), 0);
  const HostRun updated = start(jar_, dir_ + "/updated.log");
  expectQuietSuccess(updated);
  EXPECT_TRUE(updated.hasPrefix("archive-option -XX:AOTMode=record")) << updated.describe();
  EXPECT_FALSE(mappedFromCache(dir_ + "/updated.log"));
  EXPECT_FALSE(fileExists(old));
  const HostRun renewed = start(jar_, dir_ + "/renewed.log");
  expectQuietSuccess(renewed);
  EXPECT_TRUE(mappedFromCache(dir_ + "/renewed.log")) << renewed.describe();
  ASSERT_EQ(withExtension(".aot").size(), 1u);
  EXPECT_NE(folder() + "/" + withExtension(".aot")[0], old);
}

TEST_F(AheadOfTimeCache, TwoFirstStartsAtOnceLeaveOneGoodCache) {
  HostRun runs[2];
  std::thread other([&] { runs[1] = start(jar_); });
  runs[0] = start(jar_);
  other.join();
  for (const HostRun& run : runs) {
    expectQuietSuccess(run);
    EXPECT_TRUE(run.has("archive-assembled yes")) << run.describe();
  }
  EXPECT_EQ(withExtension(".aottmp").size(), 2u);
  const HostRun next = start(jar_, dir_ + "/next.log");
  expectQuietSuccess(next);
  EXPECT_TRUE(mappedFromCache(dir_ + "/next.log")) << next.describe();
  EXPECT_EQ(files().size(), 1u);
}

TEST_F(AheadOfTimeCache, AnUnwritableFolderMeansAnOrdinaryStart) {
  mkdir(folder().c_str(), 0555);
  // Root writes anywhere: a file in the folder's place stands for the folder it cannot make.
  if (access(folder().c_str(), W_OK) == 0) {
    rmdir(folder().c_str());
    writeFile(folder(), "");
  }
  const HostRun run = start(jar_);
  expectQuietSuccess(run);
  EXPECT_TRUE(run.has("archive none")) << run.describe();
  EXPECT_FALSE(run.hasPrefix("archive-option")) << run.describe();
}

// An assembly that leaves no cache (here: a java command that fails) is only noted; the second in
// a row gives up on that name, and later starts run as usual.
TEST_F(AheadOfTimeCache, AFailingAssemblyIsTriedTwiceThenLeftAlone) {
  const std::string fake = dir_ + "/bin/java";
  mkdir((dir_ + "/bin").c_str(), 0777);
  writeFile(fake, "#!/bin/sh\necho assembling\nexit 3\n");
  chmod(fake.c_str(), 0755);
  extraFlags_ = {"--java-command", fake};
  for (int attempt = 0; attempt < 2; ++attempt) {
    const HostRun run = start(jar_);
    expectQuietSuccess(run);
    EXPECT_TRUE(run.hasPrefix("archive-option -XX:AOTMode=record")) << run.describe();
    EXPECT_TRUE(run.has("archive-assembled no")) << run.describe();
  }
  const HostRun after = start(jar_);
  expectQuietSuccess(after);
  EXPECT_TRUE(after.has("archive none")) << after.describe();
  EXPECT_EQ(withExtension(".failed").size(), 1u);
}

}  // namespace

namespace {

// A forwarded start served while the first instance's main is about to start.
HostRun forwardTo(const std::string& mainClass, std::vector<std::string> forwarded) {
  std::vector<std::string> flags{"--main-class", mainClass};
  for (const std::string& argument : forwarded) {
    flags.push_back("--forward");
    flags.push_back(argument);
  }
  return runHost(flags);
}

TEST(SecondaryMain, IntFormAnswersWithItsResultFromAClassNamedOutsideAscii) {
  const HostRun run = forwardTo("probe/Z\xC3\xA4hler", {"gr\xC3\xBC\xC3\x9F", "b"});
  expectCleanRun(run);
  EXPECT_EQ(run.exitCode, 0) << run.describe();
  EXPECT_TRUE(run.has("secondary-int gr\xC3\xBC\xC3\x9F|b")) << run.describe();
  EXPECT_TRUE(run.has("reply 24")) << run.describe();
  // Detached again: the VM is destroyed and main ran as usual.
  EXPECT_TRUE(run.has("main-entered")) << run.describe();
  EXPECT_TRUE(run.has("result mainReturned")) << run.describe();
}

TEST(SecondaryMain, AnExceptionFromTheIntFormAnswersOneAndIsPrinted) {
  const HostRun run = forwardTo("probe/Z\xC3\xA4hler", {"throw"});
  expectCleanRun(run);
  EXPECT_TRUE(run.has("reply 1")) << run.describe();
  EXPECT_TRUE(contains(run.errors, "IllegalStateException: thrown by secondaryMain")) << run.describe();
  EXPECT_TRUE(run.has("result mainReturned")) << run.describe();
}

TEST(SecondaryMain, VoidFormIsAnsweredBeforeItRunsEvenWhenItThrows) {
  for (const char* first : {"a", "throw"}) {
    const HostRun run = forwardTo("probe/SecondVoid", {first, "x y"});
    expectCleanRun(run);
    const long reply = run.indexOf("reply 0");
    ASSERT_GE(reply, 0) << run.describe();
    const std::string called = std::string("secondary-void ") + first + "|x y on ";
    EXPECT_TRUE(run.hasPrefix(called)) << run.describe();
    EXPECT_TRUE(std::none_of(run.lines.begin(), run.lines.begin() + reply,
                             [&](const std::string& l) { return l.rfind(called, 0) == 0; }))
        << run.describe();
    EXPECT_EQ(contains(run.errors, "thrown by secondaryMain"), std::string(first) == "throw") << run.describe();
    EXPECT_TRUE(run.has("result mainReturned")) << run.describe();
  }
}

TEST(SecondaryMain, NoSecondaryMainOrNoVmMeansNoAnswer) {
  const HostRun withoutMethod = forwardTo("probe/Echo", {"a"});
  expectCleanRun(withoutMethod);
  EXPECT_TRUE(withoutMethod.has("no-reply")) << withoutMethod.describe();
  EXPECT_TRUE(contains(withoutMethod.errors, "NoSuchMethodError")) << withoutMethod.describe();
  EXPECT_TRUE(withoutMethod.has("result mainReturned")) << withoutMethod.describe();

  // Attaching to a VM that has been destroyed is refused, and nothing crashes.
  const HostRun afterDestroy = runHost({"--main-class", "probe/Z\xC3\xA4hler", "--forward", "a", "--forward-after-destroy"});
  expectCleanRun(afterDestroy);
  EXPECT_TRUE(afterDestroy.has("no-reply")) << afterDestroy.describe();
  EXPECT_FALSE(afterDestroy.hasPrefix("secondary-int")) << afterDestroy.describe();
  EXPECT_EQ(afterDestroy.exitCode, 0) << afterDestroy.describe();
}

}  // namespace

namespace {

// Which main methods the runtime's own launcher starts, by version: only a public static
// main(String[]) before 25 (and on 21 without --enable-preview); from 25 on also one that is not
// public, one without parameters and an instance main, main(String[]) before main(); on 21 with
// --enable-preview a static main of the class itself before an instance main. The launcher
// starts the same method on both routes to the class, or none, with message 216 and -1.
enum class Protocol { publicStaticMain, firstPreview, instanceMain };

struct EntryCase {
  const char* mainClass;
  // What the class prints when each protocol starts it; empty where that protocol refuses it.
  std::string firstPreviewLine;
  std::string instanceMainLine;
};

const EntryCase kEntryCases[] = {
    {"entry/StaticWithoutArguments", "entry static-without-arguments", "entry static-without-arguments"},
    {"entry/InstanceWithArguments", "entry instance-with-arguments argc 2 a b|c constructor",
     "entry instance-with-arguments argc 2 a b|c constructor"},
    // Its main() is inherited, protected: an object of this class is made for it.
    {"entry/InstanceWithoutArguments", "entry instance-without-arguments on entry.InstanceWithoutArguments",
     "entry instance-without-arguments on entry.InstanceWithoutArguments"},
    // Two forms: each protocol picks the one it prefers.
    {"entry/TwoForms", "entry static-without-arguments", "entry instance-with-arguments argc 2"},
};

void expectEntryPoints(Protocol protocol, const std::vector<std::string>& vmFlags) {
  for (const EntryCase& c : kEntryCases) {
    const std::string& line = protocol == Protocol::instanceMain   ? c.instanceMainLine
                              : protocol == Protocol::firstPreview ? c.firstPreviewLine
                                                                   : std::string();
    std::string dotted = c.mainClass;
    std::replace(dotted.begin(), dotted.end(), '/', '.');
    for (const bool helperRoute : {true, false}) {
      std::vector<std::string> flags = vmFlags;
      if (!helperRoute) flags.push_back("--no-boot-loader-lookup");
      flags.insert(flags.end(), {"--main-class", c.mainClass, "--arg", "a b", "--arg", "c"});
      const HostRun run = runHost(flags);
      expectCleanRun(run);
      if (line.empty()) {
        EXPECT_TRUE(run.has("message 216: " + dotted + " has no main method: " + missingMainError(c.mainClass)))
            << run.describe();
        EXPECT_FALSE(run.hasPrefix("entry ")) << run.describe();
        EXPECT_EQ(run.exitCode, 255) << run.describe();
      } else {
        EXPECT_EQ(run.withPrefix("entry "), line.substr(6)) << run.describe();
        EXPECT_FALSE(run.hasPrefix("message")) << run.describe();
        EXPECT_TRUE(run.has("result mainReturned")) << run.describe();
        EXPECT_EQ(run.exitCode, 0) << run.describe();
      }
    }
  }
  // No object can be made for the instance main, so none is called: the class says why.
  for (const bool helperRoute : {true, false}) {
    std::vector<std::string> flags = vmFlags;
    if (!helperRoute) flags.push_back("--no-boot-loader-lookup");
    flags.insert(flags.end(), {"--main-class", "entry/PrivateConstructor"});
    const HostRun run = runHost(flags);
    expectCleanRun(run);
    const std::string reason = protocol == Protocol::publicStaticMain
                                   ? missingMainError("entry/PrivateConstructor")
                                   : "void entry.PrivateConstructor.main() is an instance method without an object";
    EXPECT_TRUE(run.has("message 216: entry.PrivateConstructor has no main method: " + reason)) << run.describe();
    EXPECT_FALSE(run.has("constructor called")) << run.describe();
    EXPECT_FALSE(run.hasPrefix("entry ")) << run.describe();
    EXPECT_FALSE(run.hasPrefix("exit-hook")) << run.describe();
    EXPECT_EQ(run.exitCode, 255) << run.describe();
  }
}

TEST(LaunchProtocol, TheRuntimesOwnChoiceOfMainMethod) {
  expectEntryPoints(feature() >= 25 ? Protocol::instanceMain : Protocol::publicStaticMain, {});
}

// 21 to 24 start instance mains only as a preview feature.
TEST(LaunchProtocol, EnablePreviewOn21StartsTheFirstPreviewsChoice) {
  if (feature() < 21) GTEST_SKIP() << "HotSpot " << feature() << " has no instance main methods, in preview or not";
  const Protocol protocol = feature() >= 25 ? Protocol::instanceMain
                            : feature() == 21 ? Protocol::firstPreview
                                              : Protocol::instanceMain;
  expectEntryPoints(protocol, {"--vm-option", "--enable-preview"});
}

// As the runtime's own launcher sets it: the class and the arguments, so that jcmd, flight
// recordings and crash logs name the program; the user's own value wins.
TEST(JavaCommand, NamesTheMainClassAndArgumentsUnlessTheUserSetsIt) {
  const HostRun run = runHost({"--main-class", "probe/Command", "--arg", "a", "--arg", "b c"});
  expectCleanRun(run);
  EXPECT_TRUE(run.has("java-command [probe.Command a b c]")) << run.describe();

  const HostRun bare = runHost({"--main-class", "probe/Command"});
  EXPECT_TRUE(bare.has("java-command [probe.Command]")) << bare.describe();

  const HostRun own = runHost({"--vm-option", "-Dsun.java.command=My Tool", "--main-class", "probe/Command"});
  EXPECT_TRUE(own.has("java-command [My Tool]")) << own.describe();
}

// The shapes of application besides a class path, started with the options the launcher gives
// for "Main Jar", "Main Module" and "Module Path".
class ApplicationShapes : public ::testing::Test {
 protected:
  static std::vector<std::string> jarStart() {
    return {"--vm-option", std::string("-Djava.class.path=") + JVM_TEST_MAIN_JAR, "--main-jar", JVM_TEST_MAIN_JAR,
            "--arg", "x"};
  }
  static std::vector<std::string> moduleStart(const std::string& target) {
    return {"--vm-option", std::string("--module-path=") + JVM_TEST_MODULE_JAR, "--vm-option",
            "-Djdk.module.main=modapp", "--main-module", target};
  }
};

TEST_F(ApplicationShapes, ExecutableJarsManifestNamesTheClassOpensAndStartsTheAgentFirst) {
  const HostRun run = runHost(jarStart(), false);
  expectCleanRun(run);
  EXPECT_EQ(run.exitCode, 0) << run.describe();
  // Launcher-Agent-Class is Java 9's; Java 8 starts main alone.
  const bool agent = feature() >= 9;
  EXPECT_EQ(run.has("jar-agent agentmain"), agent) << run.describe();
  EXPECT_TRUE(run.has(std::string("jar-main agent-ran ") + (agent ? "true" : "false") + " args 1")) << run.describe();
  EXPECT_TRUE(run.has("jar-main reflected into java.lang")) << run.describe();
  EXPECT_TRUE(run.has("jar-main native access asked")) << run.describe();
  EXPECT_FALSE(contains(run.errors, "restricted method")) << run.describe();

  // The same class by name misses the manifest: from 17 on java.lang stays closed to it.
  const HostRun byName = runHost({"--vm-option", std::string("-Djava.class.path=") + JVM_TEST_MAIN_JAR,
                                  "--main-class", "jarapp/Main"},
                                 false);
  EXPECT_FALSE(byName.has("jar-agent agentmain")) << byName.describe();
  if (feature() >= 17) {
    EXPECT_FALSE(byName.has("jar-main reflected into java.lang")) << byName.describe();
    EXPECT_TRUE(contains(byName.errors, "InaccessibleObjectException")) << byName.describe();
  }
}

TEST_F(ApplicationShapes, JarWithoutLauncherHelperIsNamedInMessage241) {
  std::vector<std::string> flags = jarStart();
  flags.insert(flags.begin(), "--no-boot-loader-lookup");
  const HostRun run = runHost(flags, false);
  EXPECT_EQ(run.exitCode, 255) << run.describe();
  EXPECT_TRUE(run.hasPrefix("message 241: ")) << run.describe();
  EXPECT_FALSE(run.hasPrefix("jar-main")) << run.describe();
}

TEST_F(ApplicationShapes, NamedModuleStartsByItsNameOrByModuleAndClassWithoutClassPath) {
  if (feature() < 9) GTEST_SKIP() << "Java " << feature() << " has no modules";
  const HostRun byName = runHost(moduleStart("modapp"), false);
  expectCleanRun(byName);
  EXPECT_EQ(byName.exitCode, 0) << byName.describe();
  EXPECT_TRUE(byName.has("module-main modapp args 0 class-path []")) << byName.describe();

  const HostRun byClass = runHost(moduleStart("modapp/modapp.Other"), false);
  expectCleanRun(byClass);
  EXPECT_EQ(byClass.exitCode, 0) << byClass.describe();
  EXPECT_TRUE(byClass.has("module-other modapp")) << byClass.describe();

  // Beside a class path the module still starts as a module.
  const HostRun withClassPath = runHost(moduleStart("modapp"));
  EXPECT_TRUE(withClassPath.hasPrefix("module-main modapp args 0")) << withClassPath.describe();
}

TEST_F(ApplicationShapes, JlinkImageStartsItsLinkedModule) {
  if (!testRuntime().enterTree.empty()) GTEST_SKIP() << "the image is linked from the build's JDK";
  const std::string libjvm = std::string(JVM_TEST_IMAGE) + "/lib/server/libjvm.so";
  const HostRun run =
      runHost({"--vm-option", "-Djdk.module.main=modapp", "--main-module", "modapp", "--arg", "a"}, false, libjvm);
  expectCleanRun(run);
  EXPECT_EQ(run.exitCode, 0) << run.describe();
  EXPECT_TRUE(run.has("module-main modapp args 1 class-path []")) << run.describe();
}

}  // namespace

