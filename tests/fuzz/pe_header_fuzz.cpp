// Feeds arbitrary file contents to the image header check. The input buffer is exactly the
// given size, so AddressSanitizer reports any read past the end of the "file".

#include <cstddef>
#include <cstdint>
#include <span>

#include "runtime/pe_header_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  launcher::imageMachine(std::span<const unsigned char>(data, size));
  return 0;
}
