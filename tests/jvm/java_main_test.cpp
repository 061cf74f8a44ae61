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

std::string temporaryFile() {
  char name[] = "/tmp/jvm_host_XXXXXX";
  const int fd = mkstemp(name);
  close(fd);
  return name;
}

// Runs the host with the test classes on the class path, -Xcheck:jni and `flags`.
HostRun runHost(std::vector<std::string> flags) {
  std::vector<std::string> argv = {JVM_HOST_PATH, "--vm-option", "-Xcheck:jni", "--vm-option",
                                   std::string("-Djava.class.path=") + JVM_TEST_CLASSES};
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
  EXPECT_TRUE(run.has("message 215: main class probe/Missing not found")) << run.describe();
  EXPECT_FALSE(run.has("main-started")) << run.describe();
  EXPECT_TRUE(run.has("result launchFailed")) << run.describe();
  EXPECT_EQ(run.exitCode, 255) << run.describe();
}

// The runtime's LauncherHelper does not hand back null for a class it cannot load: it reports
// the problem itself and ends the program with 1 through System.exit.
TEST(JavaMain, MissingClassOnTheLauncherHelperRouteEndsWithTheRuntimesReport) {
  const HostRun run = runHost({"--main-class", "probe/Missing"});
  expectCleanRun(run);
  EXPECT_TRUE(contains(run.errors, "probe.Missing")) << run.describe();
  EXPECT_TRUE(run.has("exit-hook 1")) << run.describe();
  EXPECT_FALSE(run.has("main-started")) << run.describe();
  EXPECT_EQ(run.exitCode, 1) << run.describe();
}

TEST(JavaMain, ClassWithoutMainShowsMessage216) {
  const HostRun fallback = runHost({"--no-boot-loader-lookup", "--main-class", "probe/NoMain"});
  expectCleanRun(fallback);
  // The VM raises NoSuchMethodError, which is printed; the message still comes.
  EXPECT_TRUE(contains(fallback.errors, "java.lang.NoSuchMethodError")) << fallback.describe();
  EXPECT_TRUE(fallback.has("message 216: the main class has no main method")) << fallback.describe();
  EXPECT_FALSE(fallback.has("wrong main called")) << fallback.describe();
  EXPECT_EQ(fallback.exitCode, 255) << fallback.describe();

  const HostRun helper = runHost({"--main-class", "probe/NoMain"});
  expectCleanRun(helper);
  EXPECT_FALSE(helper.has("wrong main called")) << helper.describe();
  EXPECT_TRUE(helper.has("exit-hook 1")) << helper.describe();
  EXPECT_EQ(helper.exitCode, 1) << helper.describe();
}

constexpr const char* kThrowerTrace =
    "java.lang.IllegalStateException: escaped from main: gr\xC3\xBC\xC3\x9F" "e \xF0\x9F\x98\x80\\n"
    "\\tat probe.Thrower.fail(Thrower.java:12)\\n"
    "\\tat probe.Thrower.main(Thrower.java:8)\\n";

TEST(JavaMain, EscapedExceptionWithoutFailureCheckFailsAfterTheVmEnds) {
  const HostRun run = runHost({"--main-class", "probe/Thrower"});
  expectCleanRun(run);
  EXPECT_TRUE(run.has("close-splash-window")) << run.describe();
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
  EXPECT_LT(run.indexOf("close-splash-window"), run.indexOf("failure-dialog-answer ok")) << run.describe();
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
  EXPECT_TRUE(run.has("message 203: the Java VM could not be created: unknown error")) << run.describe();
  EXPECT_FALSE(run.has("main-started")) << run.describe();
  EXPECT_TRUE(run.has("result launchFailed")) << run.describe();
  EXPECT_EQ(run.exitCode, 255) << run.describe();
}

std::uint64_t recursionDepth(const HostRun& run) { return std::strtoull(run.withPrefix("depth ").c_str(), nullptr, 10); }

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

}  // namespace
