// The headers, the resource section and the resource directory reader (the writer is in
// resource_writer.cpp).
#include "pe_resources.h"

#include <algorithm>
#include <iterator>
#include <map>

namespace brand {
namespace {

bool fits(const Bytes& b, std::uint64_t at, std::uint64_t size) { return at <= b.size() && size <= b.size() - at; }
bool powerOfTwo(std::uint32_t value) { return value != 0 && (value & (value - 1)) == 0; }
std::uint64_t memoryEnd(const Section& s) { return std::uint64_t(s.virtualAddress) + std::max(s.virtualSize, s.rawSize); }

// The file offset of `size` bytes at `rva`, or false when they do not lie within one section's data.
bool fileOffsetOf(const Bytes& file, const PeLayout& layout, std::uint32_t rva, std::uint32_t size, std::size_t& offset) {
  for (int i = 0; i < layout.sectionCount; ++i) {
    Section s = sectionAt(file, layout, i);
    std::uint64_t start = s.virtualAddress, end = start + std::min(s.virtualSize ? s.virtualSize : s.rawSize, s.rawSize);
    if (rva >= start && std::uint64_t(rva) + size <= end) {
      offset = s.rawPointer + (rva - s.virtualAddress);
      return fits(file, offset, size);
    }
  }
  return false;
}

// The resource directory reader; every offset is checked against the section before use, and
// every directory and data entry may be read once: a tree that reuses its parts would make a
// list far larger than the file.
struct DirectoryReader {
  const Bytes& file;
  std::size_t base;      // file offset of the resource section's start
  std::uint32_t length;  // the directory's size as its section holds it
  const PeLayout& layout;
  std::vector<Resource>& out;
  std::string fault;
  Resource current;                                 // the type and name of the entries being read
  std::map<std::uint32_t, std::uint32_t> claimed;  // start -> end of every directory and data entry read
  std::uint64_t dataBytes = 0, textBytes = 0;

  bool inside(std::uint32_t offset, std::uint32_t size) const { return offset <= length && size <= length - offset; }
  bool fail(const char* why) {
    fault = why;
    return false;
  }

  // Marks `size` bytes at `at` (inside the section) as read; false when any of them were.
  bool claim(std::uint32_t at, std::uint32_t size) {
    auto next = claimed.lower_bound(at);
    if (next != claimed.end() && next->first < at + size) return false;
    if (next != claimed.begin() && std::prev(next)->second > at) return false;
    claimed.emplace(at, at + size);
    return true;
  }

  bool readKey(std::uint32_t nameField, ResourceKey& key) {
    key.text.clear();
    key.id = 0;
    if (!(nameField & 0x80000000u)) {
      key.id = static_cast<std::uint16_t>(nameField);
      return true;
    }
    std::uint32_t at = nameField & 0x7FFFFFFFu;
    if (!inside(at, 2) || !inside(at + 2, 2 * get16(file, base + at))) return false;
    for (std::uint32_t i = 0; i < get16(file, base + at); ++i) key.text += char16_t(get16(file, base + at + 2 + 2 * i));
    return !key.text.empty();
  }

  bool read(std::uint32_t at, int level) {
    if (!inside(at, 16)) return fail("a directory lies outside the resource section");
    std::uint32_t count = get16(file, base + at + 12) + get16(file, base + at + 14);
    if (!inside(at + 16, count * 8)) return fail("a directory lies outside the resource section");
    if (!claim(at, 16 + count * 8)) return fail("a directory is reached twice or overlaps another");
    for (std::uint32_t i = 0; i < count; ++i) {
      std::size_t entry = base + at + 16 + i * 8;
      std::uint32_t nameField = get32(file, entry), target = get32(file, entry + 4);
      ResourceKey key;
      if (!readKey(nameField, key)) return fail("a name lies outside the resource section or is empty");
      bool isDirectory = target & 0x80000000u;
      if (level < 2) {
        (level == 0 ? current.type : current.name) = std::move(key);
        // Only the three levels of type, name and language are defined; a loop would never end.
        if (!isDirectory || (target & 0x7FFFFFFFu) <= at) return fail("an entry does not lead to a directory after its own");
        if (!read(target & 0x7FFFFFFFu, level + 1)) return false;
        continue;
      }
      if (isDirectory || !inside(target, 16)) return fail("a language entry does not lead to a data entry");
      if (!claim(target, 16)) return fail("a data entry is reached twice or overlaps a directory");
      std::uint32_t rva = get32(file, base + target), size = get32(file, base + target + 4);
      dataBytes += size;
      textBytes += nameBytes(current);
      if (dataBytes > length) return fail("the resources' data add up to more than the resource section holds");
      if (textBytes > kNameBudget * length) {
        return fail("the resources' type and name texts add up to more than the resource section holds");
      }
      std::size_t dataAt = 0;
      if (!fileOffsetOf(file, layout, rva, size, dataAt)) return fail("a resource's data lies outside every section");
      Resource& resource = out.emplace_back();
      resource.type = current.type;
      resource.name = current.name;
      resource.language = key.id;
      resource.codePage = get32(file, base + target + 8);
      resource.data.assign(file.begin() + dataAt, file.begin() + dataAt + size);
    }
    return true;
  }
};

}  // namespace

Section sectionAt(const Bytes& file, const PeLayout& layout, int index) {
  std::size_t at = layout.sectionTable + index * kSectionHeaderSize;
  std::string name(reinterpret_cast<const char*>(&file[at]), 8);
  name.resize(name.find('\0') == std::string::npos ? 8 : name.find('\0'));
  return {name, get32(file, at + 8), get32(file, at + 12), get32(file, at + 16), get32(file, at + 20), get32(file, at + 36)};
}

std::uint32_t directoryRva(const Bytes& file, const PeLayout& layout, std::uint32_t index) {
  return index < layout.dataDirectoryCount ? get32(file, layout.dataDirectories + index * 8) : 0;
}

std::uint64_t nameBytes(const Resource& resource) { return 2 * (resource.type.text.size() + resource.name.text.size()); }

bool readLayout(const Bytes& file, PeLayout& layout, std::string& error) {
  error = "not a Windows executable";
  if (!fits(file, 0, 64) || file[0] != 'M' || file[1] != 'Z') return false;
  layout.peOffset = get32(file, 60);
  if (!fits(file, layout.peOffset, 24) || get32(file, layout.peOffset) != 0x4550) return false;
  layout.machine = get16(file, layout.peOffset + 4);
  layout.sectionCount = get16(file, layout.peOffset + 6);
  std::uint32_t optionalSize = get16(file, layout.peOffset + 20);
  layout.optionalHeader = layout.peOffset + 24;
  layout.sectionTable = layout.optionalHeader + optionalSize;
  if (!fits(file, layout.optionalHeader, optionalSize) || optionalSize < 96 ||
      !fits(file, layout.sectionTable, std::uint64_t(layout.sectionCount) * kSectionHeaderSize)) {
    return false;
  }
  std::uint32_t magic = get16(file, layout.optionalHeader);
  if (magic != 0x10B && magic != 0x20B) return false;
  layout.is64 = magic == 0x20B;
  layout.sectionAlignment = get32(file, layout.optionalHeader + 32);
  layout.fileAlignment = get32(file, layout.optionalHeader + 36);
  layout.subsystem = get16(file, layout.optionalHeader + 68);
  std::uint32_t directories = layout.is64 ? 112 : 96;
  if (optionalSize < directories) return false;
  layout.dataDirectoryCount = std::min<std::uint32_t>(get32(file, layout.optionalHeader + directories - 4), (optionalSize - directories) / 8);
  layout.dataDirectories = layout.optionalHeader + directories;
  // The file alignment pads the rewritten section: a huge one would make a huge file.
  if (!powerOfTwo(layout.fileAlignment) || layout.fileAlignment > 0x10000 || !powerOfTwo(layout.sectionAlignment) ||
      layout.sectionAlignment < layout.fileAlignment || layout.sectionCount == 0) {
    return false;
  }
  error.clear();
  return true;
}

bool resourceSection(const Bytes& file, const PeLayout& layout, int& index, std::string& error) {
  std::uint32_t rva = directoryRva(file, layout, kResourceDirectory);
  if (rva == 0) {
    error = "the executable has no resources";
    return false;
  }
  int starting = 0;
  for (int i = 0; i < layout.sectionCount; ++i) {
    if (sectionAt(file, layout, i).virtualAddress == rva) {
      index = i;
      ++starting;
    }
  }
  if (starting != 1) {
    error = starting == 0 ? "the executable's resource directory does not start a section"
                          : std::to_string(starting) + " sections start at the resource directory's address";
    return false;
  }
  Section rsrc = sectionAt(file, layout, index);
  if (rsrc.rawSize == 0 || rsrc.rawPointer == 0 || !fits(file, rsrc.rawPointer, rsrc.rawSize)) {
    error = "the resource section's data lies outside the file";
    return false;
  }
  std::uint64_t headersEnd = std::max<std::uint64_t>(
      layout.sectionTable + std::uint64_t(layout.sectionCount) * kSectionHeaderSize, get32(file, layout.optionalHeader + 60));
  if (headersEnd > rsrc.rawPointer) {
    error = "the executable's headers reach into its resource section";
    return false;
  }
  const std::uint64_t rsrcFileEnd = std::uint64_t(rsrc.rawPointer) + rsrc.rawSize;
  for (int i = 0; i < layout.sectionCount; ++i) {
    Section s = sectionAt(file, layout, i);
    const std::uint64_t fileEnd = std::uint64_t(s.rawPointer) + s.rawSize;
    bool inOrder = i == index ||
                   (i < index ? (s.rawSize == 0 || fileEnd <= rsrc.rawPointer) && memoryEnd(s) <= rsrc.virtualAddress
                              : (s.rawSize == 0 || s.rawPointer >= rsrcFileEnd) && s.virtualAddress >= memoryEnd(rsrc));
    if (!inOrder) {
      error = "the section " + s.name +
              (i < index ? " does not end before the resources start" : " does not start after the resources end");
      return false;
    }
  }
  return true;
}

bool readResources(const Bytes& file, const PeLayout& layout, std::vector<Resource>& resources, std::string& error) {
  int index = 0;
  if (!resourceSection(file, layout, index, error)) return false;
  Section s = sectionAt(file, layout, index);
  DirectoryReader reader{file, s.rawPointer, std::min(s.rawSize, s.virtualSize ? s.virtualSize : s.rawSize), layout, resources, {}, {}, {}};
  if (reader.read(0, 0)) return true;
  error = "the executable's resource directory is damaged: " + reader.fault;
  return false;
}

std::uint32_t peChecksum(const Bytes& file, std::uint32_t checksumOffset) {
  std::uint64_t sum = 0;
  for (std::size_t i = 0; i < file.size(); i += 2) {
    if (i == checksumOffset || i == checksumOffset + 2) continue;
    sum += file[i] | (i + 1 < file.size() ? file[i + 1] << 8 : 0);
    sum = (sum & 0xFFFF) + (sum >> 16);
  }
  sum = (sum & 0xFFFF) + (sum >> 16);
  return static_cast<std::uint32_t>(sum + file.size());
}

}  // namespace brand
