#pragma once
// The class-data archive on Windows: its folder under %LOCALAPPDATA%, its files, and its
// publication once the VM has ended, however it ends.

#include <optional>
#include <string>

#include "jvm/vm_option_assembly_win.h"
#include "runtime/java_version.h"
#include "settings/launcher_settings.h"
#include "settings/settings_paths.h"

namespace launcher {

// When "Class Data Archive" is on and the runtime (of `version`, as its registry key or release
// file gives it) writes archives, settles this start's archive and puts its options into
// `setup.vmOptions` ahead of the user's own. Nothing changes otherwise, nor when no archive can be
// kept.
void prepareClassDataArchive(const LaunchContext& context, const LauncherSettings& settings,
                             const std::u16string& jvmDllPath, const std::optional<JavaVersion>& version,
                             VmSetup& setup);

// Once the VM has ended (DestroyJavaVM returned, or from its exit hook, after HotSpot has written
// the archive): publishes the archive this start wrote when `keep`, else removes it. Only the
// first call does anything.
void finishClassDataArchive(bool keep);

// From the VM's abort hook: the archive this start was to write will not come.
void abandonClassDataArchiveOnAbort();

}  // namespace launcher
