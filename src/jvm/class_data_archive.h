#pragma once
// The class-data archive: HotSpot (13 and later) writes the classes an application loaded into
// an archive when the VM ends (-XX:ArchiveClassesAtExit) and maps them from there on later starts
// (-XX:SharedArchiveFile) instead of loading and verifying them again. The launcher keeps one
// archive per application, runtime and class path in a per-user folder and never lets a start
// depend on it: an archive is named after everything it was made from, so one that no longer
// matches is never handed to the VM; it is written under a name of this start's own and renamed
// into place only once the VM has ended, so two starts at once cannot mix their files; and a
// start that cannot write the folder simply runs without one.
//
// On runtimes of version 25 and later the same rules keep the runtime's ahead-of-time cache instead
// (classes loaded and linked, and method profiles, made in two steps): the first start records
// what the application uses (-XX:AOTMode=record), and after the VM has ended the runtime's own
// `java` assembles the cache from that recording (-XX:AOTMode=create) in a process of its own,
// which the user does not wait for. A later start publishes a cache whose assembly has ended and
// maps it (-XX:AOTCache).
//
// The rules are kept free of the operating system: the file system comes in through
// `ArchiveFiles`, which Windows and the native JNI tests each supply.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/java_version.h"

namespace launcher {

// What the archive needs to know of a file: enough to notice that it was replaced.
struct FileStamp {
  std::uint64_t size = 0;
  std::uint64_t writeTime = 0;
  bool isFolder = false;
};

class ArchiveFiles {
 public:
  virtual ~ArchiveFiles() = default;
  // Nothing when `path` names neither a file nor a folder.
  virtual std::optional<FileStamp> stamp(std::u16string_view path) = 0;
  // Creates `folder` and the folders above it that are missing; false when it does not exist
  // afterwards.
  virtual bool makeFolders(std::u16string_view folder) = 0;
  // Creates the empty file `path`; false when it exists already or cannot be written.
  virtual bool createNew(std::u16string_view path) = 0;
  // Renames `from` to `to`, replacing a file there (the VM makes its archive read-only); false
  // when the file stays where it is.
  virtual bool replace(std::u16string_view from, std::u16string_view to) = 0;
  // Deletes the file, read-only or not; a file that cannot go stays (on Windows, one a process
  // holds open: the assembly's log, which its process holds until it ends).
  virtual void remove(std::u16string_view path) = 0;
  // The names (not paths) of the files in `folder` that begin with `prefix`.
  virtual std::vector<std::u16string> namesStartingWith(std::u16string_view folder, std::u16string_view prefix) = 0;
};

// Whether a runtime of `version` writes an archive of application classes at exit: 13 and later
// ("1.8" counts as 8).
bool runtimeWritesClassDataArchive(const JavaVersion& version);

// What a start keeps, and why, for the trace.
enum class ClassDataKind { none, dynamicArchive, aheadOfTimeCache };
struct ClassDataChoice {
  ClassDataKind kind = ClassDataKind::none;
  std::u16string_view why;
};
// 25 and later keep the ahead-of-time cache when they have their own `java` command to assemble
// it with (a runtime image made without native commands has none), 13 and later the dynamic
// archive; older or unknown versions nothing.
ClassDataChoice chooseClassData(const std::optional<JavaVersion>& version, bool hasJavaCommand);

// Whether `text`, written by the runtime, is its notice that it recorded an ahead-of-time
// configuration ("AOTConfiguration recorded: ..."), which it writes to the program's output
// stream whatever the log options say.
bool isCacheRecordingNotice(std::string_view text);

// Whether one of the user's VM options already decides about class-data sharing (an archive of
// their own, sharing switched off or on, a class list): the user's choice wins and the launcher
// adds nothing.
bool optionsChooseClassSharing(const std::vector<std::string>& vmOptions);

// The folder of the archives: `localAppData`, then the product name and code as folder levels
// (those that are set; the executable's file name without extension when neither is), then
// "Class Data". Nothing when `localAppData` is empty or a level would leave nothing but dots and
// spaces, which would move the folder elsewhere.
std::optional<std::u16string> classDataArchiveFolder(std::u16string_view localAppData, std::u16string_view productName,
                                                     std::u16string_view productCode,
                                                     std::u16string_view executablePath);

// Everything an archive is made from.
struct ClassDataArchiveRequest {
  // The archive folder, without a closing separator, and the separator of its paths.
  std::u16string folder;
  char16_t separator = u'\\';
  // The application (the launcher's own executable) and the runtime library.
  std::u16string applicationPath;
  std::u16string runtimeLibrary;
  // The runtime's own archive of its classes, beside the runtime library; without it the runtime
  // cannot make one of the application's.
  std::u16string baseArchive;
  // The class path and module path entries in order.
  std::vector<std::u16string> classPath;
  std::vector<std::u16string> modulePath;
  // The VM options; the "-XX:" and "-Xmx" ones shape the archive (collector, compressed
  // pointers) and count.
  std::vector<std::string> vmOptions;
  // Keep the ahead-of-time cache, assembled by `javaCommand` (the runtime's own `java`), instead
  // of the dynamic archive.
  bool aheadOfTime = false;
  std::u16string javaCommand;
  // Tells this start's file apart from that of another start at the same time (the process id).
  std::u16string startTag;
};

struct ClassDataArchivePlan {
  // For the VM, in this order.
  std::vector<std::u16string> options;
  // The archive for this runtime and class path.
  std::u16string archive;
  // When this start makes the archive: the file the VM writes as it ends (for the ahead-of-time
  // cache, its recording); empty when it uses one.
  std::u16string written;
  // Ahead-of-time cache only: where the assembly writes the cache, and its output, which its
  // process holds open until it ends.
  std::u16string assembled;
  std::u16string assemblyLog;
  // The name of the archive without folder and extension: the application and runtime, then
  // what they were made of. Checked again before the written file is published.
  std::u16string name;
  // Left when writing the archive failed: no later start tries this name again.
  std::u16string failedMark;
  // Left by the first abort of a start that was writing the archive; a second makes it failed.
  std::u16string abortedMark;
};

// The archive for this start: use the one that matches, or have the VM write one at its end.
// Nothing (and the VM gets no archive options) when the runtime's own archive is missing, a class
// or module path entry is a folder (HotSpot refuses to write an archive then, and fails the exit), an
// earlier attempt for the same name failed, or the folder cannot be written. Archives of the same
// application and runtime made from other files are removed.
std::optional<ClassDataArchivePlan> planClassDataArchive(const ClassDataArchiveRequest& request, ArchiveFiles& files);

// The ahead-of-time cache's assembly, after the VM that recorded it has ended: the runtime's
// `java` and its arguments, with the class path and the options that shape the cache (the module
// path and root modules among them). Nothing when the recording is missing or empty, the runtime
// or class path changed meanwhile, or an option is not plain ASCII (it reached the VM in the ANSI
// code page); the recording is then removed.
std::optional<std::vector<std::u16string>> cacheAssemblyCommand(const ClassDataArchiveRequest& request,
                                                                const ClassDataArchivePlan& plan,
                                                                ArchiveFiles& files);

// `arguments` as one Windows command line, which the runtime's java splits back into exactly these
// (quotes around an argument with spaces, tabs or quotes, or an empty one; a quote inside, and the
// backslashes before a quote, escaped with backslashes).
std::u16string commandLineOf(const std::vector<std::u16string>& arguments);

// After the VM has ended: renames the written file to the archive when the VM wrote it and the
// runtime and class path are still those it was made from, and removes it otherwise. True when
// the archive was published.
bool publishClassDataArchive(const ClassDataArchiveRequest& request, const ClassDataArchivePlan& plan,
                             ArchiveFiles& files);

// The VM aborted while this start was to write the archive (HotSpot ends that way when it cannot
// write one, for a folder on a jar's manifest class path, say), and removes the written file. The
// first such abort is only noted, since it may have had another cause; the second in a row, with
// no archive published between them, marks the name so that no later start of the same
// application, runtime and class path tries again.
void abandonClassDataArchive(const ClassDataArchivePlan& plan, ArchiveFiles& files);

}  // namespace launcher
