#include "runtime/pe_header_check.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace launcher {
namespace {

using Bytes = std::vector<unsigned char>;

void put16(Bytes& bytes, size_t at, std::uint16_t value) {
  bytes[at] = static_cast<unsigned char>(value);
  bytes[at + 1] = static_cast<unsigned char>(value >> 8);
}

void put32(Bytes& bytes, size_t at, std::uint32_t value) {
  put16(bytes, at, static_cast<std::uint16_t>(value));
  put16(bytes, at + 2, static_cast<std::uint16_t>(value >> 16));
}

// A minimal image header as a linker lays it out: DOS header, stub space, then at `ntOffset`
// the signature, the file header and an optional header of the usual size for the machine.
Bytes imageHeader(std::uint16_t machine, std::uint32_t ntOffset = 0x80) {
  const std::uint16_t optionalSize = machine == kMachineX86 ? 224 : 240;
  Bytes bytes(ntOffset + 24 + optionalSize, 0);
  bytes[0] = 'M';
  bytes[1] = 'Z';
  put32(bytes, 0x3C, ntOffset);
  bytes[ntOffset] = 'P';
  bytes[ntOffset + 1] = 'E';
  put16(bytes, ntOffset + 4, machine);
  put16(bytes, ntOffset + 20, optionalSize);
  put16(bytes, ntOffset + 24, machine == kMachineX86 ? 0x10B : 0x20B);
  return bytes;
}

TEST(ImageMachine, ValidHeadersGiveTheirMachine) {
  for (std::uint16_t machine : {kMachineX86, kMachineX64, kMachineArm64, std::uint16_t{0x01C4}}) {
    EXPECT_EQ(imageMachine(imageHeader(machine)), machine) << std::hex << machine;
  }
  // Sections and data after the headers do not matter.
  Bytes withBody = imageHeader(kMachineX64);
  withBody.resize(withBody.size() + 4096, 0xCC);
  EXPECT_EQ(imageMachine(withBody), kMachineX64);
  // Headers that overlap the DOS header, as packed images have, are still inside the file.
  EXPECT_EQ(imageMachine(imageHeader(kMachineX86, 4)), kMachineX86);
}

TEST(ImageMachine, RejectsBrokenOrTruncatedHeaders) {
  struct Case {
    const char* what;
    Bytes bytes;
  };
  const Bytes x64 = imageHeader(kMachineX64);
  auto changed = [&x64](auto change) {
    Bytes bytes = x64;
    change(bytes);
    return bytes;
  };
  const Case cases[] = {
      {"empty", {}},
      {"only MZ", {'M', 'Z'}},
      {"DOS header cut before e_lfanew ends", Bytes(x64.begin(), x64.begin() + 63)},
      {"ZM", changed([](Bytes& b) { b[0] = 'Z', b[1] = 'M'; })},
      {"mz", changed([](Bytes& b) { b[0] = 'm', b[1] = 'z'; })},
      {"no PE signature", changed([](Bytes& b) { b[0x80] = 'N'; })},
      {"PE without the zero bytes", changed([](Bytes& b) { b[0x83] = 1; })},
      {"e_lfanew negative", changed([](Bytes& b) { put32(b, 0x3C, 0xFFFFFF80u); })},
      {"e_lfanew most negative", changed([](Bytes& b) { put32(b, 0x3C, 0x80000000u); })},
      {"e_lfanew largest", changed([](Bytes& b) { put32(b, 0x3C, 0x7FFFFFFFu); })},
      {"e_lfanew at the end", changed([&x64](Bytes& b) {
         put32(b, 0x3C, static_cast<std::uint32_t>(x64.size()));
       })},
      {"file header straddles the end", changed([](Bytes& b) {
         put32(b, 0x3C, static_cast<std::uint32_t>(b.size() - 10));
         b[b.size() - 10] = 'P', b[b.size() - 9] = 'E', b[b.size() - 8] = 0, b[b.size() - 7] = 0;
       })},
      {"optional header cut short", Bytes(x64.begin(), x64.end() - 1)},
      {"optional header declared larger", changed([](Bytes& b) { put16(b, 0x80 + 20, 241); })},
      {"optional header declared at most", changed([](Bytes& b) { put16(b, 0x80 + 20, 0xFFFF); })},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(imageMachine(c.bytes), std::nullopt) << c.what;
  }
}

TEST(ImageMachine, HeadersEndingExactlyAtTheEndAreComplete) {
  // Signature and file header only, with no optional header declared, as the last bytes.
  Bytes bytes(64 + 24, 0);
  bytes[0] = 'M', bytes[1] = 'Z';
  put32(bytes, 0x3C, 64);
  bytes[64] = 'P', bytes[65] = 'E';
  put16(bytes, 68, kMachineArm64);
  EXPECT_EQ(imageMachine(bytes), kMachineArm64);
  bytes.pop_back();
  EXPECT_EQ(imageMachine(bytes), std::nullopt);
}

TEST(IsForeignMachine, EverythingButTheOwnMachine) {
  EXPECT_FALSE(isForeignMachine(kMachineX86, kMachineX86));
  EXPECT_TRUE(isForeignMachine(kMachineX64, kMachineX86));
  EXPECT_TRUE(isForeignMachine(kMachineArm64, kMachineX86));
  EXPECT_TRUE(isForeignMachine(0, kMachineX86));
  EXPECT_FALSE(isForeignMachine(kMachineX64, kMachineX64));
  EXPECT_TRUE(isForeignMachine(kMachineX86, kMachineX64));
}

}  // namespace
}  // namespace launcher
