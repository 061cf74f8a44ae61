#include "jvm/vm_option_assembly_win.h"

#include <algorithm>

#include "base/ansi_text_win.h"
#include "base/environment_win.h"
#include "base/file_system_win.h"
#include "base/path.h"
#include "base/error_box_win.h"
#include "base/text.h"
#include "base/trace.h"
#include "jvm/class_path.h"
#include "jvm/vm_parameters.h"
#include "resources/resource_ids.h"

namespace launcher {
namespace {

MemoryBases currentMemoryBases() {
  MEMORYSTATUS status{};
  status.dwLength = sizeof(status);
  ::GlobalMemoryStatus(&status);
  return MemoryBases{static_cast<std::uint64_t>(status.dwTotalPhys) >> 10,
                     static_cast<std::uint64_t>(status.dwAvailVirtual) >> 10};
}

// "Class Path" or "Module Path": entries listed under the launcher's folder, traced as `what`.
std::u16string pathFromSettings(const LaunchContext& context, std::u16string_view value, std::u16string_view what) {
  auto expand = [](std::u16string_view text) { return expandEnvironment(text); };
  auto enumerate = [](std::u16string_view pattern) { return findFileNames(pattern); };
  std::vector<std::u16string> entries = splitClassPath(value);
  if (tracing()) {
    // Each entry alone, so that the vendor sees which one found nothing.
    for (const std::u16string& entry : entries) {
      std::u16string resolved =
          withoutEmptyElements(buildClassPath({entry}, context.folder, expand, enumerate), u';');
      trace(what, quotedForTrace(entry) + u" -> " +
                      (resolved.empty() ? std::u16string(u"nothing found") : quotedForTrace(resolved)));
    }
  }
  return buildClassPath(entries, context.folder, expand, enumerate);
}

// The runtime takes its options in the ANSI code page: a jar in a folder whose name it lacks
// (Cyrillic on a Western machine, say) is handed over by its short name, or named to the user.
std::u16string ansiSafePathList(const MessageOwner& messageOwner, std::u16string_view list) {
  std::u16string unconvertible;
  std::u16string converted = convertPathList(list, ansiSafePath, unconvertible);
  if (!unconvertible.empty()) showError(messageOwner, IDS_PATH_NOT_ANSI, {unconvertible});
  return converted;
}

}  // namespace

bool assembleVmOptions(const MessageOwner& messageOwner, const LaunchContext& context, const LauncherSettings& settings,
                       const MainTarget& target, VmSetup& setup) {
  VmParameters parameters = applyVmParameters(settings.vmParameters, currentMemoryBases());
  if (!parameters.refusedOption.empty()) {
    showError(messageOwner, IDS_JAVA_TOOL_OPTION, {parameters.refusedOption, parameters.insteadKey});
    return false;
  }
  std::u16string classPath = pathFromSettings(context, settings.classPath, u"class path");
  // The executable jar first, as "java -jar" has it; the class loader follows its manifest's
  // "Class-Path" itself. The launcher as its own jar is already the first entry.
  if (settings.embeddedJar) classPath = prependEmbeddedJar(classPath, context.modulePath);
  if (!target.jar.empty()) {
    std::u16string jar = target.jar == context.modulePath ? target.jar : fullPathName(anchoredPath(context.folder, target.jar));
    if (jar != context.modulePath) classPath = prependEmbeddedJar(classPath, jar);
    setup.mainJar = ansiSafePathList(messageOwner, jar);
  }
  std::u16string modulePath = pathFromSettings(context, settings.modulePath, u"module path");
  std::vector<std::u16string> options;
  setup.userOptionsAt = setup.vmOptions.size();
  if (!classPath.empty()) {
    setup.classPath = ansiSafePathList(messageOwner, classPath);
    options.push_back(classPathOption(setup.classPath));
  } else if (target.module.empty()) {
    // The runtime would read an empty class path as the current folder, and load the program
    // from wherever the user started it: the launcher's own folder stands in.
    showError(messageOwner, IDS_CLASS_PATH_EMPTY);
    options.push_back(classPathOption(ansiSafePathList(messageOwner, context.folder)));
  }
  if (!withoutEmptyElements(modulePath, u';').empty()) {
    setup.modulePath = ansiSafePathList(messageOwner, modulePath);
    options.push_back(u"--module-path=" + withoutEmptyElements(setup.modulePath, u';'));
  }
  // The root module of the boot layer; the runtime then leaves the class path out.
  if (!target.module.empty()) options.push_back(u"-Djdk.module.main=" + target.module.substr(0, target.module.find(u'/')));
  setup.userOptionsAt += options.size();
  const size_t launcherOptions = options.size();
  options.insert(options.end(), parameters.options.begin(), parameters.options.end());
  if (parameters.stackSizeSet) setup.mainThreadStackSize = parameters.mainThreadStackSize;
  // Expanded after splitting, so a variable whose value holds spaces stays inside its option.
  for (size_t i = 0; i < options.size(); ++i) {
    std::u16string expanded = expandEnvironment(options[i]);
    // Nothing left (a variable set to nothing, or a value too long for a setting): the VM
    // refuses an empty option, so it is left out.
    if (expanded.empty()) continue;
    setup.vmOptions.push_back(toThreadAnsi(expanded));
    if (i >= launcherOptions) setup.userOptionsAsWritten.push_back(options[i]);
  }

  setup.streamFiles = settings.streams;
  setup.streamFiles.outputFile = expandEnvironment(settings.streams.outputFile);
  setup.streamFiles.errorFile = expandEnvironment(settings.streams.errorFile);
  return true;
}

void addJavaCommandOption(std::u16string_view mainClass, const std::vector<std::u16string>& arguments,
                          VmSetup& setup) {
  std::vector<std::u16string> options;
  for (const std::string& option : setup.vmOptions) options.push_back(fromThreadAnsi(option));
  const std::optional<std::u16string> command = javaCommandOption(mainClass, arguments, options);
  if (!command) return;
  const size_t at = std::min(setup.userOptionsAt, setup.vmOptions.size());
  setup.vmOptions.insert(setup.vmOptions.begin() + static_cast<std::ptrdiff_t>(at), toThreadAnsi(*command));
}

void traceVmOptions(const VmSetup& setup) {
  if (!tracing()) return;
  const size_t userFrom = setup.vmOptions.size() - std::min(setup.vmOptions.size(), setup.userOptionsAsWritten.size());
  for (size_t i = 0; i < setup.vmOptions.size(); ++i) {
    if (i < userFrom) {
      std::u16string option = fromThreadAnsi(setup.vmOptions[i]);
      // The program's arguments may hold what the user would not send anyone: the main class only.
      constexpr std::u16string_view kCommand = u"-Dsun.java.command=";
      if (option.starts_with(kCommand) && option.find(u' ') != std::u16string::npos) {
        option.resize(option.find(u' '));
        option += u" ...\" (the program's arguments left out)";
        trace(u"vm", u"option \"" + option);
        continue;
      }
      trace(u"vm", u"option " + quotedForTrace(option));
      continue;
    }
    const std::u16string& written = setup.userOptionsAsWritten[i - userFrom];
    std::u16string line = u"option " + quotedForTrace(written);
    std::vector<std::u16string> names = expandedVariableNames(written);
    if (!names.empty()) {
      line += u", expanding";
      for (const std::u16string& name : names) line += u" %" + name + u"%";
    }
    trace(u"vm", line);
  }
}

}  // namespace launcher
