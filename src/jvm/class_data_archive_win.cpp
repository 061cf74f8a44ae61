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
  if (!version || !runtimeWritesClassDataArchive(*version)) return;
  // A module linked into the runtime (a jlink image) needs neither path.
  if (setup.classPath.empty() && setup.modulePath.empty() && settings.mainModule.empty()) return;
  if (optionsChooseClassSharing(setup.vmOptions)) return;
  std::optional<std::u16string> folder = classDataArchiveFolder(environmentValue(u"LOCALAPPDATA", MAX_PATH),
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
  WindowsArchiveFiles files;
  if (tracing() && !files.stamp(request.baseArchive)) {
    trace(u"class data", u"no archive: no " + quotedForTrace(request.baseArchive) + u" (jlink --generate-cds-archive)");
  }
  std::optional<ClassDataArchivePlan> plan = planClassDataArchive(request, files);
  if (!plan) return;

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
  if (plan->written.empty()) return;
  request_ = std::move(request);
  plan_ = std::move(*plan);
  pending_ = true;
}

void ClassDataArchiveStart::finish(bool keep) {
  if (!pending_.exchange(false)) return;
  WindowsArchiveFiles files;
  if (keep) {
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
