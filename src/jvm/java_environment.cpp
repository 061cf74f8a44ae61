#include "jvm/java_environment.h"

#include "base/path.h"
#include "base/text.h"

namespace launcher {

std::u16string javaHomeFromJvmDll(std::u16string_view jvmDllPath) {
  return std::u16string(withoutLastComponents(jvmDllPath, 3));
}

std::u16string javaBinFolderFromJvmDll(std::u16string_view jvmDllPath) {
  return std::u16string(withoutLastComponents(jvmDllPath, 2));
}

std::u16string libraryPathText(std::u16string_view libraryPath, std::u16string_view launcherFolder,
                               std::u16string_view javaHome) {
  std::u16string text(libraryPath);
  text.append(u";").append(launcherFolder).append(u";%Path%;").append(javaHome).append(u"\\lib");
  return text;
}

std::u16string libraryPathOption(std::u16string_view expandedLibraryPath) {
  std::u16string option(u"-Djava.library.path=");
  option.append(withoutEmptyElements(expandedLibraryPath, u';'));
  return option;
}

std::u16string processPathText(std::u16string_view systemPath, std::u16string_view javaBinFolder) {
  std::u16string text(systemPath);
  if (!text.empty() && text.back() != u';') text.push_back(u';');
  text.append(u"%Path%;").append(javaBinFolder);
  return text;
}

}  // namespace launcher
