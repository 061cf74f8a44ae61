#include "jvm/class_data_archive.h"

#include <algorithm>
#include <iterator>

#include "base/path.h"
#include "base/text.h"
#include "settings/settings_paths.h"

namespace launcher {
namespace {

// Turns off every HotSpot log line about the archive: a class it cannot archive, an archive it
// cannot map. The user's own -Xlog options come after this one and still win.
constexpr std::u16string_view kQuietArchiveLog = u"-Xlog:cds*=off";
constexpr std::u16string_view kArchiveExtension = u".jsa";
constexpr std::u16string_view kFailedExtension = u".failed";
constexpr std::u16string_view kAbortedExtension = u".aborted";
constexpr std::u16string_view kWrittenExtension = u".tmp";
// The ahead-of-time cache: the same for its log lines, its file, the recording of a first start,
// the cache as its assembly writes it, and the assembly's output.
constexpr std::u16string_view kQuietCacheLog = u"-Xlog:aot*=off";
constexpr std::u16string_view kCacheExtension = u".aot";
constexpr std::u16string_view kRecordingExtension = u".aotconf";
constexpr std::u16string_view kAssembledExtension = u".aottmp";
constexpr std::u16string_view kAssemblyLogExtension = u".aotlog";

// 64-bit FNV-1a: names files, so it only has to spread, not resist an attacker: the VM checks
// an archive's header against its runtime and class path itself.
class NameHash {
 public:
  void add(std::u16string_view text) {
    for (char16_t c : text) addUnit(c);
    addUnit(0);
  }
  void add(std::uint64_t value) {
    for (int shift = 0; shift < 64; shift += 16) addUnit(static_cast<char16_t>(value >> shift));
  }
  void add(const std::optional<FileStamp>& stamp) {
    add(stamp ? stamp->size : ~std::uint64_t{0});
    add(stamp ? stamp->writeTime : 0);
  }
  std::u16string hex() const {
    static constexpr char16_t kDigits[] = u"0123456789abcdef";
    std::u16string text;
    for (int shift = 60; shift >= 0; shift -= 4) text.push_back(kDigits[(value_ >> shift) & 0xF]);
    return text;
  }

 private:
  void addUnit(char16_t unit) {
    for (int byte = 0; byte < 2; ++byte) {
      value_ ^= (unit >> (8 * byte)) & 0xFF;
      value_ *= 0x100000001b3u;
    }
  }
  std::uint64_t value_ = 0xcbf29ce484222325u;
};

// "<application and runtime>-<what they are made of>"; nothing when a class or module path entry
// is a folder.
std::optional<std::u16string> archiveName(const ClassDataArchiveRequest& request, ArchiveFiles& files) {
  NameHash owner;
  owner.add(request.applicationPath);
  owner.add(request.runtimeLibrary);
  NameHash contents;
  contents.add(files.stamp(request.runtimeLibrary));
  contents.add(files.stamp(request.baseArchive));
  // The module path after a mark, so that a jar moved from one path to the other renames it; an
  // archive of a class path alone keeps the name it had before module paths counted.
  for (const auto* path : {&request.classPath, &request.modulePath}) {
    if (path == &request.modulePath && !path->empty()) contents.add(std::u16string(u"--module-path"));
    for (const std::u16string& entry : *path) {
      std::optional<FileStamp> stamp = files.stamp(entry);
      if (stamp && stamp->isFolder) return std::nullopt;
      contents.add(entry);
      contents.add(stamp);
    }
  }
  for (const std::string& option : request.vmOptions) {
    if (option.starts_with("-XX:") || option.starts_with("-Xmx")) contents.add(std::u16string(option.begin(), option.end()));
  }
  return owner.hex() + u"-" + contents.hex();
}

std::u16string inFolder(const ClassDataArchiveRequest& request, std::u16string_view name) {
  return request.folder + request.separator + std::u16string(name);
}

// A folder level from a product setting; nothing when Windows would read it as "." or "..".
std::optional<std::u16string> folderLevel(std::u16string_view value) {
  std::u16string level = productFolderName(value);
  if (level.find_first_not_of(u". ") == std::u16string::npos) return std::nullopt;
  return level;
}

// One failure may have nothing to do with the archive (the program's own native code, a heap the
// machine cannot give, an assembly cut short as the user logged off): only a second in a row, with
// no archive published between them, gives up on this name.
void noteFailure(const ClassDataArchivePlan& plan, ArchiveFiles& files) {
  if (files.stamp(plan.abortedMark)) {
    files.createNew(plan.failedMark);
    files.remove(plan.abortedMark);
  } else {
    files.createNew(plan.abortedMark);
  }
}

bool usableFile(const std::optional<FileStamp>& stamp) { return stamp && !stamp->isFolder && stamp->size > 0; }

// Publishes the cache of an assembly that has ended (its log could be deleted: no process holds
// it any more), or removes what it left when it wrote nothing, and removes its recording. False
// while an assembly for this name still runs.
bool adoptAssembledCaches(const ClassDataArchiveRequest& request, const ClassDataArchivePlan& plan,
                          ArchiveFiles& files) {
  bool running = false;
  for (const std::u16string& file : files.namesStartingWith(request.folder, plan.name + u".")) {
    if (!file.ends_with(kAssemblyLogExtension)) continue;
    const std::u16string log = inFolder(request, file);
    files.remove(log);
    if (files.stamp(log)) {
      running = true;
      continue;
    }
    const std::u16string start = inFolder(request, file.substr(0, file.size() - kAssemblyLogExtension.size()));
    const std::u16string assembled = start + std::u16string(kAssembledExtension);
    if (usableFile(files.stamp(assembled))) {
      if (!usableFile(files.stamp(plan.archive))) files.replace(assembled, plan.archive);
      files.remove(plan.abortedMark);
    } else {
      noteFailure(plan, files);
    }
    files.remove(assembled);
    files.remove(start + std::u16string(kRecordingExtension));
  }
  return !running;
}

bool isAscii(std::string_view text) {
  for (char c : text) {
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  }
  return true;
}

}  // namespace

ClassDataChoice chooseClassData(const std::optional<JavaVersion>& version, bool hasJavaCommand) {
  if (!version || !runtimeWritesClassDataArchive(*version)) {
    return {ClassDataKind::none, u"the runtime's version is older than 13 or unknown"};
  }
  std::int32_t feature = version->components[0];
  if (feature < 25) return {ClassDataKind::dynamicArchive, u"the runtime is older than 25"};
  if (!hasJavaCommand) {
    return {ClassDataKind::dynamicArchive, u"the runtime has no java command to assemble an ahead-of-time cache"};
  }
  return {ClassDataKind::aheadOfTimeCache, u"the runtime is 25 or later"};
}

bool isCacheRecordingNotice(std::string_view text) {
  if (text.starts_with("Temporary")) text.remove_prefix(9);
  return text.starts_with(" AOTConfiguration recorded: ");
}

bool runtimeWritesClassDataArchive(const JavaVersion& version) {
  std::int32_t feature = version.components[0] == 1 ? version.components[1] : version.components[0];
  return feature >= 13;
}

bool optionsChooseClassSharing(const std::vector<std::string>& vmOptions) {
  static constexpr std::string_view kSharingFlags[] = {
      "SharedArchiveFile", "ArchiveClassesAtExit", "AutoCreateSharedArchive", "SharedClassListFile",
      "DumpLoadedClassList", "UseSharedSpaces", "AOTCache", "AOTMode", "AOTConfiguration"};
  for (std::string_view option : vmOptions) {
    if (option.starts_with("-Xshare")) return true;
    if (!option.starts_with("-XX:")) continue;
    option.remove_prefix(4);
    if (option.starts_with("+") || option.starts_with("-")) option.remove_prefix(1);
    for (std::string_view flag : kSharingFlags) {
      if (option.starts_with(flag)) return true;
    }
  }
  return false;
}

std::optional<std::u16string> classDataArchiveFolder(std::u16string_view localAppData, std::u16string_view productName,
                                                     std::u16string_view productCode,
                                                     std::u16string_view executablePath) {
  if (localAppData.empty()) return std::nullopt;
  std::u16string folder(localAppData);
  std::u16string_view fileName = fileNameOf(executablePath);
  std::u16string_view stem = fileName.substr(0, fileName.rfind(u'.'));
  bool named = !productName.empty() || !productCode.empty();
  for (std::u16string_view value : {named ? productName : stem, named ? productCode : std::u16string_view()}) {
    if (value.empty()) continue;
    std::optional<std::u16string> level = folderLevel(value);
    if (!level) return std::nullopt;
    folder.append(u"\\").append(*level);
  }
  return folder + u"\\Class Data";
}

std::optional<ClassDataArchivePlan> planClassDataArchive(const ClassDataArchiveRequest& request, ArchiveFiles& files) {
  // The ahead-of-time cache holds the runtime's own classes too.
  std::optional<FileStamp> base = files.stamp(request.baseArchive);
  if (!request.aheadOfTime && (!base || base->isFolder)) return std::nullopt;
  std::optional<std::u16string> name = archiveName(request, files);
  if (!name || !files.makeFolders(request.folder)) return std::nullopt;
  ClassDataArchivePlan plan;
  plan.name = *name;
  plan.failedMark = inFolder(request, *name + std::u16string(kFailedExtension));
  plan.abortedMark = inFolder(request, *name + std::u16string(kAbortedExtension));
  const bool cache = request.aheadOfTime;
  plan.archive = inFolder(request, *name + std::u16string(cache ? kCacheExtension : kArchiveExtension));
  // While the first start's assembly runs, later starts run as usual and record nothing more.
  if (cache && !usableFile(files.stamp(plan.archive)) && !adoptAssembledCaches(request, plan, files)) {
    return std::nullopt;
  }
  if (files.stamp(plan.failedMark)) return std::nullopt;
  if (usableFile(files.stamp(plan.archive))) {
    plan.options = {std::u16string(kQuietArchiveLog)};
    if (cache) {
      plan.options.insert(plan.options.end(), {std::u16string(kQuietCacheLog), u"-XX:AOTCache=" + plan.archive});
    } else {
      plan.options.push_back(u"-XX:SharedArchiveFile=" + plan.archive);
    }
    return plan;
  }

  // Archives of this application and runtime made from other files are stale: no start will ask
  // for them again. Files of this name stay: another start may be writing one right now.
  std::u16string_view owner = std::u16string_view(*name).substr(0, name->find(u'-') + 1);
  for (const std::u16string& other : files.namesStartingWith(request.folder, owner)) {
    if (!other.starts_with(*name)) files.remove(inFolder(request, other));
  }
  // Made now, so a folder that cannot be written shows here and not when the VM ends, where
  // HotSpot would fail the exit.
  const std::u16string start = inFolder(request, *name + u"." + request.startTag);
  plan.written = start + std::u16string(cache ? kRecordingExtension : kWrittenExtension);
  if (!files.createNew(plan.written)) return std::nullopt;
  if (!cache) {
    plan.options = {std::u16string(kQuietArchiveLog), u"-XX:ArchiveClassesAtExit=" + plan.written};
    return plan;
  }
  plan.assembled = start + std::u16string(kAssembledExtension);
  plan.assemblyLog = start + std::u16string(kAssemblyLogExtension);
  plan.options = {std::u16string(kQuietArchiveLog), std::u16string(kQuietCacheLog), u"-XX:AOTMode=record",
                  u"-XX:AOTConfiguration=" + plan.written};
  return plan;
}

std::optional<std::vector<std::u16string>> cacheAssemblyCommand(const ClassDataArchiveRequest& request,
                                                                const ClassDataArchivePlan& plan,
                                                                ArchiveFiles& files) {
  if (plan.written.empty() || plan.assembled.empty()) return std::nullopt;
  bool usable = usableFile(files.stamp(plan.written)) && archiveName(request, files) == plan.name;
  std::vector<std::u16string> command = {request.javaCommand, u"-XX:AOTMode=create",
                                         u"-XX:AOTConfiguration=" + plan.written, u"-XX:AOTCache=" + plan.assembled};
  // The cache is checked against the options it was made with (collector, heap, compressed
  // pointers): those that count for its name go to the assembly too.
  // So is the module graph it archives: the module path and the root modules.
  constexpr std::string_view kShaping[] = {"-XX:", "-Xmx", "--module-path=", "--upgrade-module-path=",
                                          "--add-modules=", "--limit-modules=", "-Djdk.module.main="};
  for (const std::string& option : request.vmOptions) {
    if (std::none_of(std::begin(kShaping), std::end(kShaping),
                     [&](std::string_view prefix) { return option.starts_with(prefix); })) {
      continue;
    }
    usable = usable && isAscii(option);
    command.emplace_back(option.begin(), option.end());
  }
  std::u16string classPath;
  for (const std::u16string& entry : request.classPath) {
    if (!classPath.empty()) classPath.push_back(request.separator == u'\\' ? u';' : u':');
    classPath += entry;
  }
  if (!classPath.empty()) command.insert(command.end(), {u"-cp", classPath});
  if (usable) return command;
  files.remove(plan.written);
  return std::nullopt;
}

std::u16string commandLineOf(const std::vector<std::u16string>& arguments) {
  std::u16string line;
  for (const std::u16string& argument : arguments) {
    if (!line.empty()) line.push_back(u' ');
    if (!argument.empty() && argument.find_first_of(u" \t\"") == std::u16string::npos) {
      line += argument;
      continue;
    }
    line.push_back(u'"');
    std::size_t backslashes = 0;
    for (char16_t c : argument) {
      if (c == u'\\') {
        ++backslashes;
        continue;
      }
      line.append(c == u'"' ? 2 * backslashes + 1 : backslashes, u'\\');
      backslashes = 0;
      line.push_back(c);
    }
    line.append(2 * backslashes, u'\\');
    line.push_back(u'"');
  }
  return line;
}

bool publishClassDataArchive(const ClassDataArchiveRequest& request, const ClassDataArchivePlan& plan,
                             ArchiveFiles& files) {
  if (plan.written.empty() || !plan.assembled.empty()) return false;
  std::optional<FileStamp> written = files.stamp(plan.written);
  // A runtime or jar replaced while the program ran could have given classes that the name does
  // not describe: such an archive is never published.
  bool usable = written && !written->isFolder && written->size > 0 && archiveName(request, files) == plan.name;
  if (usable && files.replace(plan.written, plan.archive)) {
    files.remove(plan.abortedMark);
    return true;
  }
  files.remove(plan.written);
  return false;
}

void abandonClassDataArchive(const ClassDataArchivePlan& plan, ArchiveFiles& files) {
  if (plan.written.empty()) return;
  noteFailure(plan, files);
  files.remove(plan.written);
}

}  // namespace launcher
