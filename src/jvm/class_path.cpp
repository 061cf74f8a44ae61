#include "jvm/class_path.h"

#include "base/path.h"
#include "base/text.h"

namespace launcher {

std::vector<std::u16string> splitClassPath(std::u16string_view value) { return splitAt(value, u';'); }

std::u16string buildClassPath(const std::vector<std::u16string>& entries, std::u16string_view launcherFolder,
                              const ExpandText& expand, const EnumerateNames& enumerate) {
  std::u16string classPath;
  for (const std::u16string& written : entries) {
    std::u16string entry = expand(written);
    const bool absolute = isAbsolutePath(entry);
    if (absolute && entry.find(u'*') == std::u16string::npos) {
      classPath.append(entry).push_back(u';');
      continue;
    }
    std::u16string pattern;
    if (absolute) {
      pattern = std::move(entry);
    } else {
      pattern.assign(launcherFolder);
      // An empty entry stays the launcher folder itself, which the listing then names as a folder.
      // One separator between the two, also for a launcher at a drive's root ("D:\").
      std::u16string_view rest(entry);
      const bool folderEnds = !pattern.empty() && pattern.back() == u'\\';
      const bool entryBegins = !rest.empty() && (rest.front() == u'\\' || rest.front() == u'/');
      if (folderEnds && entryBegins) {
        rest.remove_prefix(1);
      } else if (!rest.empty() && !folderEnds && !entryBegins) {
        pattern.push_back(u'\\');
      }
      pattern.append(rest);
    }
    // Up to and including the last separator: the pattern less its file name part.
    std::u16string_view folder(pattern);
    folder.remove_suffix(fileNameOf(pattern).size());
    for (const std::u16string& name : enumerate(pattern)) {
      classPath.append(folder).append(name).push_back(u';');
    }
  }
  return classPath;
}

std::u16string prependEmbeddedJar(std::u16string_view classPath, std::u16string_view executablePath) {
  std::u16string result(executablePath);
  result.push_back(u';');
  result.append(classPath);
  return result;
}

std::u16string convertPathList(std::u16string_view list, const ConvertPath& convert, std::u16string& failed) {
  std::u16string result;
  bool first = true;
  for (const std::u16string& element : splitAt(list, u';')) {
    if (!first) result.push_back(u';');
    first = false;
    std::optional<std::u16string> converted = element.empty() ? std::optional(element) : convert(element);
    if (!converted && failed.empty()) failed = element;
    result.append(converted ? *converted : element);
  }
  return result;
}

std::u16string classPathOption(std::u16string_view classPath) {
  std::u16string option(u"-Djava.class.path=");
  option.append(withoutEmptyElements(classPath, u';'));
  return option;
}

}  // namespace launcher
