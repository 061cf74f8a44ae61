#pragma once
// Single instance on Windows: the first launcher of an executable path serves, through a
// listener thread, the starts that follow it; each later start hands its arguments over, waits
// for the answer and ends with it. One named mutex per path puts the starts in a row: the first
// instance holds it while it sets up, a second start from opening the block until its answer
// (or the first instance's end), so no start reads another's arguments or a half-written header.

#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/win_owners.h"
#include "instance/instance_block.h"

namespace launcher {

class ForwardReply {
 public:
  virtual ~ForwardReply() = default;
  // Answers the second start, which ends with `result`; once at most.
  virtual void send(std::int32_t result) = 0;
};

// What the first instance does with a forwarded start, on a worker thread of that start's own,
// once main is about to be called. A start left unanswered waits for the first instance's end.
class ForwardedStartHandler {
 public:
  virtual ~ForwardedStartHandler() = default;
  virtual void handle(const std::vector<std::u16string>& arguments, ForwardReply& reply) = 0;
};

enum class InstanceRole { off, first, second };

class SingleInstance {
 public:
  SingleInstance() = default;
  SingleInstance(const SingleInstance&) = delete;
  SingleInstance& operator=(const SingleInstance&) = delete;
  ~SingleInstance() { tearDown(); }

  // Becomes the first instance of `modulePath`, or a second one that has handed `arguments` to
  // the first. Single instance stays off when a kernel object cannot be made. False only for a
  // second start whose arguments do not fit the block (the launch ends with -1).
  bool setUp(std::u16string_view modulePath, const std::vector<std::u16string>& arguments,
             ForwardedStartHandler& handler);
  InstanceRole role() const { return role_; }
  // The event to set once main is about to be called; null unless this is the first instance.
  HANDLE mainStartedEvent() const { return startedEvent_.get(); }
  // Second instance: the first instance's answer, or its exit code when it ends first; -1 when
  // neither can be learnt.
  std::int32_t awaitFirstInstanceReply();
  // Ends this process's part: a first instance stops serving (a later start then sets up anew),
  // a second one lets the next start go on. Safe to call more than once.
  void tearDown();

 private:
  friend struct ForwardWork;
  bool becomeFirst();
  bool forward();
  bool ownerServes();
  void startWorker(DWORD requestingThread);
  void releaseLock();
  void switchOff();
  static DWORD WINAPI listen(void* parameter);

  InstanceRole role_ = InstanceRole::off;
  std::u16string name_;
  ForwardedStartHandler* handler_ = nullptr;
  UniqueHandle lock_;
  bool holdsLock_ = false;
  UniqueHandle mapping_;
  UniqueView view_;
  SharedInstanceBlock* block_ = nullptr;
  UniqueHandle startedEvent_;
  UniqueHandle listenerReady_;
  UniqueHandle listener_;
  DWORD listenerId_ = 0;
  UINT forwardMessage_ = 0;
  // Second instance: the first instance's process, opened to wait for its end.
  UniqueHandle owner_;
};

}  // namespace launcher
