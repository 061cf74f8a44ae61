#include "jvm/class_data_archive_win.h"

#include <windows.h>

#include <atomic>

#include "base/ansi_text_win.h"
#include "base/environment_win.h"
#include "base/file_system_win.h"
#include "base/path.h"
#include "base/process_token_win.h"
#include "base/text.h"
#include "base/trace.h"
#include "base/wide.h"
#include "base/handle_owners_win.h"
#include "jvm/class_data_archive.h"
#include "jvm/runtime_output.h"
#include "jvm/stream_files_win.h"

namespace launcher {
namespace {

class WindowsArchiveFiles : public ArchiveFiles {
 public:
  std::optional<FileStamp> stamp(std::u16string_view path) override {
    std::u16string text(path);
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!::GetFileAttributesExW(as_wcstr(text), GetFileExInfoStandard, &data)) return std::nullopt;
    return FileStamp{(std::uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow,
                     (std::uint64_t{data.ftLastWriteTime.dwHighDateTime} << 32) | data.ftLastWriteTime.dwLowDateTime,
                     (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0};
  }
  bool makeFolders(std::u16string_view folder) override {
    createParentFoldersOf(std::u16string(folder) + u"\\archive");
    std::optional<FileStamp> made = stamp(folder);
    return made && made->isFolder;
  }
  bool createNew(std::u16string_view path) override {
    std::u16string text(path);
    UniqueFileHandle file(::CreateFileW(as_wcstr(text), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                                        nullptr));
    return static_cast<bool>(file);
  }
  bool replace(std::u16string_view from, std::u16string_view to) override {
    std::u16string source(from), target(to);
    // HotSpot creates its archive read-only; the published one must stay replaceable.
    ::SetFileAttributesW(as_wcstr(source), FILE_ATTRIBUTE_NORMAL);
    return ::MoveFileExW(as_wcstr(source), as_wcstr(target), MOVEFILE_REPLACE_EXISTING) != 0;
  }
  void remove(std::u16string_view path) override {
    std::u16string text(path);
    ::SetFileAttributesW(as_wcstr(text), FILE_ATTRIBUTE_NORMAL);
    ::DeleteFileW(as_wcstr(text));
  }
  std::vector<std::u16string> namesStartingWith(std::u16string_view folder, std::u16string_view prefix) override {
    return findFileNames(std::u16string(folder) + u"\\" + std::u16string(prefix) + u"*");
  }
};


// Starts the cache's assembly and does not wait for it: no window, below normal priority, out of
// the launcher's job when the job lets it (a job that ends its processes with the launcher would
// cut the assembly short), and its output into `log` alone. The assembly holds that log open,
// without letting it be deleted, until it ends: that is how a later start knows it still runs.
bool startCacheAssembly(const std::vector<std::u16string>& command, const std::u16string& log,
                        const std::u16string& folder) {
  SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
  UniqueFileHandle output(::CreateFileW(as_wcstr(log), GENERIC_WRITE, FILE_SHARE_READ, &inheritable, CREATE_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!output) return false;
  // The assembly inherits this one handle, not whatever else of the launcher's is inheritable.
  HANDLE handle = output.get();
  SIZE_T size = 0;
  ::InitializeProcThreadAttributeList(nullptr, 1, 0, &size);
  std::u16string storage(size / sizeof(char16_t) + 8, u'\0');
  auto* attributes = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(storage.data());
  if (!::InitializeProcThreadAttributeList(attributes, 1, 0, &size)) return false;
  bool started = false;
  if (::UpdateProcThreadAttribute(attributes, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST, &handle, sizeof handle, nullptr,
                                  nullptr)) {
    STARTUPINFOEXW info{};
    info.StartupInfo.cb = sizeof info;
    info.StartupInfo.dwFlags = STARTF_USESTDHANDLES | STARTF_USESHOWWINDOW;
    info.StartupInfo.wShowWindow = SW_HIDE;
    info.StartupInfo.hStdOutput = handle;
    info.StartupInfo.hStdError = handle;
    const DWORD flags = CREATE_NO_WINDOW | CREATE_UNICODE_ENVIRONMENT | EXTENDED_STARTUPINFO_PRESENT |
                        BELOW_NORMAL_PRIORITY_CLASS;
    for (DWORD breakaway : {DWORD{CREATE_BREAKAWAY_FROM_JOB}, DWORD{0}}) {
      // CreateProcessW may write into the command line it is given, so each try gets a copy.
      std::u16string line = commandLineOf(command);
      PROCESS_INFORMATION process{};
      started = ::CreateProcessW(as_wcstr(command[0]), as_writable_wcstr(line), nullptr, nullptr, TRUE,
                                 flags | breakaway, nullptr, as_wcstr(folder), &info.StartupInfo, &process) != 0;
      if (!started) continue;
      ::CloseHandle(process.hThread);
      ::CloseHandle(process.hProcess);
      break;
    }
  }
  ::DeleteProcThreadAttributeList(attributes);
  return started;
}

// No 32-bit Windows runtime makes an ahead-of-time cache (that port ended with version 23), so
// the x86 launcher, which loads only 32-bit runtimes, carries none of that code.
constexpr bool kRuntimesMakeCaches = sizeof(void*) == 8;

std::vector<std::u16string> classPathEntries(std::u16string_view classPath) {
  std::vector<std::u16string> entries;
  for (std::u16string& entry : splitAt(classPath, u';')) {
    if (!entry.empty()) entries.push_back(std::move(entry));
  }
  return entries;
}

}  // namespace

void ClassDataArchiveStart::prepare(const LaunchContext& context, const LauncherSettings& settings,
                                    const std::u16string& jvmDllPath, const std::optional<JavaVersion>& version,
                                    VmSetup& setup) {
  if (!settings.classDataArchive) return;
  // The archive lies in the user's own folder, where a program of the same user without
  // elevation could plant one for an elevated start to map.
  if (runsElevated()) {
    trace(u"class data", u"no archive: the launcher runs elevated");
    return;
  }
  // bin\server\jvm.dll: the runtime's java.exe lies in bin.
  std::u16string javaCommand = joinPath(folderOf(folderOf(jvmDllPath)), u"java.exe");
  std::optional<FileStamp> java = WindowsArchiveFiles().stamp(javaCommand);
  // A module linked into the runtime (a jlink image) needs neither path.
  const bool noPaths = setup.classPath.empty() && setup.modulePath.empty() && settings.mainModule.empty();
  ClassDataChoice choice = chooseClassData(version, java && !java->isFolder);
  if (!kRuntimesMakeCaches && choice.kind == ClassDataKind::aheadOfTimeCache) {
    choice = {ClassDataKind::dynamicArchive, u"a 32-bit runtime makes no ahead-of-time cache"};
  }
  if (choice.kind == ClassDataKind::none || noPaths || optionsChooseClassSharing(setup.vmOptions)) {
    trace(u"class data", u"none: " + std::u16string(choice.kind == ClassDataKind::none ? choice.why
                                                    : noPaths ? u"no class path or module"
                                                                    : u"the user's own options decide"));
    return;
  }
  const bool cache = choice.kind == ClassDataKind::aheadOfTimeCache;
  trace(u"class data", std::u16string(cache ? u"ahead-of-time cache: " : u"dynamic archive: ") +
                           std::u16string(choice.why));
  std::optional<std::u16string> folder = classDataArchiveFolder(environmentValue(u"LOCALAPPDATA", 32767),
                                                                settings.productName, settings.productCode,
                                                                context.modulePath);
  if (!folder) return;

  ClassDataArchiveRequest request;
  request.folder = fullPathName(*folder);
  request.applicationPath = context.modulePath;
  request.runtimeLibrary = jvmDllPath;
  request.baseArchive = joinPath(folderOf(jvmDllPath), u"classes.jsa");
  request.classPath = classPathEntries(setup.classPath);
  request.modulePath = classPathEntries(setup.modulePath);
  request.vmOptions = setup.vmOptions;
  request.startTag = decimalText(::GetCurrentProcessId());
  request.aheadOfTime = cache;
  request.javaCommand = std::move(javaCommand);
  WindowsArchiveFiles files;
  if (!cache && tracing() && !files.stamp(request.baseArchive)) {
    trace(u"class data", u"no archive: no " + quotedForTrace(request.baseArchive) + u" (jlink --generate-cds-archive)");
  }
  std::optional<ClassDataArchivePlan> plan = planClassDataArchive(request, files);
  if (!plan) {
    trace(u"class data", u"none: an earlier attempt failed, the folder cannot be written, or the cache is being made");
    return;
  }

  std::vector<std::string> options;
  for (const std::u16string& option : plan->options) {
    options.push_back(toThreadAnsi(option));
    // A folder the ANSI code page cannot name would reach the VM as another path.
    if (fromThreadAnsi(options.back()) != option) {
      if (!plan->written.empty()) files.remove(plan->written);
      return;
    }
  }
  setup.vmOptions.insert(setup.vmOptions.begin() + static_cast<std::ptrdiff_t>(setup.userOptionsAt), options.begin(),
                         options.end());
  trace(u"class data", (plan->written.empty() ? u"uses " : u"makes ") + plan->archive);
  if (plan->written.empty()) return;
  // The runtime tells of its recording on the program's output stream.
  if (cache) quietCacheRecordingNotice();
  request_ = std::move(request);
  plan_ = std::move(*plan);
  pending_ = true;
}

void ClassDataArchiveStart::finish(bool keep) {
  if (!pending_.exchange(false)) return;
  WindowsArchiveFiles files;
  if (kRuntimesMakeCaches && keep && !plan_.assembled.empty()) {
    std::optional<std::vector<std::u16string>> command = cacheAssemblyCommand(request_, plan_, files);
    if (command && !startCacheAssembly(*command, plan_.assemblyLog, request_.folder)) {
      files.remove(plan_.assemblyLog);
      files.remove(plan_.written);
    }
  } else if (keep) {
    publishClassDataArchive(request_, plan_, files);
  } else {
    files.remove(plan_.written);
  }
}

void ClassDataArchiveStart::abandonOnAbort(bool duringCreation) {
  if (duringCreation) return finish(false);
  if (!pending_.exchange(false)) return;
  WindowsArchiveFiles files;
  abandonClassDataArchive(plan_, files);
}

}  // namespace launcher
