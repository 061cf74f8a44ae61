#pragma once
// The window that owns the launcher's error boxes and dialogs: the splash window while it lives,
// else none. The splash thread sets and clears it; any thread that opens a box reads it at that
// moment, so a box never names a window that has gone (such a box would not show at all) nor one
// that came after it was asked for.

#include <windows.h>

#include <atomic>

namespace launcher {

class MessageOwner {
 public:
  MessageOwner() = default;
  MessageOwner(const MessageOwner&) = delete;
  MessageOwner& operator=(const MessageOwner&) = delete;

  // The owner for a box that opens now; none when the window has gone meanwhile.
  HWND current() const {
    HWND window = window_.load(std::memory_order_acquire);
    return window != nullptr && ::IsWindow(window) ? window : nullptr;
  }
  void set(HWND window) { window_.store(window, std::memory_order_release); }
  // What must leave the screen before a box opens, called on the thread that opens it: the
  // runtime's splash, which owns no box and could hide one. Set once, before any box can open.
  void setBeforeBox(void (*hook)(void*), void* context) {
    beforeBox_ = hook;
    beforeBoxContext_ = context;
  }
  void beforeBox() const {
    if (beforeBox_) beforeBox_(beforeBoxContext_);
  }
  // Forgets `window` when it is still the owner; a later owner is kept.
  void clear(HWND window) {
    HWND expected = window;
    window_.compare_exchange_strong(expected, nullptr, std::memory_order_acq_rel);
  }

 private:
  std::atomic<HWND> window_{nullptr};
  void (*beforeBox_)(void*) = nullptr;
  void* beforeBoxContext_ = nullptr;
};

}  // namespace launcher
