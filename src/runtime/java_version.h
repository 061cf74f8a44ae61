#pragma once
// A Java runtime version, as the settings file and the registry's runtime subkeys write it,
// turned into a value that can be ordered and matched. Both sources are free text ("1.8",
// "1.8.0_151-b12", "jdk-17"), so the parser reads digit runs and treats whatever lies between
// them as a separator.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace launcher {

struct JavaVersion {
  // The value a maximum gives its missing components, and every component of the maximum "any".
  static constexpr std::int32_t kOpenEnd = 65535;

  // Major, minor, micro, update. Parsing never produces a negative component.
  std::array<std::int32_t, 4> components{};

  // Replaces the value by the version read from `text`; the components the text does not supply
  // become `fill`. False, with the value 0.0.0.0 and no fill applied, when the text holds no
  // ASCII digit or a component exceeds 2147483647. Digit groups after the fourth are ignored.
  bool parse(std::u16string_view text, std::int32_t fill);

  // -1, 0 or +1: the first component in which the two differ decides.
  static int compare(const JavaVersion& a, const JavaVersion& b);

  // Whether `candidate` satisfies a preferred-version entry: the pattern's trailing zero
  // components match anything, so 1.8 admits every 1.8.x.y and an empty entry every runtime.
  static bool matchesPattern(const JavaVersion& candidate, const JavaVersion& pattern);

  // 0.0.0.0 (no or an unreadable bound, "any" as a minimum) and 65535.65535.65535.65535 ("any"
  // as a maximum) stand for no bound at all.
  static bool isUnbounded(const JavaVersion& v);

  // The short form shown to the user: trailing components that are 0 or the maximum's fill are
  // left out, but a minor 0 is shown after the major ("1.0"); "0.0.0.0" when nothing is left.
  static std::u16string toString(const JavaVersion& v);

  friend bool operator==(const JavaVersion&, const JavaVersion&) = default;
};

// Reads a "Minimum Version" or "Maximum Version" value: "any" (exactly) is the open bound, any
// other text is parsed with the missing components filled so that the bound admits every
// version it names (0 below, 65535 above). An unreadable text gives 0.0.0.0.
JavaVersion minimumVersionFrom(std::u16string_view value);
JavaVersion maximumVersionFrom(std::u16string_view value);

// Which text describes an accepted version range, and its arguments in order. The caller loads
// the text by number and formats it, which keeps the choice free of resources.
struct VersionRangeText {
  unsigned textId = 0;
  std::vector<std::u16string> args;

  friend bool operator==(const VersionRangeText&, const VersionRangeText&) = default;
};

// Unbounded ends are left out of the description; the bounds are shown in their short form.
VersionRangeText describeVersionRange(const JavaVersion& minimum, const JavaVersion& maximum);

}  // namespace launcher
