#pragma once
// What the fuzz targets share: taking text from the input and stopping on a broken promise.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>
#include <string>
#include <string_view>

namespace fuzz {

// Stops the run, so that libFuzzer keeps the input, when a promise of the code under test fails.
inline void require(bool condition) {
  if (!condition) std::abort();
}

// Text of one code unit per byte. The rules under test tell only ASCII characters apart, so
// wider code units would only thin out the inputs that matter.
inline std::u16string widen(std::string_view bytes) {
  std::u16string text;
  text.reserve(bytes.size());
  for (unsigned char c : bytes) text.push_back(c);
  return text;
}

// The next piece of text, at most `maxLength` units.
inline std::u16string text(FuzzedDataProvider& input, size_t maxLength = 256) {
  return widen(input.ConsumeRandomLengthString(maxLength));
}

inline std::u16string rest(FuzzedDataProvider& input) { return widen(input.ConsumeRemainingBytesAsString()); }

}  // namespace fuzz
