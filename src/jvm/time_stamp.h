#pragma once
// Output and error file names may carry a date and time pattern between two percent signs, so
// that each launch writes files of its own. The system's date and time formatting is handed in,
// which keeps the rules here free of the operating system.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace launcher {

// The local time of a launch, field for field as the system reports it.
struct LocalTime {
  std::uint16_t year = 0;
  std::uint16_t month = 0;
  std::uint16_t dayOfWeek = 0;
  std::uint16_t day = 0;
  std::uint16_t hour = 0;
  std::uint16_t minute = 0;
  std::uint16_t second = 0;
  std::uint16_t milliseconds = 0;
};

// Fills the pictures of `picture` with `time`; nullopt when the system's formatting failed (for
// instance because the result does not fit its buffer).
using TimeFormatter = std::function<std::optional<std::u16string>(std::u16string_view picture, const LocalTime& time)>;

// True when `name` has a pattern: a first and a last "%" that are not the same sign.
bool hasTimeStampPattern(std::u16string_view name);

// `name` with the span from its first to its last "%" replaced: every "L" of the pattern becomes
// the milliseconds, then the time pictures are filled and the date pictures of that result.
// A name without a pattern, and one whose formatting failed, comes back unchanged: an empty or
// cut name would send the output somewhere the user never named.
std::u16string expandTimeStamp(std::u16string_view name, const LocalTime& time, const TimeFormatter& formatTime,
                               const TimeFormatter& formatDate);

}  // namespace launcher
