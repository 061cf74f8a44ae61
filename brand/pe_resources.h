#pragma once
// A Windows executable's resources as a flat list, read from and written back into the image.
// Writing replaces the resource section: the sections after it (only the relocations may
// follow) move up, and every header field that describes the layout follows. The reader is in
// pe_resources.cpp, the writer in resource_writer.cpp.

#include <cstdint>
#include <map>
#include <string>
#include <utility>
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
  bool operator==(const Resource&) const = default;
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
// The alignments must be powers of two, the file's at most 64 KB and the sections' no smaller.
bool readLayout(const Bytes& file, PeLayout& layout, std::string& error);

// One section header.
struct Section {
  std::string name;
  std::uint32_t virtualSize, virtualAddress, rawSize, rawPointer, flags;
};
constexpr std::uint32_t kSectionHeaderSize = 40;
Section sectionAt(const Bytes& file, const PeLayout& layout, int index);
// The address a data directory entry holds (2 resources, 4 certificates, 5 relocations), 0 when absent.
std::uint32_t directoryRva(const Bytes& file, const PeLayout& layout, std::uint32_t index);
enum : std::uint32_t { kResourceDirectory = 2, kCertificateDirectory = 4, kRelocationDirectory = 5 };

// The index of the resource section, the one both the reader and the writer use: exactly one
// section starts at the resource directory's address, its data lies in the file after the
// headers, and every section before it ends, in the file and in memory, where it starts; every
// section after it starts after its end. Anything else is refused with `error` set.
bool resourceSection(const Bytes& file, const PeLayout& layout, int& index, std::string& error);

// All resources of the image, in the order of its resource directory. A directory or data entry
// reached twice, or overlapping another, is refused; so are resources whose data add up to more
// than the resource section holds, or whose type and name texts, repeated for each resource of
// the list, do (kNameBudget), so that what is read stays a small multiple of the file's size.
bool readResources(const Bytes& file, const PeLayout& layout, std::vector<Resource>& resources, std::string& error);

// Bytes of type and name text that a list of resources may hold for each byte of the resource
// section it was read from. The writer refuses a list that could not be read back.
constexpr std::uint64_t kNameBudget = 1;
std::uint64_t nameBytes(const Resource& resource);

// Puts resources in the order the writer writes them: named types first, by name, then numbered
// ones, by number; within a type its names likewise, then languages. The loader searches in that
// order.
void sortResources(std::vector<Resource>& resources);

// Replaces the image's resource section by one holding `resources`. Refused (false, `error`) for
// a signed image, one with data after its last section, one whose resource section is followed by
// anything but relocations or fails resourceSection, and one whose new layout would not fit the
// 32-bit fields of the format.
bool writeResources(Bytes& file, const PeLayout& layout, std::vector<Resource> resources, std::string& error);

// Where the parts of a new resource section go, in 64 bits: `end` above 0xFFFFFFFF cannot be
// written. The writer's first step, apart so that sizes past 4 GiB can be tried without the data:
// `dataSizes` holds the size of each resource's data, in the order of `resources`, which are
// sorted as the writer sorts them.
struct SectionPlan {
  std::vector<std::vector<std::vector<std::size_t>>> tree;  // type -> name -> resource indices
  std::map<std::u16string, std::uint64_t> nameOffsets;  // each type or name text once
  std::uint64_t entriesAt = 0, end = 0;
  std::vector<std::uint64_t> dataOffsets;
};
bool planResourceSection(const std::vector<Resource>& resources, const std::vector<std::uint64_t>& dataSizes,
                         SectionPlan& plan, std::string& error);

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
