// Memory shares ("-Xmx25:256:1024p"): the size is the exact share of the base, then capped and
// raised by the bounds, and a result beyond 64 bits stops at the largest value instead of
// wrapping. The share is checked against 128-bit arithmetic, which cannot overflow here.

#include <limits>

#include "fuzz_input.h"
#include "jvm/memory_share.h"

using fuzz::require;
using Wide = unsigned __int128;

namespace {

constexpr Wide kMax = std::numeric_limits<std::uint64_t>::max();

Wide saturated(Wide value) { return value > kMax ? kMax : value; }

std::u16string decimal(Wide value) {
  std::u16string digits;
  do {
    digits.insert(digits.begin(), static_cast<char16_t>(u'0' + static_cast<int>(value % 10)));
    value /= 10;
  } while (value != 0);
  return digits;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  const std::uint64_t baseKb = input.ConsumeIntegral<std::uint64_t>();
  const std::u16string token = fuzz::rest(input);
  const std::optional<launcher::MemoryBase> base = launcher::memoryShareBase(token);
  if (!base) return 0;
  require(token.size() >= 5);

  // Prefix up to the first digit or ":", then percentage, lower and upper bound in MB.
  const std::u16string_view body = std::u16string_view(token).substr(0, token.size() - 1);
  const size_t start = std::min(body.find_first_of(u"0123456789:"), body.size());
  Wide numbers[3] = {0, 0, 0};
  size_t index = 0;
  for (char16_t c : body.substr(start)) {
    if (c == u':') ++index;
    if (c >= u'0' && c <= u'9' && index < 3) numbers[index] = saturated(numbers[index] * 10 + (c - u'0'));
  }
  const Wide lowerKb = saturated(numbers[1] * 1024);
  const Wide upperKb = saturated(numbers[2] * 1024);
  Wide sizeKb = saturated(Wide{baseKb} * numbers[0] / 100);
  if (upperKb != 0 && sizeKb > upperKb) sizeKb = upperKb;
  if (sizeKb < lowerKb) sizeKb = lowerKb;

  const std::u16string rewritten = launcher::rewriteMemoryShare(token, baseKb);
  require(rewritten == std::u16string(body.substr(0, start)) + decimal(sizeKb) + u"K");
  // Rewritten once, the token is a share no more: "K" is no unit letter.
  require(!launcher::memoryShareBase(rewritten));
  return 0;
}
