// The class path from the "Class Path" setting, with an expansion and a folder listing that the
// input decides: every element ends with ";", absolute entries without "*" appear as expanded,
// and every listed name appears under its pattern's folder, in order.

#include "fuzz_input.h"
#include "base/path.h"
#include "jvm/class_path.h"

using fuzz::require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  const std::u16string launcherFolder = fuzz::text(input, 64);
  // "$" in an entry stands for a variable whose value the input gives.
  const std::u16string variable = fuzz::text(input, 32);
  std::vector<std::vector<std::u16string>> listings(input.ConsumeIntegralInRange(0, 4));
  for (auto& names : listings) {
    names.resize(input.ConsumeIntegralInRange(0, 3));
    for (std::u16string& name : names) name = fuzz::text(input, 16);
  }
  const std::u16string value = fuzz::rest(input);

  const std::vector<std::u16string> entries = launcher::splitClassPath(value);
  std::u16string rejoined;
  for (const std::u16string& entry : entries) rejoined += entry + u";";
  require(rejoined == value || rejoined == value + u";");

  std::vector<std::u16string> expanded;
  launcher::ExpandText expand = [&](std::u16string_view text) {
    std::u16string out;
    for (char16_t c : text) c == u'$' ? out.append(variable) : out.append(1, c);
    expanded.push_back(out);
    return out;
  };
  // Each listing answers one pattern, in turn; once they run out, nothing matches.
  std::vector<std::u16string> patterns;
  launcher::EnumerateNames enumerate = [&](std::u16string_view pattern) {
    patterns.emplace_back(pattern);
    return patterns.size() <= listings.size() ? listings[patterns.size() - 1] : std::vector<std::u16string>{};
  };
  const std::u16string classPath = launcher::buildClassPath(entries, launcherFolder, expand, enumerate);
  require(expanded.size() == entries.size());
  require(classPath.empty() || classPath.back() == u';');

  // Walk the output along the entries: each contributes its own pieces, in entry order.
  std::u16string_view rest = classPath;
  auto take = [&rest](std::u16string_view piece) {
    require(rest.starts_with(piece) && rest.substr(piece.size()).starts_with(u';'));
    rest.remove_prefix(piece.size() + 1);
  };
  size_t listed = 0;
  for (const std::u16string& entry : expanded) {
    if (launcher::isAbsolutePath(entry) && entry.find(u'*') == std::u16string::npos) {
      take(entry);
      continue;
    }
    require(listed < patterns.size());
    const std::u16string& pattern = patterns[listed++];
    if (launcher::isAbsolutePath(entry)) {
      require(pattern == entry);
    } else {
      // One separator between folder and entry: the entry's own, or one put in, or neither for an
      // empty entry.
      require(pattern.starts_with(launcherFolder));
      const std::u16string_view joined = std::u16string_view(pattern).substr(launcherFolder.size());
      const std::u16string_view bare =
          !entry.empty() && (entry[0] == u'\\' || entry[0] == u'/') ? std::u16string_view(entry).substr(1) : entry;
      require(joined.ends_with(bare) && joined.size() - bare.size() <= 1);
    }
    const size_t folderEnd = pattern.find_last_of(u"\\/");
    const std::u16string folder = pattern.substr(0, folderEnd == std::u16string::npos ? 0 : folderEnd + 1);
    if (listed <= listings.size()) {
      for (const std::u16string& name : listings[listed - 1]) take(folder + name);
    }
  }
  require(listed == patterns.size() && rest.empty());
  return 0;
}
