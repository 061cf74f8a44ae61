#pragma once
// Single instance on Windows: the first launcher of an executable path serves, through a
// listener thread, the starts that follow it; each later start hands its arguments over, waits
// for the answer and ends with it. One named mutex per path puts the starts in a row: the first
// instance holds it while it sets up, a second start from opening the block until its answer
// (or the first instance's end), so no start reads another's arguments or a half-written header.
//
// Only starts of one user at one integrity level meet: the named objects admit this user and
// SYSTEM alone, objects another user made are left alone, and a start whose level differs from
// the first instance's (an elevated start, which could not receive the answer) runs on its own.

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/handle_owners_win.h"
#include "instance/instance_block.h"
#include "instance/instance_server_win.h"

namespace launcher {

// Who owns what: the system's answers, or a test's, since Wine enforces neither integrity
// levels nor owners.
class InstanceSecurity {
 public:
  virtual ~InstanceSecurity() = default;
  // For the named objects this start creates: this user and SYSTEM only. Null leaves the
  // system's defaults, when such attributes cannot be made.
  virtual SECURITY_ATTRIBUTES* objectAttributes() = 0;
  // Whether an object that existed already (the lock or the block) belongs to this user.
  virtual bool ownedByThisUser(HANDLE object) = 0;
  // Integrity levels; nothing when they cannot be read.
  virtual std::optional<std::uint32_t> ownLevel() = 0;
  virtual std::optional<std::uint32_t> levelOf(HANDLE process) = 0;
};

// The answers of the system itself.
class SystemInstanceSecurity final : public InstanceSecurity {
 public:
  SECURITY_ATTRIBUTES* objectAttributes() override;
  bool ownedByThisUser(HANDLE object) override;
  std::optional<std::uint32_t> ownLevel() override;
  std::optional<std::uint32_t> levelOf(HANDLE process) override;

 private:
  bool made_ = false;
  UniqueLocalMemory descriptor_;
  SECURITY_ATTRIBUTES attributes_{};
};

// The named mutex that puts the starts of one path in a row; released when its owner goes.
class InstanceLock {
 public:
  InstanceLock() = default;
  InstanceLock(const InstanceLock&) = delete;
  InstanceLock& operator=(const InstanceLock&) = delete;
  ~InstanceLock() { close(); }

  // Opens or creates the lock and waits for it. False when it cannot be had, or when it is
  // another user's (who could hold it for ever).
  bool take(const std::u16string& name, InstanceSecurity& security);
  void release();
  void close();

 private:
  UniqueHandle mutex_;
  bool held_ = false;
};

// The second start's side: the first instance it hands its arguments to, and the answer.
class InstanceClient {
 public:
  // Whether the owner named in `header` is alive and its listener runs; keeps its process to
  // wait for its end.
  bool ownerServes(const SharedInstanceBlock& header);
  HANDLE ownerProcess() const { return owner_.get(); }
  // Asks the listener to serve this start; false when the request cannot be posted.
  bool forward();
  // The first instance's answer, or its exit code when it ends first; -1 when neither can be
  // learnt.
  std::int32_t awaitReply();
  void close() { owner_.reset(); }

 private:
  UniqueHandle owner_;
  DWORD listenerId_ = 0;
  UINT forwardMessage_ = 0;
};

enum class InstanceRole { off, first, second };

class SingleInstance {
 public:
  // `security` null: the system's.
  explicit SingleInstance(InstanceSecurity* security = nullptr)
      : security_(security != nullptr ? security : &systemSecurity_) {}
  SingleInstance(const SingleInstance&) = delete;
  SingleInstance& operator=(const SingleInstance&) = delete;
  ~SingleInstance() { tearDown(); }

  // Becomes the first instance of `modulePath`, or a second one that has handed `arguments` to
  // the first. Single instance stays off when a kernel object cannot be made or is another
  // user's, or when the first instance runs at another integrity level. False only for a second
  // start whose arguments do not fit the block (the launch ends with -1).
  bool setUp(std::u16string_view modulePath, const std::vector<std::u16string>& arguments,
             ForwardedStartHandler& handler);
  InstanceRole role() const { return role_; }
  // The event to set once main is about to be called; null unless this is the first instance.
  HANDLE mainStartedEvent() const { return role_ == InstanceRole::first ? server_.mainStartedEvent() : nullptr; }
  // Second instance: the first instance's answer, or its exit code when it ends first; -1 when
  // neither can be learnt.
  std::int32_t awaitFirstInstanceReply();
  // Ends this process's part: a first instance stops serving (a later start then sets up anew),
  // a second one lets the next start go on. Safe to call more than once.
  void tearDown();

 private:
  // Off, with a trace line saying why, leaving the block as it is.
  bool runAlone(std::u16string_view why);
  // Whether this start may hand its arguments to the owner the client found.
  bool sameLevelAsOwner();

  SystemInstanceSecurity systemSecurity_;
  InstanceSecurity* security_;
  InstanceRole role_ = InstanceRole::off;
  InstanceLock lock_;
  UniqueHandle mapping_;
  UniqueView view_;
  SharedInstanceBlock* block_ = nullptr;
  InstanceServer server_;
  InstanceClient client_;
};

}  // namespace launcher
