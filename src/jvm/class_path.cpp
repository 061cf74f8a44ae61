#include "jvm/class_path.h"

namespace launcher {

std::vector<std::u16string> splitClassPath(std::u16string_view value) {
  std::vector<std::u16string> entries;
  size_t start = 0;
  while (start < value.size()) {
    size_t separator = value.find(u';', start);
    if (separator == std::u16string_view::npos) {
      entries.emplace_back(value.substr(start));
      break;
    }
    entries.emplace_back(value.substr(start, separator - start));
    start = separator + 1;
  }
  return entries;
}

bool isAbsoluteClassPathEntry(std::u16string_view entry) {
  return entry.size() >= 2 && (entry[1] == u':' || (entry[0] == u'\\' && entry[1] == u'\\'));
}

std::u16string buildClassPath(const std::vector<std::u16string>& entries, std::u16string_view launcherFolder,
                              const ExpandText& expand, const EnumerateNames& enumerate) {
  std::u16string classPath;
  for (const std::u16string& written : entries) {
    std::u16string entry = expand(written);
    const bool absolute = isAbsoluteClassPathEntry(entry);
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
      if (!entry.empty() && entry.front() != u'\\' && entry.front() != u'/') pattern.push_back(u'\\');
      pattern.append(entry);
    }
    size_t lastSeparator = pattern.find_last_of(u"\\/");
    std::u16string_view folder = std::u16string_view(pattern).substr(
        0, lastSeparator == std::u16string::npos ? 0 : lastSeparator + 1);
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

std::u16string classPathOption(std::u16string_view classPath) {
  std::u16string option(u"-Djava.class.path=");
  option.append(classPath);
  return option;
}

}  // namespace launcher
