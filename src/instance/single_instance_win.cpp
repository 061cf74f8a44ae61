#include "instance/single_instance_win.h"

#include <sddl.h>

#include "base/process_token_win.h"
#include "base/thread_win.h"
#include "base/trace.h"
#include "base/wide.h"

namespace launcher {

namespace {

// Kernel objects of different kinds share one namespace, so the mutex needs a name of its own.
constexpr std::u16string_view kLockSuffix = u"_upr_mtx";

}  // namespace

SECURITY_ATTRIBUTES* SystemInstanceSecurity::objectAttributes() {
  if (!made_) {
    made_ = true;
    const std::u16string user = currentUserSid();
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    // Full access for this user and SYSTEM, nothing inherited and nobody else.
    const std::u16string text = u"D:P(A;;GA;;;SY)(A;;GA;;;" + user + u")";
    if (!user.empty() &&
        ::ConvertStringSecurityDescriptorToSecurityDescriptorW(as_wcstr(text), SDDL_REVISION_1, &descriptor, nullptr)) {
      descriptor_.reset(descriptor);
      attributes_ = SECURITY_ATTRIBUTES{sizeof(SECURITY_ATTRIBUTES), descriptor, FALSE};
    }
  }
  return descriptor_ ? &attributes_ : nullptr;
}

bool SystemInstanceSecurity::ownedByThisUser(HANDLE object) { return ownedByCurrentUser(object); }

std::optional<std::uint32_t> SystemInstanceSecurity::ownLevel() { return integrityLevelOf(::GetCurrentProcess()); }

std::optional<std::uint32_t> SystemInstanceSecurity::levelOf(HANDLE process) { return integrityLevelOf(process); }

bool InstanceLock::take(const std::u16string& name, InstanceSecurity& security) {
  mutex_.reset(::CreateMutexW(security.objectAttributes(), FALSE, as_wcstr(name)));
  if (!mutex_) return false;
  if (::GetLastError() == ERROR_ALREADY_EXISTS && !security.ownedByThisUser(mutex_.get())) {
    mutex_.reset();
    return false;
  }
  // A mutex whose holder ended without releasing it is taken all the same.
  const DWORD taken = ::WaitForSingleObject(mutex_.get(), INFINITE);
  held_ = taken == WAIT_OBJECT_0 || taken == WAIT_ABANDONED;
  return held_;
}

void InstanceLock::release() {
  if (held_) ::ReleaseMutex(mutex_.get());
  held_ = false;
}

void InstanceLock::close() {
  release();
  mutex_.reset();
}

bool InstanceClient::ownerServes(const SharedInstanceBlock& header) {
  if (header.listenerThreadId == 0 || header.ownerProcessId == 0 || header.forwardMessage == 0) return false;
  // The least access that lets this start wait for the owner's end, read its exit code and ask
  // for its integrity level.
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

bool InstanceClient::forward() {
  // An answer that arrives before this thread first looks for it must find a queue to wait in.
  ensureMessageQueue();
  if (::PostThreadMessageW(listenerId_, forwardMessage_, ::GetCurrentThreadId(), 0)) return true;
  owner_.reset();
  listenerId_ = 0;
  return false;
}

std::int32_t InstanceClient::awaitReply() {
  for (bool ended = false;;) {
    MSG message;
    bool answered = false;
    while (!answered && ::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      answered = message.message == forwardMessage_;
    }
    if (answered) return static_cast<std::int32_t>(static_cast<std::uint32_t>(message.wParam));
    // An answer posted just before the owner ended is still read above, once.
    if (ended) {
      DWORD code = 0;
      return ::GetExitCodeProcess(owner_.get(), &code) ? static_cast<std::int32_t>(code) : -1;
    }
    const HANDLE owner = owner_.get();
    const DWORD woken = ::MsgWaitForMultipleObjects(1, &owner, FALSE, INFINITE, QS_ALLPOSTMESSAGE);
    if (woken == WAIT_OBJECT_0) {
      ended = true;
    } else if (woken != WAIT_OBJECT_0 + 1) {
      return -1;
    }
  }
}

bool SingleInstance::setUp(std::u16string_view modulePath, const std::vector<std::u16string>& arguments,
                           ForwardedStartHandler& handler) {
  const std::u16string name = instanceNameFor(modulePath);
  if (!lock_.take(name + std::u16string(kLockSuffix), *security_)) {
    return runAlone(u"off: its lock cannot be had or belongs to another user");
  }
  mapping_.reset(::CreateFileMappingW(INVALID_HANDLE_VALUE, security_->objectAttributes(), PAGE_READWRITE, 0,
                                      sizeof(SharedInstanceBlock), as_wcstr(name)));
  const bool existed = ::GetLastError() == ERROR_ALREADY_EXISTS;
  if (mapping_ && existed && !security_->ownedByThisUser(mapping_.get())) {
    return runAlone(u"off: its shared block belongs to another user");
  }
  if (mapping_) view_.reset(::MapViewOfFile(mapping_.get(), FILE_MAP_WRITE, 0, 0, 0));
  if (!view_) return runAlone(u"off: no shared block");
  block_ = static_cast<SharedInstanceBlock*>(view_.get());
  // A block whose owner has ended, or is ending, or never finished its set-up is taken over:
  // this start holds the lock, so no other can be using it.
  if (existed && client_.ownerServes(*block_)) {
    // An answer cannot cross from a lower level to a higher one, nor a request the other way:
    // such a start would wait, holding the lock, until the first instance ends.
    if (!sameLevelAsOwner()) return runAlone(u"off: the first instance runs at another integrity level");
    if (!packArguments(arguments, *block_)) {
      tearDown();
      return false;
    }
    if (client_.forward()) {
      role_ = InstanceRole::second;
      return true;
    }
  }
  client_.close();
  if (!server_.start(*block_, name, handler)) {
    server_.stop();
    return runAlone(u"off: the first instance cannot serve");
  }
  role_ = InstanceRole::first;
  lock_.release();
  return true;
}

bool SingleInstance::sameLevelAsOwner() {
  const std::optional<std::uint32_t> own = security_->ownLevel();
  const std::optional<std::uint32_t> owner = security_->levelOf(client_.ownerProcess());
  return own && owner && *own == *owner;
}

bool SingleInstance::runAlone(std::u16string_view why) {
  trace(u"single instance", why);
  // Nothing of the block is touched: it may be another start's.
  block_ = nullptr;
  tearDown();
  return true;
}

std::int32_t SingleInstance::awaitFirstInstanceReply() {
  const std::int32_t result = client_.awaitReply();
  lock_.release();
  return result;
}

void SingleInstance::tearDown() {
  if (role_ == InstanceRole::first) server_.stop();
  role_ = InstanceRole::off;
  block_ = nullptr;
  view_.reset();
  mapping_.reset();
  client_.close();
  lock_.close();
}

}  // namespace launcher
