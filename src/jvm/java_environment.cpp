#include "jvm/java_environment.h"

namespace launcher {

std::u16string withoutLastPathComponents(std::u16string_view path, int count) {
  for (int i = 0; i < count; ++i) {
    size_t slash = path.rfind(u'\\');
    if (slash == std::u16string_view::npos) break;
    path = path.substr(0, slash);
  }
  return std::u16string(path);
}

std::u16string javaHomeFromJvmDll(std::u16string_view jvmDllPath) { return withoutLastPathComponents(jvmDllPath, 3); }

std::u16string javaBinFolderFromJvmDll(std::u16string_view jvmDllPath) {
  return withoutLastPathComponents(jvmDllPath, 2);
}

std::u16string libraryPathText(std::u16string_view libraryPath, std::u16string_view launcherFolder,
                               std::u16string_view javaHome) {
  std::u16string text(libraryPath);
  text.append(u";").append(launcherFolder).append(u";.;%Path%;").append(javaHome).append(u"\\lib");
  return text;
}

std::u16string libraryPathOption(std::u16string_view expandedLibraryPath) {
  std::u16string option(u"-Djava.library.path=");
  option.append(expandedLibraryPath);
  return option;
}

std::u16string processPathText(std::u16string_view systemPath, std::u16string_view javaBinFolder) {
  std::u16string text(systemPath);
  if (!text.empty() && text.back() != u';') text.push_back(u';');
  text.append(u"%Path%;").append(javaBinFolder);
  return text;
}

}  // namespace launcher
