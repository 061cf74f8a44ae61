#pragma once
// The values the launcher takes from its settings file, and the rules that turn the text of each
// key into them. Reading goes through `SettingsSource`, so the order of reads and the meaning of
// every value can be checked without Windows.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/java_version.h"

namespace launcher {

struct LauncherSettings {
  std::u16string splashImage;
  std::u16string splashShadow;
  // 0: no preference, 1: server VM only, 2: server VM favoured.
  std::int32_t jvmType = 0;
  // In the JNI form, with "/" between the package names.
  std::u16string mainClass;
  // The accepted range of registered runtimes. "any" opens either end; an empty or unreadable
  // value gives 0.0.0.0, which the range text treats as no bound.
  JavaVersion minimumVersion;
  JavaVersion maximumVersion;
  bool isService = false;
  // Which kinds of runtime qualify. Without a "JVM Source" value both do.
  bool jdkAccepted = true;
  bool jreAccepted = true;
  bool sourceFavored = true;
  // Which vendors' runtimes qualify and which are preferred. Without a "VM Provider" value only
  // Sun runtimes do.
  bool jrockitAccepted = false;
  bool sunAccepted = true;
  bool ibmAccepted = false;
  bool jrockitFavored = false;
  bool sunFavored = true;
  bool ibmFavored = false;
  std::u16string productName;
  std::u16string productCode;
  // Kept as written, in order; each entry is parsed as a pattern when runtimes are chosen.
  std::vector<std::u16string> preferredVersions;
  std::u16string jrePath;
  std::u16string libraryPath;
  bool singleInstance = false;
  std::u16string outputFile;
  std::u16string errorFile;
  bool outputAppend = false;
  bool errorAppend = false;
  std::u16string systemPath;
  std::u16string extraArguments;
  std::u16string pairProduct;
  bool pairReturnCode = false;
  bool failureCheck = false;
  bool overrideWorkingDir = false;
};

// Keys that switch a feature on compare in one of two ways, fixed per key: "Single Instance",
// "Output Append" and "Error Append" want "yes" exactly; "Failure Check", "Override WorkingDir",
// "Pair Return Code", "Embedded Jar" and "Preffer Native Splash Screen" take "yes" in any case;
// "Splash Screen Shadow" wants "true" exactly. Settings files written for earlier releases rely
// on each key's rule, so they are not unified.
bool isExactYes(std::u16string_view value);
bool isYesInAnyCase(std::u16string_view value);
bool isExactTrue(std::u16string_view value);

// "Application Type": only "service", exactly.
bool isServiceType(std::u16string_view value);

// "JVM Type": "server" gives 1, "favor_server" 2, anything else 0; exactly.
std::int32_t jvmTypeFrom(std::u16string_view value);

// "JVM Source" (exact): sets jdkAccepted and jreAccepted always, sourceFavored only for a
// non-empty value. An unknown keyword clears all three, so no runtime qualifies.
void applyJvmSource(std::u16string_view value, LauncherSettings& settings);

// "VM Provider" (any case): sets the six vendor flags for a known name; an unknown or empty
// value leaves them as they are.
void applyVmProvider(std::u16string_view value, LauncherSettings& settings);

// "Preferred versions": the pieces between ";" in order. An empty value gives none and a final
// ";" ends the list, but an empty piece between two separators is kept.
std::vector<std::u16string> splitPreferredVersions(std::u16string_view value);

// Where "JRE Path" comes from. A service keeps it in its main settings file. Otherwise the
// per-user file, once it exists, holds the user's own choice and the main file is not
// consulted, even when the per-user file lacks the key.
enum class JrePathSource { mainLayered, userPlain };
JrePathSource jrePathSource(bool isService, bool userFileExists);

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
  // [section] key of the main settings file.
  virtual std::u16string readMainPlain(std::u16string_view section, std::u16string_view key) = 0;
  // [section] key of the main settings file, or else [section+] key with one leading space.
  virtual std::u16string readMainLayered(std::u16string_view section, std::u16string_view key) = 0;
  // Whether the per-user settings file of `product` exists.
  virtual bool userFileExists(const ProductIdentity& product) = 0;
  // [section] key of the per-user settings file of `product`.
  virtual std::u16string readUserPlain(const ProductIdentity& product, std::u16string_view section,
                                       std::u16string_view key) = 0;
};

// Fills `settings` from `source`: product code and name, the runtime requirements, then "Main
// Class" and, only when that names a class, the application keys. False when "Main Class" is
// empty: there is nothing to launch, and the caller tells the user so.
bool readSettingsFrom(SettingsSource& source, LauncherSettings& settings);

}  // namespace launcher
