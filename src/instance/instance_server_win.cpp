#include "instance/instance_server_win.h"

#include <type_traits>

#include "base/thread_win.h"
#include "base/wide.h"

namespace launcher {

static_assert(sizeof(DWORD) == sizeof(std::uint32_t) && sizeof(UINT) == sizeof(std::uint32_t) &&
                  sizeof(LONG) == sizeof(std::uint32_t),
              "the block's header holds a thread id, a process id and a message number as they are");

struct ServingState {
  // Held shared by each worker inside the handler, taken exclusively when the server stops.
  SRWLOCK lock = SRWLOCK_INIT;
  ForwardedStartHandler* handler = nullptr;
  // The server and each worker hold one reference; the last to go frees the state.
  volatile LONG references = 1;

  ServingState* share() {
    ::InterlockedIncrement(&references);
    return this;
  }
  static void drop(ServingState* state) {
    if (state != nullptr && ::InterlockedDecrement(&state->references) == 0) delete state;
  }
};

void ServingStateRelease::operator()(ServingState* state) const { ServingState::drop(state); }

namespace {

class ThreadReply final : public ForwardReply {
 public:
  ThreadReply(DWORD thread, UINT message) : thread_(thread), message_(message) {}
  void send(std::int32_t result) override {
    ::PostThreadMessageW(thread_, message_, static_cast<WPARAM>(static_cast<std::uint32_t>(result)), 0);
  }

 private:
  DWORD thread_;
  UINT message_;
};

// One forwarded start: its own copy of the arguments, read while the second start still holds
// the lock, and its own handle of the started event, so that nothing of the server is needed
// once it stops serving.
struct ForwardWork {
  SharedServingState serving;
  UniqueHandle startedEvent;
  DWORD requestingThread = 0;
  UINT forwardMessage = 0;
  std::vector<std::u16string> arguments;

  static DWORD WINAPI run(void* parameter) {
    const std::unique_ptr<ForwardWork> work(static_cast<ForwardWork*>(parameter));
    // Only once main is about to start does the VM exist and the handler know it.
    if (::WaitForSingleObject(work->startedEvent.get(), INFINITE) != WAIT_OBJECT_0) return 1;
    ServingState& serving = *work->serving;
    ::AcquireSRWLockShared(&serving.lock);
    if (serving.handler != nullptr) {
      ThreadReply reply(work->requestingThread, work->forwardMessage);
      serving.handler->handle(work->arguments, reply);
    }
    ::ReleaseSRWLockShared(&serving.lock);
    return 0;
  }
};

// Thread routines are __stdcall on x86: one of another convention would crash only there.
static_assert(std::is_same_v<decltype(&ForwardWork::run), LPTHREAD_START_ROUTINE>);

}  // namespace

bool InstanceServer::start(SharedInstanceBlock& block, const std::u16string& name, ForwardedStartHandler& handler) {
  block.listenerThreadId = 0;
  // Nothing opens it by name: each worker gets a handle of its own.
  startedEvent_.reset(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
  if (!startedEvent_) return false;
  forwardMessage_ = ::RegisterWindowMessageW(as_wcstr(name));
  if (forwardMessage_ == 0) return false;
  listenerReady_.reset(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
  if (!listenerReady_) return false;
  serving_.reset(new ServingState);
  serving_->handler = &handler;
  block_ = &block;
  listener_.reset(::CreateThread(nullptr, 0, listen, this, 0, &listenerId_));
  if (!listener_) return false;
  // The header may name the listener only once it has a message queue to receive requests in.
  const HANDLE waitFor[] = {listenerReady_.get(), listener_.get()};
  if (::WaitForMultipleObjects(2, waitFor, FALSE, INFINITE) != WAIT_OBJECT_0) return false;
  block.forwardMessage = forwardMessage_;
  block.ownerProcessId = ::GetCurrentProcessId();
  block.listenerThreadId = listenerId_;
  return true;
}

DWORD WINAPI InstanceServer::listen(void* parameter) {
  static_assert(std::is_same_v<decltype(&InstanceServer::listen), LPTHREAD_START_ROUTINE>);
  auto* self = static_cast<InstanceServer*>(parameter);
  ensureMessageQueue();
  ::SetEvent(self->listenerReady_.get());
  MSG message;
  while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (message.message == self->forwardMessage_) self->startWorker(static_cast<DWORD>(message.wParam));
  }
  return 0;
}

void InstanceServer::startWorker(DWORD requestingThread) {
  auto work = std::make_unique<ForwardWork>();
  work->serving.reset(serving_->share());
  work->requestingThread = requestingThread;
  work->forwardMessage = forwardMessage_;
  work->arguments = unpackArguments(*block_);
  if (!::DuplicateHandle(::GetCurrentProcess(), startedEvent_.get(), ::GetCurrentProcess(), work->startedEvent.put(),
                         SYNCHRONIZE, FALSE, 0)) {
    return;
  }
  const UniqueHandle worker(::CreateThread(nullptr, 0, ForwardWork::run, work.get(), 0, nullptr));
  if (worker) static_cast<void>(work.release());
}

void InstanceServer::stop() {
  if (listener_) {
    // While the listener lives its thread id names no other thread, so a header that still holds
    // it is this server's: a start that took the block over meanwhile keeps its own.
    if (block_ != nullptr) {
      ::InterlockedCompareExchange(reinterpret_cast<volatile LONG*>(&block_->listenerThreadId), 0,
                                   static_cast<LONG>(listenerId_));
    }
    stopMessageLoopThread(listener_.get(), listenerId_);
  }
  if (serving_) {
    ::AcquireSRWLockExclusive(&serving_->lock);
    serving_->handler = nullptr;
    ::ReleaseSRWLockExclusive(&serving_->lock);
  }
  serving_.reset();
  listener_.reset();
  listenerReady_.reset();
  startedEvent_.reset();
  block_ = nullptr;
}

}  // namespace launcher
