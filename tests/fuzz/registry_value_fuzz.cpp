// Registry string data of any shape (odd length, no NUL, several NULs): the text is the data's
// code units up to the first NUL. The input buffer is exactly the data, so AddressSanitizer
// reports any read past its end.

#include <span>

#include "fuzz_input.h"
#include "runtime/registry_value.h"

using fuzz::require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::u16string text = launcher::stringFromRegistryData(std::span(data, size));
  require(text.size() <= size / 2);
  for (size_t i = 0; i < text.size(); ++i) {
    require(text[i] != u'\0' && text[i] == (data[2 * i] | data[2 * i + 1] << 8));
  }
  // Stopped early only at a NUL.
  if (text.size() < size / 2) require(data[2 * text.size()] == 0 && data[2 * text.size() + 1] == 0);
  return 0;
}
