#pragma once
// The first instance's answer to forwarded starts: the Java application's secondaryMain, called
// on the forwarded start's own thread through the VM that the Java main thread published.

#include <jni.h>

#include <atomic>
#include <string>
#include <vector>

#include "instance/single_instance_win.h"

namespace launcher {

class SecondaryMainServer final : public ForwardedStartHandler {
 public:
  // Slash form, as in "com/example/Main".
  void setMainClass(const std::u16string& mainClass) { mainClass_ = mainClass; }
  // Called once the VM runs, before forwarded starts are let through; the VM is never taken
  // back: one that has been destroyed refuses to attach, which ends a late start unanswered.
  void publish(JavaVM* javaVm) { javaVm_.store(javaVm); }
  void handle(const std::vector<std::u16string>& arguments, ForwardReply& reply) override;

 private:
  std::u16string mainClass_;
  std::atomic<JavaVM*> javaVm_{nullptr};
};

}  // namespace launcher
