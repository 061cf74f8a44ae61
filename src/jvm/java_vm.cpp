#include "jvm/java_vm.h"

#include "base/text.h"
#include "base/trace.h"
#include "jvm/runtime_output.h"
#include "resources/resource_ids.h"

namespace launcher {

namespace {

// The text naming a JNI_CreateJavaVM failure; 0 for a result the JNI does not define.
unsigned reasonTextId(jint rc) {
  switch (rc) {
    case JNI_ERR: return IDS_JNI_ERR;
    case JNI_EDETACHED: return IDS_JNI_EDETACHED;
    case JNI_EVERSION: return IDS_JNI_EVERSION;
    case JNI_ENOMEM: return IDS_JNI_ENOMEM;
    case JNI_EEXIST: return IDS_JNI_EEXIST;
    case JNI_EINVAL: return IDS_JNI_EINVAL;
    default: return 0;
  }
}

// The hooks travel in the option's untyped extraInfo; the VM calls them back with the types
// VmExitHookFn, VmAbortHookFn and VmVfprintfHookFn give.
template <typename Fn>
void* asExtraInfo(Fn hook) {
  return reinterpret_cast<void*>(hook);
}

}  // namespace

std::uint32_t defaultMainThreadStackSize(const JavaRuntimeEntryPoints& entryPoints) {
  Jdk11InitArgs args{};
  args.version = JNI_VERSION_1_1;
  // The result says whether the runtime still supports JNI 1.1 as a VM version, which does not
  // matter here: a runtime that fills in the stack size does so either way.
  entryPoints.getDefaultJavaVmInitArgs(&args);
  return args.javaStackSize >= 1 ? static_cast<std::uint32_t>(args.javaStackSize) : 0;
}

bool createJavaVm(const JavaRuntimeEntryPoints& entryPoints, const std::vector<std::string>& vmOptions,
                  VmExitHookFn exitHook, VmAbortHookFn abortHook, const RuntimeOutput& output,
                  const StreamFiles& streamFiles, JavaVmState& state, JavaHostServices& services) {
  std::vector<JavaVMOption> options;
  options.reserve(vmOptions.size() + 3);
  // First: the VM takes the options in order and writes about a bad one as it meets it, through
  // the hook only when it has met the hook already.
  options.push_back(JavaVMOption{const_cast<char*>("vfprintf"), asExtraInfo(kRuntimeOutputHook)});
  for (const std::string& option : vmOptions) {
    // jni.h types the option text as writable; the VM only reads it.
    options.push_back(JavaVMOption{const_cast<char*>(option.c_str()), nullptr});
  }
  options.push_back(JavaVMOption{const_cast<char*>("abort"), asExtraInfo(abortHook)});
  options.push_back(JavaVMOption{const_cast<char*>("exit"), asExtraInfo(exitHook)});

  JavaVMInitArgs initArgs{};
  initArgs.version = JNI_VERSION_1_2;
  initArgs.nOptions = static_cast<jint>(options.size());
  initArgs.options = options.data();
  initArgs.ignoreUnrecognized = JNI_FALSE;

  JavaVM* javaVm = nullptr;
  JNIEnv* jniEnv = nullptr;
  VmCreationWatch watch(output, streamFiles, services);
  const jint rc = entryPoints.createJavaVm(&javaVm, reinterpret_cast<void**>(&jniEnv), &initArgs);
  if (tracing()) trace(u"vm", rc == JNI_OK ? u"created" : u"not created, JNI_CreateJavaVM gave " + signedDecimalText(rc));
  if (rc != JNI_OK) {
    watch.reportFailure(reasonTextId(rc));
    return false;
  }
  state.javaVm = javaVm;
  state.jniEnv = jniEnv;
  return true;
}

void destroyJavaVm(JavaVmState& state) {
  if (state.javaVm == nullptr) return;
  JavaVM* javaVm = state.javaVm;
  state.javaVm = nullptr;
  state.jniEnv = nullptr;
  javaVm->DestroyJavaVM();
}

}  // namespace launcher
