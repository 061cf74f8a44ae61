// Reading a settings value of unknown length through a reader that behaves like
// GetPrivateProfileStringW: the value arrives whole, and the buffer doubles from the first size
// until the value fits, so the number of reads grows with the logarithm of the length.

#include <algorithm>

#include "fuzz_input.h"
#include "settings/profile_read.h"

using fuzz::require;

namespace {

// Values up to this length are simulated: long enough for several doublings, short enough to
// keep the target fast.
constexpr size_t kMaxLength = 1 << 14;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  const size_t length = input.ConsumeIntegralInRange<size_t>(0, kMaxLength);
  std::u16string piece = fuzz::rest(input);
  // NUL, which a profile value cannot hold, is read as a space.
  std::replace(piece.begin(), piece.end(), u'\0', u' ');
  if (piece.empty()) piece = u"x";
  // The input's text repeated to the length chosen.
  std::u16string value;
  while (value.size() < length) value += piece;
  value.resize(length);

  std::vector<size_t> sizes;
  auto read = [&](char16_t* buffer, size_t room) {
    sizes.push_back(room);
    // Copies what fits with its NUL and reports the length copied; the rest of the buffer is
    // left as it was, so a reader that trusts it would show junk.
    const size_t copied = std::min(value.size(), room - 1);
    value.copy(buffer, copied);
    buffer[copied] = u'\0';
    if (copied + 1 < room) buffer[room - 1] = u'#';
    return copied;
  };
  require(launcher::readGrowing(read) == value);

  // Doubling from the first size, and only while the value filled the buffer.
  for (size_t i = 0; i < sizes.size(); ++i) {
    require(sizes[i] == launcher::kFirstProfileBufferSize << i);
    require((i + 1 == sizes.size()) == (value.size() + 1 < sizes[i]));
  }
  return 0;
}
