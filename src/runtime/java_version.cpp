#include "runtime/java_version.h"

#include <algorithm>
#include <limits>

#include "base/text.h"
#include "resources/resource_ids.h"

namespace launcher {

bool JavaVersion::parse(std::u16string_view text, std::int32_t fill) {
  components.fill(0);
  constexpr std::int32_t kLargest = std::numeric_limits<std::int32_t>::max();
  auto digit = std::find_if(text.begin(), text.end(), isAsciiDigit);
  if (digit == text.end()) return false;

  size_t index = 0;
  for (;;) {
    std::int32_t value = 0;
    for (; digit != text.end() && isAsciiDigit(*digit); ++digit) {
      std::int32_t d = *digit - u'0';
      // Checked before multiplying: the overflowing product itself would be undefined.
      if (value > (kLargest - d) / 10) {
        components.fill(0);
        return false;
      }
      value = value * 10 + d;
    }
    components[index] = value;
    digit = std::find_if(digit, text.end(), isAsciiDigit);
    if (digit == text.end() || index == components.size() - 1) break;
    ++index;
  }
  std::fill(components.begin() + static_cast<std::ptrdiff_t>(index) + 1, components.end(), fill);
  return true;
}

int JavaVersion::compare(const JavaVersion& a, const JavaVersion& b) {
  for (size_t i = 0; i < a.components.size(); ++i) {
    if (a.components[i] != b.components[i]) return a.components[i] < b.components[i] ? -1 : 1;
  }
  return 0;
}

bool JavaVersion::matchesPattern(const JavaVersion& candidate, const JavaVersion& pattern) {
  size_t significant = pattern.components.size();
  while (significant > 0 && pattern.components[significant - 1] == 0) --significant;
  return std::equal(pattern.components.begin(), pattern.components.begin() + significant,
                    candidate.components.begin());
}

bool JavaVersion::isUnbounded(const JavaVersion& v) {
  auto all = [&v](std::int32_t value) {
    return std::all_of(v.components.begin(), v.components.end(),
                       [value](std::int32_t c) { return c == value; });
  };
  return all(0) || all(kOpenEnd);
}

std::u16string JavaVersion::toString(const JavaVersion& v) {
  // Components up to the last one that is neither 0 nor 65535 are shown, and a minor 0 after the
  // major ("1.0", "11.0"); a 65535 that only fills an open end ("Maximum Version=17") never is.
  size_t shown = v.components.size();
  while (shown > 0 && (v.components[shown - 1] == 0 || v.components[shown - 1] == kOpenEnd)) {
    --shown;
  }
  if (shown == 0) return u"0.0.0.0";
  if (shown == 1 && v.components[1] == 0) shown = 2;
  std::u16string text;
  for (size_t i = 0; i < shown; ++i) {
    if (i > 0) text.push_back(u'.');
    text.append(signedDecimalText(v.components[i]));
  }
  return text;
}

JavaVersion minimumVersionFrom(std::u16string_view value) {
  JavaVersion version;
  if (value != u"any") version.parse(value, 0);
  return version;
}

JavaVersion maximumVersionFrom(std::u16string_view value) {
  JavaVersion version;
  if (value == u"any") {
    version.components.fill(JavaVersion::kOpenEnd);
  } else {
    version.parse(value, JavaVersion::kOpenEnd);
  }
  return version;
}

VersionRangeText describeVersionRange(const JavaVersion& minimum, const JavaVersion& maximum) {
  bool hasMinimum = !JavaVersion::isUnbounded(minimum);
  bool hasMaximum = !JavaVersion::isUnbounded(maximum);
  if (!hasMinimum && !hasMaximum) return {IDS_RANGE_ANY, {}};
  if (!hasMinimum) return {IDS_RANGE_UP_TO, {JavaVersion::toString(maximum)}};
  if (!hasMaximum) return {IDS_RANGE_FROM, {JavaVersion::toString(minimum)}};
  // 1.8 as both bounds is 1.8.0.0 to 1.8.65535.65535, every 1.8: the one version the user reads.
  std::u16string lowest = JavaVersion::toString(minimum), highest = JavaVersion::toString(maximum);
  if (lowest == highest) return {IDS_RANGE_EXACT, {lowest}};
  return {IDS_RANGE_BETWEEN, {lowest, highest}};
}

}  // namespace launcher
