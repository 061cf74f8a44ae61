#include "jvm/time_stamp.h"

#include "base/text.h"

namespace launcher {

bool hasTimeStampPattern(std::u16string_view name) {
  const std::size_t first = name.find(u'%');
  return first != std::u16string_view::npos && name.rfind(u'%') != first;
}

std::u16string expandTimeStamp(std::u16string_view name, const LocalTime& time, const TimeFormatter& formatTime,
                               const TimeFormatter& formatDate) {
  if (!hasTimeStampPattern(name)) return std::u16string(name);
  const std::size_t first = name.find(u'%');
  const std::size_t last = name.rfind(u'%');

  // "L" is no picture of the system's formatting; the milliseconds go in before it runs.
  const std::u16string milliseconds = decimalText(time.milliseconds);
  std::u16string picture;
  for (const char16_t c : name.substr(first + 1, last - first - 1)) {
    if (c == u'L') {
      picture += milliseconds;
    } else {
      picture += c;
    }
  }

  // The date pass reads what the time pass wrote, so the "M" of an "AM" or "PM" marker is read
  // as a month picture there; a picture that needs the marker quotes it.
  const std::optional<std::u16string> timeFilled = formatTime(picture, time);
  if (!timeFilled) return std::u16string(name);
  const std::optional<std::u16string> filled = formatDate(*timeFilled, time);
  if (!filled) return std::u16string(name);

  std::u16string result(name.substr(0, first));
  result += *filled;
  result += name.substr(last + 1);
  return result;
}

}  // namespace launcher
