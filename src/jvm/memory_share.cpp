#include "jvm/memory_share.h"

#include <limits>

#include "base/text.h"

namespace launcher {
namespace {

constexpr std::uint64_t kMax = std::numeric_limits<std::uint64_t>::max();

std::uint64_t saturatingAdd(std::uint64_t a, std::uint64_t b) { return a > kMax - b ? kMax : a + b; }

std::uint64_t saturatingMul(std::uint64_t a, std::uint64_t b) {
  if (a != 0 && b > kMax / a) return kMax;
  return a * b;
}

}  // namespace

std::optional<MemoryBase> memoryShareBase(std::u16string_view token) {
  if (token.size() < 5) return std::nullopt;  // the option name and the unit letter at least
  std::u16string_view option = token.substr(0, 4);
  if (option != u"-Xms" && option != u"-Xmx" && option != u"-Xss") return std::nullopt;
  switch (token.back()) {
    case u'P':
    case u'p':
      return MemoryBase::physical;
    case u'T':
    case u't':
      return MemoryBase::availableVirtual;
    default:
      return std::nullopt;
  }
}

std::uint64_t memoryBaseKb(MemoryBase base, const MemoryBases& bases) {
  return base == MemoryBase::physical ? bases.physicalKb : bases.availableVirtualKb;
}

std::u16string rewriteMemoryShare(std::u16string_view token, std::uint64_t baseKb) {
  if (token.empty()) return std::u16string(token);
  std::u16string_view body = token.substr(0, token.size() - 1);  // without the unit letter
  // The prefix never takes the unit letter, so "-Xmxp" reads as a share of 0 rather than as an
  // option name "-Xmxp".
  size_t start = body.find_first_of(u"0123456789:");
  if (start == std::u16string_view::npos) start = body.size();

  std::uint64_t numbers[3] = {0, 0, 0};  // percentage, lower bound, upper bound
  size_t index = 0;
  for (char16_t c : body.substr(start)) {
    if (c == u':') {
      ++index;  // a fourth number and later ones are read but not used
    } else if (isAsciiDigit(c) && index < 3) {
      numbers[index] = saturatingAdd(saturatingMul(numbers[index], 10), static_cast<std::uint64_t>(c - u'0'));
    }
  }
  const std::uint64_t percentage = numbers[0];
  const std::uint64_t lowerKb = saturatingMul(numbers[1], 1024);
  const std::uint64_t upperKb = saturatingMul(numbers[2], 1024);

  // base * percentage / 100, rounded down and exact, without forming the full product: with
  // base = 100q + r, that is q * percentage + r * percentage / 100, and the second term splits
  // the same way over the percentage, so only q * percentage can exceed 64 bits.
  const std::uint64_t q = baseKb / 100;
  const std::uint64_t r = baseKb % 100;
  const std::uint64_t remainderPart = r * (percentage / 100) + r * (percentage % 100) / 100;
  std::uint64_t sizeKb = saturatingAdd(saturatingMul(q, percentage), remainderPart);
  if (upperKb != 0 && sizeKb > upperKb) sizeKb = upperKb;
  if (sizeKb < lowerKb) sizeKb = lowerKb;

  std::u16string result(body.substr(0, start));
  result += decimalText(sizeKb);
  result += u'K';
  return result;
}

}  // namespace launcher
