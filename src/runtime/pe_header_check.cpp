#include "runtime/pe_header_check.h"

namespace launcher {
namespace {

// Layout of the on-disk headers; all fields are little-endian whatever the host.
constexpr std::uint64_t kDosHeaderSize = 64;
constexpr std::uint64_t kNewHeaderOffsetField = 0x3C;  // e_lfanew, a signed 32-bit offset
constexpr std::uint64_t kSignatureSize = 4;
constexpr std::uint64_t kFileHeaderSize = 20;
constexpr std::uint64_t kMachineField = kSignatureSize + 0;
constexpr std::uint64_t kOptionalHeaderSizeField = kSignatureSize + 16;

std::uint16_t read16(std::span<const unsigned char> bytes, std::uint64_t at) {
  return static_cast<std::uint16_t>(bytes[at] | bytes[at + 1] << 8);
}

std::uint32_t read32(std::span<const unsigned char> bytes, std::uint64_t at) {
  return static_cast<std::uint32_t>(read16(bytes, at)) |
         static_cast<std::uint32_t>(read16(bytes, at + 2)) << 16;
}

}  // namespace

std::optional<std::uint16_t> imageMachine(std::span<const unsigned char> file) {
  // Sizes and offsets are compared in 64 bits, so that an offset near 2^31 plus a header size
  // cannot wrap around in a 32-bit process.
  const std::uint64_t size = file.size();
  if (size < kDosHeaderSize || file[0] != 'M' || file[1] != 'Z') return std::nullopt;

  const std::uint32_t rawOffset = read32(file, kNewHeaderOffsetField);
  if (rawOffset > 0x7FFFFFFFu) return std::nullopt;  // negative as the signed field it is
  const std::uint64_t nt = rawOffset;
  if (nt + kSignatureSize + kFileHeaderSize > size) return std::nullopt;
  if (read32(file, nt) != 0x00004550u) return std::nullopt;  // "PE\0\0"

  // The declared optional header must be present too: whoever reads the headers in place after
  // this check may read any of its fields, and an image cut off inside it cannot be loaded.
  const std::uint64_t optionalSize = read16(file, nt + kOptionalHeaderSizeField);
  if (nt + kSignatureSize + kFileHeaderSize + optionalSize > size) return std::nullopt;

  return read16(file, nt + kMachineField);
}

std::u16string machineName(std::uint16_t machine) {
  switch (machine) {
    case kMachineX86: return u"x86";
    case kMachineX64: return u"x64";
    case kMachineArm64: return u"ARM64";
    case kMachineIa64: return u"IA-64";
    case kMachineArmNt: return u"ARM";
  }
  constexpr char16_t kDigits[] = u"0123456789ABCDEF";
  std::u16string name = u"machine 0x";
  for (int shift = 12; shift >= 0; shift -= 4) name += kDigits[(machine >> shift) & 0xF];
  return name;
}

}  // namespace launcher
