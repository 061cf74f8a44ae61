#pragma once
// The values the launcher takes from its settings file, the one table of every key it reads, and
// the rules that turn the text of each key into a value. Reading goes through `SettingsSource`,
// so the order of reads and the meaning of every value can be checked without Windows.

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/runtime_criteria.h"
#include "settings/stream_files.h"

namespace launcher {

struct LauncherSettings {
  // [Product Information]: names the folders of the per-user settings file.
  std::u16string productCode;
  std::u16string productName;
  // What the runtime search looks for.
  RuntimeCriteria runtime;
  bool isService = false;
  // In the JNI form, with "/" between the package names.
  std::u16string mainClass;
  // "Main Jar": the application's executable jar, as written; "Main Module": "module" or
  // "module/class" (also from a "Main Class" written that way).
  std::u16string mainJar;
  std::u16string mainModule;
  bool failureCheck = false;
  bool overrideWorkingDir = false;
  std::u16string systemPath;
  std::u16string libraryPath;
  std::u16string pairProduct;
  bool pairReturnCode = false;
  bool singleInstance = false;
  // The class path entries and the user's VM options as written; they are expanded and listed
  // when the VM options are built, once the runtime's environment is in place.
  std::u16string classPath;
  std::u16string modulePath;
  bool embeddedJar = false;
  std::u16string vmParameters;
  // "Class Data Archive": keep an archive of the application's classes for faster starts.
  bool classDataArchive = false;
  // As written; expanded when the VM options are built.
  StreamFiles streams;
  // "Cmd": extra arguments for main, as written.
  std::u16string extraArguments;
  // [Display]: the splash image as written, its drop shadow, and whether the runtime's own splash
  // library is preferred over the launcher's window.
  std::u16string splashImage;
  bool splashShadow = false;
  bool preferRuntimeSplash = false;
};

// Keys that switch a feature on compare in one of two ways, fixed per key: "Single Instance",
// "Output Append" and "Error Append" want "yes" exactly; "Failure Check", "Override WorkingDir",
// "Pair Return Code", "Embedded Jar", "Preffer Native Splash Screen", "Search Vendor Keys" and
// "Use JAVA_HOME" take "yes" in any case;
// "Splash Screen Shadow" wants "true" exactly. Settings files written for earlier releases rely
// on each key's rule, so they are not unified.
bool isExactYes(std::u16string_view value);
bool isYesInAnyCase(std::u16string_view value);
bool isExactTrue(std::u16string_view value);

// "Application Type": only "service", exactly.
bool isServiceType(std::u16string_view value);

// "JVM Type": "server" and "favor_server", exactly; anything else leaves the choice open.
JvmType jvmTypeFrom(std::u16string_view value);

// "JVM Source" (exact): sets jdkAccepted and jreAccepted always, sourceFavored only for a
// non-empty value. An unknown keyword clears all three, so no runtime qualifies.
void applyJvmSource(std::u16string_view value, RuntimeCriteria& criteria);

// "VM Provider" (any case): sets the vendor policy for a known name; an unknown or empty value
// leaves it as it is.
void applyVmProvider(std::u16string_view value, RuntimeCriteria& criteria);

// "Preferred versions": the pieces between ";" in order. An empty value gives none and a final
// ";" ends the list, but an empty piece between two separators is kept.
std::vector<std::u16string> splitPreferredVersions(std::u16string_view value);

// Where "JRE Path" comes from. A service keeps it in its main settings file. Otherwise the
// per-user file, once it exists, holds the user's own choice and the main file is not
// consulted, even when the per-user file lacks the key.
enum class JrePathSource { mainLayered, userPlain };
JrePathSource jrePathSource(bool isService, bool userFileExists);

// How a key's value is looked up.
enum class ValueRead {
  // [section] key of the main settings file, and nothing else: the section's own value only.
  plain,
  // [section] key of the main file, or else [section+] key as written.
  layered,
  // The same for a list of tokens ("Virtual Machine Parameters", "Cmd"): a value from [section+]
  // adds to what the system gives, so it starts with one space.
  layeredList,
  // "JRE Path": the per-user file or the main file, as `jrePathSource` decides.
  jrePath,
};

// One key of the settings file and how its text becomes a value.
struct SettingKey {
  std::u16string_view section;
  std::u16string_view key;
  ValueRead read;
  // An empty value ends the reading: nothing after it is read and the settings are unusable.
  bool required;
  void (*apply)(std::u16string_view value, LauncherSettings& settings);
};

// What starts the program: a class by name, an executable jar whose manifest names the class, or
// a module. The class wins over the jar's manifest; a module wins over both, and a class named
// besides a bare module name is the module's main class ("module/package.Class"). With
// "Embedded Jar" and no class, jar or module named, the launcher itself (`executablePath`) is the
// jar.
struct MainTarget {
  std::u16string className;
  std::u16string jar;
  std::u16string module;
};
MainTarget mainTargetOf(const LauncherSettings& settings, std::u16string_view executablePath);

// A "Main Class" written "module/package.Class", the java command's "-m" form: a module name
// before the one "/" and a dotted class name after it. The JNI form of a class name has slashes
// but no dots.
bool isModuleAndClass(std::u16string_view mainClass);

// Every key the launcher reads, in the order it reads them.
std::span<const SettingKey> settingKeys();

// The product, which names the folder of the per-user settings file.
struct ProductIdentity {
  std::u16string_view name;
  std::u16string_view code;
};

// The reads that filling the settings needs. Windows implements it with profile files; tests
// with a table.
class SettingsSource {
 public:
  virtual ~SettingsSource() = default;
  // Each read gives nothing for a value that cannot be read at all (one too long to be a setting).
  // [section] key of the main settings file.
  virtual std::optional<std::u16string> readMainPlain(std::u16string_view section, std::u16string_view key) = 0;
  // [section] key of the main settings file, or else [section+] key, given one leading space for
  // a `tokenList`.
  virtual std::optional<std::u16string> readMainLayered(std::u16string_view section, std::u16string_view key,
                                                        bool tokenList) = 0;
  // Whether the per-user settings file of `product` exists.
  virtual bool userFileExists(const ProductIdentity& product) = 0;
  // [section] key of the per-user settings file of `product`.
  virtual std::optional<std::u16string> readUserPlain(const ProductIdentity& product, std::u16string_view section,
                                                      std::u16string_view key) = 0;
};

// What reading the settings came to. It converts to true only when the launch can go on.
struct SettingsOutcome {
  enum Status { complete, requiredKeyEmpty, requiredKeyUnreadable };
  Status status = complete;
  // The required key that stopped the reading.
  const SettingKey* key = nullptr;

  explicit operator bool() const { return status == complete; }
};

// Fills `settings` from `source`, key by key in the table's order: product code and name, the
// runtime requirements, then "Main Class" and, only when that names a class, the application,
// VM option, stream, argument, single-instance and splash keys. An unreadable value counts as
// empty. Stops at a required key ("Main Class") that is empty, with no "Main Jar", "Main Module"
// or "Embedded Jar" read before it, or that cannot be read: there is nothing to launch, and the
// caller tells the user which it was.
SettingsOutcome readSettingsFrom(SettingsSource& source, LauncherSettings& settings);

}  // namespace launcher
