#include "pe_resources.h"

#include <algorithm>
#include <map>

namespace brand {
namespace {

constexpr std::uint32_t kResourceDirectory = 2;
constexpr std::uint32_t kCertificateDirectory = 4;
constexpr std::uint32_t kRelocationDirectory = 5;
constexpr std::uint32_t kSectionHeaderSize = 40;
// Initialised data, as the section flags say it.
constexpr std::uint32_t kInitializedData = 0x40;

std::uint32_t alignUp(std::uint32_t value, std::uint32_t alignment) { return (value + alignment - 1) / alignment * alignment; }
bool fits(const Bytes& b, std::uint64_t at, std::uint64_t size) { return at <= b.size() && size <= b.size() - at; }

struct Section {
  std::string name;
  std::uint32_t virtualSize, virtualAddress, rawSize, rawPointer, flags;
};

Section sectionAt(const Bytes& file, const PeLayout& layout, int index) {
  std::size_t at = layout.sectionTable + index * kSectionHeaderSize;
  std::string name(reinterpret_cast<const char*>(&file[at]), 8);
  name.resize(name.find('\0') == std::string::npos ? 8 : name.find('\0'));
  return {name, get32(file, at + 8), get32(file, at + 12), get32(file, at + 16), get32(file, at + 20), get32(file, at + 36)};
}

std::uint32_t directoryRva(const Bytes& file, const PeLayout& layout, std::uint32_t index) {
  return index < layout.dataDirectoryCount ? get32(file, layout.dataDirectories + index * 8) : 0;
}

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

// The resource directory reader; every offset is checked against the section before use.
struct DirectoryReader {
  const Bytes& file;
  std::size_t base;      // file offset of the resource section's start
  std::uint32_t length;  // the directory's size as its section holds it
  const PeLayout& layout;
  std::string& error;
  std::vector<Resource>& out;

  bool inside(std::uint32_t offset, std::uint32_t size) const { return offset <= length && size <= length - offset; }

  bool readKey(std::uint32_t nameField, ResourceKey& key) {
    if (!(nameField & 0x80000000u)) {
      key.id = static_cast<std::uint16_t>(nameField);
      return true;
    }
    std::uint32_t at = nameField & 0x7FFFFFFFu;
    if (!inside(at, 2) || !inside(at + 2, 2 * get16(file, base + at))) return false;
    for (std::uint32_t i = 0; i < get16(file, base + at); ++i) key.text += char16_t(get16(file, base + at + 2 + 2 * i));
    return !key.text.empty();
  }

  bool read(std::uint32_t at, int level, Resource& partial) {
    if (!inside(at, 16)) return false;
    std::uint32_t count = get16(file, base + at + 12) + get16(file, base + at + 14);
    if (!inside(at + 16, count * 8)) return false;
    for (std::uint32_t i = 0; i < count; ++i) {
      std::size_t entry = base + at + 16 + i * 8;
      std::uint32_t nameField = get32(file, entry), target = get32(file, entry + 4);
      Resource resource = partial;
      ResourceKey key;
      if (!readKey(nameField, key)) return false;
      if (level == 0) resource.type = key;
      if (level == 1) resource.name = key;
      if (level == 2) resource.language = key.id;
      bool isDirectory = target & 0x80000000u;
      if (level < 2) {
        // Only the three levels of type, name and language are defined; a loop would never end.
        if (!isDirectory || (target & 0x7FFFFFFFu) <= at || !read(target & 0x7FFFFFFFu, level + 1, resource)) return false;
        continue;
      }
      if (isDirectory || !inside(target, 16)) return false;
      std::uint32_t rva = get32(file, base + target), size = get32(file, base + target + 4);
      std::size_t dataAt = 0;
      if (!fileOffsetOf(file, layout, rva, size, dataAt)) return false;
      resource.codePage = get32(file, base + target + 8);
      resource.data.assign(file.begin() + dataAt, file.begin() + dataAt + size);
      out.push_back(std::move(resource));
    }
    return true;
  }
};

// Named entries come first, by name; then numbered ones, by number. The loader searches in
// that order.
bool keyLess(const ResourceKey& a, const ResourceKey& b) {
  if (a.text.empty() != b.text.empty()) return !a.text.empty();
  if (a.text.empty()) return a.id < b.id;
  return a.text < b.text;
}

// Lays out the resource section for `sectionRva`: the directories, the names, the data entries,
// then the data.
Bytes layoutResourceSection(const std::vector<Resource>& resources, std::uint32_t sectionRva) {
  // type -> name -> indices of resources (language order)
  std::vector<std::vector<std::vector<std::size_t>>> tree;
  for (std::size_t i = 0; i < resources.size(); ++i) {
    if (tree.empty() || !(resources[tree.back()[0][0]].type == resources[i].type)) tree.push_back({});
    auto& names = tree.back();
    if (names.empty() || !(resources[names.back()[0]].name == resources[i].name)) names.push_back({});
    names.back().push_back(i);
  }
  std::uint32_t directoriesSize = 16 + 8 * tree.size();
  for (auto& names : tree) {
    directoriesSize += 16 + 8 * names.size();
    for (auto& languages : names) directoriesSize += 16 + 8 * languages.size();
  }
  std::uint32_t namesAt = directoriesSize, namesSize = 0;
  std::map<std::u16string, std::uint32_t> nameOffsets;
  for (const Resource& r : resources) {
    for (const ResourceKey* key : {&r.type, &r.name}) {
      if (!key->text.empty() && !nameOffsets.count(key->text)) {
        nameOffsets[key->text] = namesAt + namesSize;
        namesSize += 2 + 2 * key->text.size();
      }
    }
  }
  std::uint32_t entriesAt = alignUp(namesAt + namesSize, 4);
  std::uint32_t dataAt = alignUp(entriesAt + 16 * resources.size(), 8);
  std::vector<std::uint32_t> dataOffsets;
  std::uint32_t end = dataAt;
  for (const Resource& r : resources) {
    dataOffsets.push_back(end);
    end = alignUp(end + r.data.size(), 8);
  }
  Bytes out(end, 0);
  for (auto& [text, offset] : nameOffsets) {
    put16(out, offset, text.size());
    for (std::size_t i = 0; i < text.size(); ++i) put16(out, offset + 2 + 2 * i, text[i]);
  }
  auto keyField = [&](const ResourceKey& key) {
    return key.text.empty() ? std::uint32_t(key.id) : (0x80000000u | nameOffsets[key.text]);
  };
  auto directoryHeader = [&](std::uint32_t at, const std::vector<ResourceKey>& keys) {
    std::uint32_t named = std::count_if(keys.begin(), keys.end(), [](const ResourceKey& k) { return !k.text.empty(); });
    put16(out, at + 12, named);
    put16(out, at + 14, keys.size() - named);
  };
  std::uint32_t next = 16 + 8 * tree.size();
  std::vector<ResourceKey> typeKeys;
  for (auto& names : tree) typeKeys.push_back(resources[names[0][0]].type);
  directoryHeader(0, typeKeys);
  for (std::size_t t = 0; t < tree.size(); ++t) {
    std::uint32_t nameDirectory = next;
    put32(out, 16 + 8 * t, keyField(typeKeys[t]));
    put32(out, 16 + 8 * t + 4, 0x80000000u | nameDirectory);
    next += 16 + 8 * tree[t].size();
    std::vector<ResourceKey> nameKeys;
    for (auto& languages : tree[t]) nameKeys.push_back(resources[languages[0]].name);
    directoryHeader(nameDirectory, nameKeys);
    for (std::size_t n = 0; n < tree[t].size(); ++n) {
      std::uint32_t languageDirectory = next;
      put32(out, nameDirectory + 16 + 8 * n, keyField(nameKeys[n]));
      put32(out, nameDirectory + 16 + 8 * n + 4, 0x80000000u | languageDirectory);
      next += 16 + 8 * tree[t][n].size();
      put16(out, languageDirectory + 14, tree[t][n].size());
      for (std::size_t l = 0; l < tree[t][n].size(); ++l) {
        std::size_t index = tree[t][n][l];
        put32(out, languageDirectory + 16 + 8 * l, resources[index].language);
        put32(out, languageDirectory + 16 + 8 * l + 4, entriesAt + 16 * index);
      }
    }
  }
  for (std::size_t i = 0; i < resources.size(); ++i) {
    put32(out, entriesAt + 16 * i, sectionRva + dataOffsets[i]);
    put32(out, entriesAt + 16 * i + 4, resources[i].data.size());
    put32(out, entriesAt + 16 * i + 8, resources[i].codePage);
    std::copy(resources[i].data.begin(), resources[i].data.end(), out.begin() + dataOffsets[i]);
  }
  return out;
}

}  // namespace

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
  if (layout.sectionAlignment == 0 || layout.fileAlignment == 0 || layout.sectionCount == 0) return false;
  error.clear();
  return true;
}

bool readResources(const Bytes& file, const PeLayout& layout, std::vector<Resource>& resources, std::string& error) {
  std::uint32_t rva = directoryRva(file, layout, kResourceDirectory);
  std::size_t base = 0;
  if (rva == 0) {
    error = "the executable has no resources";
    return false;
  }
  for (int i = 0; i < layout.sectionCount; ++i) {
    Section s = sectionAt(file, layout, i);
    if (s.virtualAddress == rva && fits(file, s.rawPointer, s.rawSize)) {
      base = s.rawPointer;
      Resource root;
      DirectoryReader reader{file, base, std::min(s.rawSize, s.virtualSize ? s.virtualSize : s.rawSize), layout, error, resources};
      if (reader.read(0, 0, root)) return true;
      break;
    }
  }
  error = "the executable's resource directory is damaged";
  return false;
}

bool writeResources(Bytes& file, const PeLayout& layout, std::vector<Resource> resources, std::string& error) {
  if (directoryRva(file, layout, kCertificateDirectory) != 0) {
    error = "the executable is signed; brand the unsigned file, then sign the result";
    return false;
  }
  std::uint32_t rva = directoryRva(file, layout, kResourceDirectory);
  int first = -1;
  std::uint64_t end = 0;
  for (int i = 0; i < layout.sectionCount; ++i) {
    Section s = sectionAt(file, layout, i);
    if (s.virtualAddress == rva) first = i;
    end = std::max<std::uint64_t>(end, s.rawPointer + std::uint64_t(s.rawSize));
  }
  if (first < 0) {
    error = "the executable's resource directory does not start a section";
    return false;
  }
  if (end != file.size()) {
    error = "the executable has data after its last section (a signature or an attachment), which branding would lose";
    return false;
  }
  // Sections after the resources move; only relocations can, as nothing but their directory
  // entry points at them.
  for (int i = first + 1; i < layout.sectionCount; ++i) {
    Section s = sectionAt(file, layout, i);
    for (std::uint32_t d = 0; d < layout.dataDirectoryCount; ++d) {
      std::uint32_t at = directoryRva(file, layout, d);
      if (d == kRelocationDirectory || d == kCertificateDirectory || at == 0) continue;
      if (at >= s.virtualAddress && at < s.virtualAddress + std::max(s.virtualSize, s.rawSize)) {
        error = "the section " + s.name + " after the resources cannot be moved";
        return false;
      }
    }
    if (s.name != ".reloc") {
      error = "the section " + s.name + " after the resources cannot be moved";
      return false;
    }
  }
  std::stable_sort(resources.begin(), resources.end(), [](const Resource& a, const Resource& b) {
    if (!(a.type == b.type)) return keyLess(a.type, b.type);
    if (!(a.name == b.name)) return keyLess(a.name, b.name);
    return a.language < b.language;
  });
  Section rsrc = sectionAt(file, layout, first);
  Bytes section = layoutResourceSection(resources, rsrc.virtualAddress);
  const std::uint32_t usedSize = static_cast<std::uint32_t>(section.size());
  const std::uint32_t rawSize = alignUp(usedSize, layout.fileAlignment);
  section.resize(rawSize, 0);
  Bytes out(file.begin(), file.begin() + rsrc.rawPointer);
  out.insert(out.end(), section.begin(), section.end());
  std::size_t header = layout.sectionTable + first * kSectionHeaderSize;
  put32(out, header + 8, usedSize);
  put32(out, header + 16, rawSize);
  std::int64_t initializedGrowth = std::int64_t(rawSize) - rsrc.rawSize;
  std::uint32_t nextRva = alignUp(rsrc.virtualAddress + usedSize, layout.sectionAlignment);
  for (int i = first + 1; i < layout.sectionCount; ++i) {
    Section s = sectionAt(file, layout, i);
    std::size_t at = layout.sectionTable + i * kSectionHeaderSize;
    if (s.rawPointer != 0) {
      put32(out, at + 20, out.size());
      out.insert(out.end(), file.begin() + s.rawPointer, file.begin() + s.rawPointer + s.rawSize);
    }
    put32(out, at + 12, nextRva);
    std::uint32_t relocations = directoryRva(file, layout, kRelocationDirectory);
    if (relocations >= s.virtualAddress && relocations < s.virtualAddress + std::max(s.virtualSize, s.rawSize)) {
      put32(out, layout.dataDirectories + kRelocationDirectory * 8, relocations - s.virtualAddress + nextRva);
    }
    nextRva = alignUp(nextRva + std::max(s.virtualSize, s.rawSize), layout.sectionAlignment);
  }
  put32(out, layout.dataDirectories + kResourceDirectory * 8 + 4, usedSize);
  put32(out, layout.optionalHeader + 56, nextRva);  // SizeOfImage
  if (rsrc.flags & kInitializedData) {
    put32(out, layout.optionalHeader + 8, static_cast<std::uint32_t>(get32(out, layout.optionalHeader + 8) + initializedGrowth));
  }
  // A checksum the linker set is one a loader or driver signing may check; zero means none.
  if (get32(out, layout.optionalHeader + 64) != 0) put32(out, layout.optionalHeader + 64, peChecksum(out, layout.optionalHeader + 64));
  file = std::move(out);
  return true;
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
