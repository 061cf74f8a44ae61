#include "jvm/class_data_archive.h"

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

}  // namespace

bool runtimeWritesClassDataArchive(const JavaVersion& version) {
  std::int32_t feature = version.components[0] == 1 ? version.components[1] : version.components[0];
  return feature >= 13;
}

bool optionsChooseClassSharing(const std::vector<std::string>& vmOptions) {
  static constexpr std::string_view kSharingFlags[] = {
      "SharedArchiveFile", "ArchiveClassesAtExit", "AutoCreateSharedArchive", "SharedClassListFile",
      "DumpLoadedClassList", "UseSharedSpaces", "AOTCache", "AOTMode"};
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
  std::optional<FileStamp> base = files.stamp(request.baseArchive);
  if (!base || base->isFolder) return std::nullopt;
  std::optional<std::u16string> name = archiveName(request, files);
  if (!name || !files.makeFolders(request.folder)) return std::nullopt;
  ClassDataArchivePlan plan;
  plan.name = *name;
  plan.failedMark = inFolder(request, *name + std::u16string(kFailedExtension));
  plan.abortedMark = inFolder(request, *name + std::u16string(kAbortedExtension));
  if (files.stamp(plan.failedMark)) return std::nullopt;
  plan.archive = inFolder(request, *name + std::u16string(kArchiveExtension));
  std::optional<FileStamp> archive = files.stamp(plan.archive);
  if (archive && !archive->isFolder && archive->size > 0) {
    plan.options = {std::u16string(kQuietArchiveLog), u"-XX:SharedArchiveFile=" + plan.archive};
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
  plan.written = inFolder(request, *name + u"." + request.startTag + std::u16string(kWrittenExtension));
  if (!files.createNew(plan.written)) return std::nullopt;
  plan.options = {std::u16string(kQuietArchiveLog), u"-XX:ArchiveClassesAtExit=" + plan.written};
  return plan;
}

bool publishClassDataArchive(const ClassDataArchiveRequest& request, const ClassDataArchivePlan& plan,
                             ArchiveFiles& files) {
  if (plan.written.empty()) return false;
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
  // One abort may have nothing to do with the archive (the program's own native code, a heap the
  // machine cannot give): only a second in a row, with no archive published between them, gives
  // up on this name.
  if (files.stamp(plan.abortedMark)) {
    files.createNew(plan.failedMark);
    files.remove(plan.abortedMark);
  } else {
    files.createNew(plan.abortedMark);
  }
  files.remove(plan.written);
}

}  // namespace launcher
