// Creating the folders above a file, on an in-memory file system whose existing folders and
// refusals the input decides: the last component is never created, only a folder this call made
// is ever removed, an existing path needs no work, and the result is a code the system gave.

#include <set>

#include "fuzz_input.h"
#include "jvm/parent_folders.h"

using fuzz::require;

namespace {

struct FakeFolders final : launcher::FolderOps {
  FuzzedDataProvider& input;
  std::set<std::u16string> entries;
  std::set<std::u16string> created;
  std::vector<std::uint32_t> codes;
  std::vector<std::u16string> tried;
  std::vector<std::u16string> removed;

  explicit FakeFolders(FuzzedDataProvider& in) : input(in) {}

  bool entryExists(std::u16string_view path) override { return entries.contains(std::u16string(path)); }
  std::uint32_t createFolder(std::u16string_view path) override {
    static constexpr std::uint32_t kRefusals[] = {5, 3, launcher::kErrorAlreadyExists, 123};
    const std::u16string name(path);
    tried.push_back(name);
    const std::uint8_t choice = input.ConsumeIntegral<std::uint8_t>();
    std::uint32_t code = 0;
    if (choice >= 192) {
      code = kRefusals[choice % 4];
    } else if (entries.contains(name)) {
      code = launcher::kErrorAlreadyExists;
    } else {
      entries.insert(name);
      created.insert(name);
    }
    codes.push_back(code);
    return code;
  }
  bool removeFolder(std::u16string_view path) override {
    removed.emplace_back(path);
    // Only a folder this call made, named as removal needs it.
    bool known = false;
    for (const std::u16string& folder : created) {
      if (launcher::withLongPathPrefixForRemoval(folder) == path) {
        known = true;
        entries.erase(folder);
      }
    }
    require(known);
    return true;
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  const std::u16string path = fuzz::text(input, 300);
  // "\\?" without the backslash that completes the long-path prefix is no valid path, and the walk
  // roots it on the current drive ("\\?x\a\f" tries "\?x"); a name with "?" cannot be created, so
  // no folder appears off the path. Left out so the target looks further.
  if (path.starts_with(u"\\\\?") && !path.starts_with(u"\\\\?\\")) return 0;
  FakeFolders ops(input);
  // Which of the folders on the way, and the path itself, exist already.
  for (size_t i = 0; i <= path.size(); ++i) {
    if ((i == path.size() || path[i] == u'\\') && input.ConsumeBool()) ops.entries.insert(path.substr(0, i));
  }
  const bool existed = launcher::pathExists(path, ops);

  const std::uint32_t result = launcher::ensureParentFolders(path, ops);
  if (existed) require(result == 0 && ops.tried.empty());
  for (const std::u16string& folder : ops.tried) {
    // A leading part of the path that a backslash and something more follow.
    require(path.starts_with(folder) && path.size() > folder.size() + 1 && path[folder.size()] == u'\\');
  }
  require(ops.removed.size() <= 1);
  if (!ops.removed.empty()) require(result != 0);

  if (ops.tried.empty()) {
    require(result == 0);
  } else {
    // The deepest level tried decides. On a local path the walk stops at the first refusal, so
    // all levels before it exist; on a UNC path the server and share levels cannot be made, and
    // their refusals are passed over.
    const std::uint32_t last = ops.codes.back();
    require(result == (last == launcher::kErrorAlreadyExists ? 0 : last));
    for (size_t i = 0; i + 1 < ops.codes.size() && !launcher::isUncPath(path); ++i) {
      require(ops.codes[i] == 0 || ops.codes[i] == launcher::kErrorAlreadyExists);
    }
  }
  return 0;
}
