// Single instance against the real kernel objects, with the security answers Wine cannot give
// (it enforces neither integrity levels nor owners) supplied by the test.

#include "instance/single_instance_win.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <thread>

#include "base/wide.h"

namespace launcher {
namespace {

using Args = std::vector<std::u16string>;
using namespace std::chrono_literals;

struct FakeSecurity final : InstanceSecurity {
  bool ours = true;
  std::optional<std::uint32_t> own = 0x2000;
  std::optional<std::uint32_t> owner = 0x2000;
  SECURITY_ATTRIBUTES* objectAttributes() override { return nullptr; }
  bool ownedByThisUser(HANDLE) override { return ours; }
  std::optional<std::uint32_t> ownLevel() override { return own; }
  std::optional<std::uint32_t> levelOf(HANDLE) override { return owner; }
};

// Answers each forwarded start with 40 plus its argument count.
struct CountingHandler final : ForwardedStartHandler {
  Args received;
  void handle(const Args& arguments, ForwardReply& reply) override {
    received = arguments;
    reply.send(40 + static_cast<std::int32_t>(arguments.size()));
  }
};

struct Outcome {
  InstanceRole role = InstanceRole::off;
  std::int32_t answer = -2;
};

// A later start, on a thread of its own as in a process of its own: the answer comes to the
// thread that asked. Gives up after a few seconds, so a start that waits for ever fails the case.
Outcome laterStart(const std::u16string& path, const Args& arguments, FakeSecurity security) {
  std::packaged_task<Outcome()> task([path, arguments, security]() mutable {
    CountingHandler unused;
    SingleInstance start(&security);
    start.setUp(path, arguments, unused);
    Outcome outcome{start.role()};
    if (outcome.role == InstanceRole::second) outcome.answer = start.awaitFirstInstanceReply();
    return outcome;
  });
  std::future<Outcome> result = task.get_future();
  std::thread thread(std::move(task));
  const bool done = result.wait_for(10s) == std::future_status::ready;
  EXPECT_TRUE(done) << "the later start did not come back";
  if (!done) {
    thread.detach();
    return {};
  }
  thread.join();
  return result.get();
}

class FirstInstance {
 public:
  explicit FirstInstance(const std::u16string& path) : instance_(&security_) {
    EXPECT_TRUE(instance_.setUp(path, {}, handler_));
    EXPECT_EQ(instance_.role(), InstanceRole::first);
    ::SetEvent(instance_.mainStartedEvent());
  }
  SingleInstance& instance() { return instance_; }
  CountingHandler& handler() { return handler_; }

 private:
  FakeSecurity security_;
  CountingHandler handler_;
  SingleInstance instance_;
};

TEST(SingleInstance, OnlyAStartAtTheFirstInstancesLevelIsForwardedAndOthersLeaveTheBlockAlone) {
  const std::u16string path = u"C:\\apps\\level_case\\app.exe";
  FirstInstance first(path);

  FakeSecurity elevated;
  elevated.own = 0x3000;
  EXPECT_EQ(laterStart(path, {u"x"}, elevated).role, InstanceRole::off);
  FakeSecurity unknown;
  unknown.owner.reset();
  EXPECT_EQ(laterStart(path, {u"x"}, unknown).role, InstanceRole::off);
  EXPECT_TRUE(first.handler().received.empty());

  // The first instance still serves: neither start took its block over.
  const Outcome same = laterStart(path, {u"a", u"b"}, FakeSecurity{});
  EXPECT_EQ(same.role, InstanceRole::second);
  EXPECT_EQ(same.answer, 42);
  EXPECT_EQ(first.handler().received, (Args{u"a", u"b"}));
}

TEST(SingleInstance, ObjectsOfAnotherUserAreNeitherWaitedForNorUsed) {
  const std::u16string path = u"C:\\apps\\squatted\\app.exe";
  // Another user's program holds the lock and would never let go.
  const std::u16string lockName = instanceNameFor(path) + u"_upr_mtx";
  UniqueHandle squatter(::CreateMutexW(nullptr, TRUE, as_wcstr(lockName)));
  ASSERT_TRUE(squatter);
  FakeSecurity foreign;
  foreign.ours = false;
  EXPECT_EQ(laterStart(path, {}, foreign).role, InstanceRole::off);
  ::ReleaseMutex(squatter.get());
}

TEST(SingleInstance, TheFirstInstanceClearsOnlyAHeaderThatIsStillItsOwn) {
  const std::u16string path = u"C:\\apps\\header_case\\app.exe";
  UniqueHandle mapping(::OpenFileMappingW(FILE_MAP_WRITE, FALSE, as_wcstr(instanceNameFor(path))));
  EXPECT_FALSE(mapping);
  {
    FirstInstance first(path);
    mapping.reset(::OpenFileMappingW(FILE_MAP_WRITE, FALSE, as_wcstr(instanceNameFor(path))));
    ASSERT_TRUE(mapping);
    UniqueView view(::MapViewOfFile(mapping.get(), FILE_MAP_WRITE, 0, 0, 0));
    auto* block = static_cast<SharedInstanceBlock*>(view.get());
    EXPECT_EQ(block->ownerProcessId, ::GetCurrentProcessId());
    first.instance().tearDown();
    EXPECT_EQ(block->listenerThreadId, 0u) << "a later start must see at once that nobody serves";
  }
  {
    FirstInstance first(path);
    UniqueView view(::MapViewOfFile(mapping.get(), FILE_MAP_WRITE, 0, 0, 0));
    auto* block = static_cast<SharedInstanceBlock*>(view.get());
    // Another start took the block over meanwhile and wrote its own header.
    block->listenerThreadId = 0x7FFF0001;
    first.instance().tearDown();
    EXPECT_EQ(block->listenerThreadId, 0x7FFF0001u);
  }
}

TEST(SingleInstance, LaunchersOfPathsThatDifferOnlyInBackslashAndUnderscoreDoNotMeet) {
  FirstInstance joined(u"C:\\apps\\a_b\\app.exe");
  EXPECT_EQ(laterStart(u"C:\\apps\\a\\b\\app.exe", {}, FakeSecurity{}).role, InstanceRole::first);
  const Outcome same = laterStart(u"C:\\apps\\a_b\\app.exe", {u"z"}, FakeSecurity{});
  EXPECT_EQ(same.answer, 41);
}

}  // namespace
}  // namespace launcher
