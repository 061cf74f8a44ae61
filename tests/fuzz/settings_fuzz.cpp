// Filling the settings from a source whose every answer the input gives (now and then a value
// that cannot be read): no crash, false exactly when "Main Class" is unreadable, or empty with no
// jar, module or embedded jar to start instead (and then nothing after it is read), the main class
// in JNI form or taken as "module/class", and the per-user file read only when it exists and the
// application is no service.

#include <algorithm>

#include "fuzz_input.h"
#include "settings/launcher_settings.h"

using fuzz::require;

namespace {

struct FuzzSource final : launcher::SettingsSource {
  FuzzedDataProvider& input;
  std::vector<std::u16string> keys;
  std::u16string mainClass;
  bool mainClassUnreadable = false;
  // "Main Jar", "Main Module" or "Embedded Jar" answered before "Main Class".
  bool otherStart = false;
  std::u16string applicationType;
  bool userFileSeen = false;
  size_t userReads = 0;

  explicit FuzzSource(FuzzedDataProvider& in) : input(in) {}

  std::optional<std::u16string> answer(std::u16string_view section, std::u16string_view key) {
    keys.emplace_back(key);
    const bool isMainClass = section == u"Java Runtime Environment" && key == u"Main Class";
    if (input.ConsumeIntegralInRange(0, 15) == 0) {
      mainClassUnreadable = mainClassUnreadable || isMainClass;
      return std::nullopt;
    }
    std::u16string value = fuzz::text(input, 48);
    if (isMainClass) mainClass = value;
    if (mainClass.empty() && !isMainClass && (key == u"Main Jar" || key == u"Main Module")) {
      otherStart = otherStart || !value.empty();
    }
    if (key == u"Embedded Jar") otherStart = otherStart || launcher::isYesInAnyCase(value);
    if (key == u"Application Type") applicationType = value;
    return value;
  }
  std::optional<std::u16string> readMainPlain(std::u16string_view section, std::u16string_view key) override {
    return answer(section, key);
  }
  std::optional<std::u16string> readMainLayered(std::u16string_view section, std::u16string_view key,
                                                bool) override {
    return answer(section, key);
  }
  bool userFileExists(const launcher::ProductIdentity&) override { return userFileSeen = input.ConsumeBool(); }
  std::optional<std::u16string> readUserPlain(const launcher::ProductIdentity&, std::u16string_view section,
                                              std::u16string_view key) override {
    ++userReads;
    require(userFileSeen);
    return answer(section, key);
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  FuzzSource source(input);
  launcher::LauncherSettings settings;
  const launcher::SettingsOutcome outcome = launcher::readSettingsFrom(source, settings);
  const bool ok = static_cast<bool>(outcome);

  const auto mainClassRead = std::find(source.keys.begin(), source.keys.end(), u"Main Class");
  require(mainClassRead != source.keys.end());
  require(ok == (!source.mainClassUnreadable && (!source.mainClass.empty() || source.otherStart)));
  require(source.mainClassUnreadable == (outcome.status == launcher::SettingsOutcome::requiredKeyUnreadable));
  if (!ok) require(mainClassRead + 1 == source.keys.end());
  if (ok) require(source.keys.size() == launcher::settingKeys().size());
  if (launcher::isModuleAndClass(source.mainClass)) {
    require(settings.mainClass.empty() && !settings.mainModule.empty());
  } else {
    require(settings.mainClass.size() == source.mainClass.size());
  }
  require(settings.mainClass.find(u'.') == std::u16string::npos);
  require(settings.isService == (source.applicationType == u"service"));
  require(source.userReads <= 1 && (!settings.isService || source.userReads == 0));
  return 0;
}
