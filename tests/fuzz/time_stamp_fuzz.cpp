// Output file names with a date and time pattern, filled by fake formatters that the input
// drives: the text outside the first and last "%" is kept, a failed formatting leaves the name
// as written, and the formatters see the pattern with "L" already replaced.

#include <algorithm>
#include <string>

#include "fuzz_input.h"
#include "jvm/time_stamp.h"

using fuzz::require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  launcher::LocalTime time;
  for (std::uint16_t* field : {&time.year, &time.month, &time.dayOfWeek, &time.day, &time.hour, &time.minute,
                               &time.second, &time.milliseconds}) {
    *field = input.ConsumeIntegral<std::uint16_t>();
  }
  const bool timeFails = input.ConsumeBool();
  const bool dateFails = input.ConsumeBool();
  // What each formatter writes for each character of its picture; the input decides.
  const std::u16string timeFill = fuzz::text(input, 8);
  const std::u16string dateFill = fuzz::text(input, 8);
  const std::u16string name = fuzz::rest(input);

  std::vector<std::u16string> pictures;
  std::vector<std::u16string> filled;
  auto formatter = [&](bool fails, const std::u16string& fill) {
    return [&, fails, fill](std::u16string_view picture, const launcher::LocalTime&) -> std::optional<std::u16string> {
      pictures.emplace_back(picture);
      if (fails) return std::nullopt;
      std::u16string out;
      for (char16_t c : picture) c == u'y' ? out.append(fill) : out.append(1, c);
      filled.push_back(out);
      return out;
    };
  };
  const std::u16string result =
      launcher::expandTimeStamp(name, time, formatter(timeFails, timeFill), formatter(dateFails, dateFill));

  const size_t first = name.find(u'%');
  const size_t last = name.rfind(u'%');
  if (!launcher::hasTimeStampPattern(name)) {
    require(result == name && pictures.empty());
    return 0;
  }
  if (timeFails || dateFails) {
    require(result == name);
    return 0;
  }
  // "L" is filled before the system sees the picture, with the milliseconds' decimal digits; the
  // date pass reads what the time pass wrote.
  require(pictures.size() == 2 && pictures[1] == filled[0]);
  const std::u16string_view pattern = std::u16string_view(name).substr(first + 1, last - first - 1);
  const size_t ells = std::count(pattern.begin(), pattern.end(), u'L');
  require(pictures[0].find(u'L') == std::u16string::npos);
  require(pictures[0].size() == pattern.size() - ells + ells * std::to_string(time.milliseconds).size());
  require(result == name.substr(0, first) + filled[1] + name.substr(last + 1));
  return 0;
}
