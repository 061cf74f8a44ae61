#pragma once
// The class-data archive on Windows: its folder under %LOCALAPPDATA%, its files, and its
// publication once the VM has ended, however it ends.

#include <atomic>
#include <optional>
#include <string>

#include "jvm/class_data_archive.h"

#include "jvm/vm_option_assembly_win.h"
#include "runtime/java_version.h"
#include "settings/launcher_settings.h"
#include "settings/settings_paths.h"

namespace launcher {

// The archive of one start, owned by the start. Its end may come on another thread (the exit
// hook runs on the VM's own) or never (the process is ended from outside).
class ClassDataArchiveStart {
 public:
  // When "Class Data Archive" is on and the runtime (of `version`, as its registry key or release
  // file gives it) writes archives, settles this start's archive and puts its options into
  // `setup.vmOptions` ahead of the user's own. Nothing changes otherwise, nor when no archive can
  // be kept.
  void prepare(const LaunchContext& context, const LauncherSettings& settings, const std::u16string& jvmDllPath,
               const std::optional<JavaVersion>& version, VmSetup& setup);

  // Once the VM has ended (DestroyJavaVM returned, or from its exit hook, after HotSpot has
  // written the archive): publishes the archive this start wrote when `keep`, else removes it.
  // Only the first call, of this and `abandonOnAbort`, does anything.
  void finish(bool keep);

  // From the VM's abort hook: the archive this start was to write will not come. An abort while
  // the VM was still being created says nothing of the archive, which is only removed; a later
  // one counts against it (abandonClassDataArchive).
  void abandonOnAbort(bool duringCreation);

 private:
  ClassDataArchiveRequest request_;
  ClassDataArchivePlan plan_;
  std::atomic<bool> pending_{false};
};

}  // namespace launcher
