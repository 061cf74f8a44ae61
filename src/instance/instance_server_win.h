#pragma once
// The first instance's side of single instance: a listener thread that takes the requests of
// later starts and a worker for each, which hands the forwarded arguments to the program once
// its main is about to be called and posts the answer back.

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "base/handle_owners_win.h"
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

// The handler while the server serves; workers outlive the server, so they share this with it.
struct ServingState;
struct ServingStateRelease {
  void operator()(ServingState* state) const;
};
using SharedServingState = std::unique_ptr<ServingState, ServingStateRelease>;

class InstanceServer {
 public:
  InstanceServer() = default;
  InstanceServer(const InstanceServer&) = delete;
  InstanceServer& operator=(const InstanceServer&) = delete;
  ~InstanceServer() { stop(); }

  // Starts the listener and, once it can take requests, writes this process into `block`'s
  // header. False when a thread, event or message cannot be had; nothing is written then.
  bool start(SharedInstanceBlock& block, const std::u16string& name, ForwardedStartHandler& handler);
  // Set once main is about to be called: the workers wait for it.
  HANDLE mainStartedEvent() const { return startedEvent_.get(); }
  // Stops serving: the header is cleared while it still names this server (a later owner's is
  // never wiped), the listener ends, and workers still waiting never reach the handler; those
  // inside it finish first. Safe to call more than once.
  void stop();

 private:
  static DWORD WINAPI listen(void* parameter);
  void startWorker(DWORD requestingThread);

  SharedServingState serving_;
  SharedInstanceBlock* block_ = nullptr;
  UniqueHandle startedEvent_;
  UniqueHandle listenerReady_;
  UniqueHandle listener_;
  DWORD listenerId_ = 0;
  UINT forwardMessage_ = 0;
};

}  // namespace launcher
