#pragma once
// A Windows executable's resources as a flat list, read from and written back into the image.
// Writing replaces the resource section: the sections after it (only the relocations may
// follow) move up, and every header field that describes the layout follows.

#include <cstdint>
#include <string>
#include <vector>

namespace brand {

using Bytes = std::vector<std::uint8_t>;

// A resource type or name: a number, or a text when `text` is not empty.
struct ResourceKey {
  std::uint16_t id = 0;
  std::u16string text;
  bool operator==(const ResourceKey&) const = default;
};

struct Resource {
  ResourceKey type;
  ResourceKey name;
  std::uint16_t language = 0;
  std::uint32_t codePage = 0;
  Bytes data;
};

enum : std::uint16_t { kIconType = 3, kStringType = 6, kDialogType = 5, kGroupIconType = 14, kVersionType = 16 };

// The headers of a PE image that the rewrite reads.
struct PeLayout {
  std::uint32_t peOffset = 0;
  std::uint16_t machine = 0;
  bool is64 = false;
  std::uint16_t subsystem = 0;
  std::uint32_t optionalHeader = 0;  // file offset
  std::uint32_t sectionTable = 0;    // file offset
  std::uint16_t sectionCount = 0;
  std::uint32_t sectionAlignment = 0;
  std::uint32_t fileAlignment = 0;
  std::uint32_t dataDirectories = 0;  // file offset of the first entry
  std::uint32_t dataDirectoryCount = 0;
};

// Reads the headers; false with `error` set when `file` is not a PE image this tool can rewrite.
bool readLayout(const Bytes& file, PeLayout& layout, std::string& error);

// All resources of the image, in the order of its resource directory.
bool readResources(const Bytes& file, const PeLayout& layout, std::vector<Resource>& resources, std::string& error);

// Replaces the image's resource section by one holding `resources`. Refused (false, `error`) for
// a signed image, one with data after its last section, and one whose resource section is
// followed by anything but relocations.
bool writeResources(Bytes& file, const PeLayout& layout, std::vector<Resource> resources, std::string& error);

// Little-endian fields of an image or resource at byte offset `at`; the caller has checked the
// range.
inline std::uint32_t get16(const Bytes& b, std::size_t at) { return b[at] | b[at + 1] << 8; }
inline std::uint32_t get32(const Bytes& b, std::size_t at) { return get16(b, at) | get16(b, at + 2) << 16; }
inline void put16(Bytes& b, std::size_t at, std::uint32_t v) {
  b[at] = static_cast<std::uint8_t>(v);
  b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}
inline void put32(Bytes& b, std::size_t at, std::uint32_t v) {
  put16(b, at, v & 0xFFFF);
  put16(b, at + 2, v >> 16);
}

// The PE checksum of `file` as the image's CheckSum field would hold it.
std::uint32_t peChecksum(const Bytes& file, std::uint32_t checksumOffset);

}  // namespace brand
