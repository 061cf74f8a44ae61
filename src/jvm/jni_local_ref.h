#pragma once
// Local references that release themselves, for the launcher's JNI code.

#include <jni.h>

namespace launcher {

// A local reference released on every path: the Java main thread stays in native code for the
// whole program, so its local references would otherwise live as long as the VM.
class LocalRef {
 public:
  LocalRef(JNIEnv* env, jobject ref) : env_(env), ref_(ref) {}
  LocalRef(const LocalRef&) = delete;
  LocalRef& operator=(const LocalRef&) = delete;
  ~LocalRef() { reset(nullptr); }

  jobject get() const { return ref_; }
  void reset(jobject ref) {
    if (ref_ != nullptr) env_->DeleteLocalRef(ref_);
    ref_ = ref;
  }
  explicit operator bool() const { return ref_ != nullptr; }

 private:
  JNIEnv* env_;
  jobject ref_;
};

}  // namespace launcher
