#include "instance/single_instance_win.h"

#include <memory>
#include <type_traits>

#include "base/wide.h"

namespace launcher {

namespace {

static_assert(sizeof(DWORD) == sizeof(std::uint32_t) && sizeof(UINT) == sizeof(std::uint32_t),
              "the block's header holds a thread id, a process id and a message number as they are");

constexpr std::u16string_view kStartedEventSuffix = u"_upr_evt";
// Kernel objects of different kinds share one namespace, so the mutex needs a name of its own.
constexpr std::u16string_view kLockSuffix = u"_upr_mtx";
// How long a stop waits for a thread between two quit messages.
constexpr DWORD kQuitRetryMs = 50;

// Workers run on after the first instance has stopped serving; the handler is theirs to use
// only while this says it is still there. Held shared by each worker inside the handler, taken
// exclusively when the first instance stops.
SRWLOCK servingLock = SRWLOCK_INIT;
ForwardedStartHandler* servingHandler = nullptr;

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

// Sends `thread` the quit message until it has ended, waiting on it between attempts: a quit
// posted before the thread has its message queue is lost.
void stopThread(HANDLE thread, DWORD threadId) {
  do {
    ::PostThreadMessageW(threadId, WM_QUIT, 0, 0);
  } while (::WaitForSingleObject(thread, kQuitRetryMs) == WAIT_TIMEOUT);
}

// Gives the calling thread its message queue, so that messages posted to it from now on are kept.
void ensureMessageQueue() {
  MSG message;
  ::PeekMessageW(&message, nullptr, WM_USER, WM_USER, PM_NOREMOVE);
}

}  // namespace

// One forwarded start: its own copy of the arguments, read while the second start still holds
// the lock, and its own handle of the started event, so that nothing of the first instance's
// set-up is needed once it stops serving.
struct ForwardWork {
  UniqueHandle startedEvent;
  DWORD requestingThread = 0;
  UINT forwardMessage = 0;
  std::vector<std::u16string> arguments;

  static DWORD WINAPI run(void* parameter) {
    const std::unique_ptr<ForwardWork> work(static_cast<ForwardWork*>(parameter));
    // Only once main is about to start does the VM exist and the handler know it.
    if (::WaitForSingleObject(work->startedEvent.get(), INFINITE) != WAIT_OBJECT_0) return 1;
    ::AcquireSRWLockShared(&servingLock);
    if (servingHandler != nullptr) {
      ThreadReply reply(work->requestingThread, work->forwardMessage);
      servingHandler->handle(work->arguments, reply);
    }
    ::ReleaseSRWLockShared(&servingLock);
    return 0;
  }
};

// Thread routines are __stdcall on x86: one of another convention would crash only there.
static_assert(std::is_same_v<decltype(&ForwardWork::run), LPTHREAD_START_ROUTINE>);

bool SingleInstance::setUp(std::u16string_view modulePath, const std::vector<std::u16string>& arguments,
                           ForwardedStartHandler& handler) {
  name_ = instanceNameFor(modulePath);
  handler_ = &handler;
  lock_.reset(::CreateMutexW(nullptr, FALSE, as_wcstr(name_ + std::u16string(kLockSuffix))));
  if (!lock_) return true;
  // A mutex whose holder ended without releasing it is taken all the same.
  const DWORD taken = ::WaitForSingleObject(lock_.get(), INFINITE);
  if (taken != WAIT_OBJECT_0 && taken != WAIT_ABANDONED) return true;
  holdsLock_ = true;

  mapping_.reset(::CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(SharedInstanceBlock),
                                      as_wcstr(name_)));
  const DWORD created = ::GetLastError();
  if (mapping_) view_.reset(::MapViewOfFile(mapping_.get(), FILE_MAP_WRITE, 0, 0, 0));
  if (!view_) {
    switchOff();
    return true;
  }
  block_ = static_cast<SharedInstanceBlock*>(view_.get());
  // A block whose owner has ended, or is ending, or never finished its set-up is taken over:
  // this start holds the lock, so no other can be using it.
  if (created == ERROR_ALREADY_EXISTS && ownerServes()) {
    if (!packArguments(arguments, *block_)) {
      tearDown();
      return false;
    }
    if (forward()) return true;
  }
  if (!becomeFirst()) switchOff();
  return true;
}

bool SingleInstance::ownerServes() {
  const SharedInstanceBlock header = *block_;
  if (header.listenerThreadId == 0 || header.ownerProcessId == 0 || header.forwardMessage == 0) return false;
  // The least access that lets this start wait for the owner's end and read its exit code.
  UniqueHandle owner(
      ::OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, header.ownerProcessId));
  if (!owner || ::WaitForSingleObject(owner.get(), 0) != WAIT_TIMEOUT) return false;
  const UniqueHandle listener(
      ::OpenThread(SYNCHRONIZE | THREAD_QUERY_LIMITED_INFORMATION, FALSE, header.listenerThreadId));
  if (!listener || ::WaitForSingleObject(listener.get(), 0) != WAIT_TIMEOUT ||
      ::GetProcessIdOfThread(listener.get()) != header.ownerProcessId) {
    return false;
  }
  owner_ = std::move(owner);
  forwardMessage_ = header.forwardMessage;
  listenerId_ = header.listenerThreadId;
  return true;
}

bool SingleInstance::forward() {
  // An answer that arrives before this thread first looks for it must find a queue to wait in.
  ensureMessageQueue();
  if (!::PostThreadMessageW(listenerId_, forwardMessage_, ::GetCurrentThreadId(), 0)) {
    owner_.reset();
    listenerId_ = 0;
    return false;
  }
  role_ = InstanceRole::second;
  return true;
}

bool SingleInstance::becomeFirst() {
  block_->listenerThreadId = 0;
  // Reset too when it exists already: an owner that ended may have left it set.
  startedEvent_.reset(::CreateEventW(nullptr, TRUE, FALSE, as_wcstr(name_ + std::u16string(kStartedEventSuffix))));
  if (!startedEvent_ || !::ResetEvent(startedEvent_.get())) return false;
  forwardMessage_ = ::RegisterWindowMessageW(as_wcstr(name_));
  if (forwardMessage_ == 0) return false;
  listenerReady_.reset(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
  if (!listenerReady_) return false;
  listener_.reset(::CreateThread(nullptr, 0, listen, this, 0, &listenerId_));
  if (!listener_) return false;
  // The header may name the listener only once it has a message queue to receive requests in.
  const HANDLE waitFor[] = {listenerReady_.get(), listener_.get()};
  if (::WaitForMultipleObjects(2, waitFor, FALSE, INFINITE) != WAIT_OBJECT_0) return false;
  ::AcquireSRWLockExclusive(&servingLock);
  servingHandler = handler_;
  ::ReleaseSRWLockExclusive(&servingLock);
  block_->forwardMessage = forwardMessage_;
  block_->ownerProcessId = ::GetCurrentProcessId();
  block_->listenerThreadId = listenerId_;
  role_ = InstanceRole::first;
  releaseLock();
  return true;
}

DWORD WINAPI SingleInstance::listen(void* parameter) {
  static_assert(std::is_same_v<decltype(&SingleInstance::listen), LPTHREAD_START_ROUTINE>);
  auto* self = static_cast<SingleInstance*>(parameter);
  ensureMessageQueue();
  ::SetEvent(self->listenerReady_.get());
  MSG message;
  while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (message.message == self->forwardMessage_) self->startWorker(static_cast<DWORD>(message.wParam));
  }
  return 0;
}

void SingleInstance::startWorker(DWORD requestingThread) {
  auto work = std::make_unique<ForwardWork>();
  work->requestingThread = requestingThread;
  work->forwardMessage = forwardMessage_;
  work->arguments = unpackArguments(*block_);
  if (!::DuplicateHandle(::GetCurrentProcess(), startedEvent_.get(), ::GetCurrentProcess(), work->startedEvent.put(),
                         SYNCHRONIZE, FALSE, 0)) {
    return;
  }
  const UniqueHandle worker(::CreateThread(nullptr, 0, ForwardWork::run, work.get(), 0, nullptr));
  if (worker) work.release();
}

std::int32_t SingleInstance::awaitFirstInstanceReply() {
  std::int32_t result = -1;
  for (bool ended = false;;) {
    MSG message;
    bool answered = false;
    while (!answered && ::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      answered = message.message == forwardMessage_;
    }
    if (answered) {
      result = static_cast<std::int32_t>(static_cast<std::uint32_t>(message.wParam));
      break;
    }
    // An answer posted just before the owner ended is still read above, once.
    if (ended) {
      DWORD code = 0;
      if (::GetExitCodeProcess(owner_.get(), &code)) result = static_cast<std::int32_t>(code);
      break;
    }
    const HANDLE owner = owner_.get();
    const DWORD woken = ::MsgWaitForMultipleObjects(1, &owner, FALSE, INFINITE, QS_ALLPOSTMESSAGE);
    if (woken == WAIT_OBJECT_0) {
      ended = true;
    } else if (woken != WAIT_OBJECT_0 + 1) {
      break;
    }
  }
  releaseLock();
  return result;
}

void SingleInstance::releaseLock() {
  if (holdsLock_) ::ReleaseMutex(lock_.get());
  holdsLock_ = false;
}

void SingleInstance::switchOff() {
  role_ = InstanceRole::off;
  tearDown();
}

void SingleInstance::tearDown() {
  if (listener_) stopThread(listener_.get(), listenerId_);
  if (role_ == InstanceRole::first) {
    // Workers still waiting for main never reach the handler now; those inside it finish first.
    ::AcquireSRWLockExclusive(&servingLock);
    servingHandler = nullptr;
    ::ReleaseSRWLockExclusive(&servingLock);
    // A later start then sees at once that nobody serves here.
    if (block_ != nullptr && block_->ownerProcessId == ::GetCurrentProcessId()) block_->listenerThreadId = 0;
  }
  role_ = InstanceRole::off;
  listener_.reset();
  listenerReady_.reset();
  block_ = nullptr;
  view_.reset();
  mapping_.reset();
  startedEvent_.reset();
  owner_.reset();
  releaseLock();
  lock_.reset();
}

}  // namespace launcher
