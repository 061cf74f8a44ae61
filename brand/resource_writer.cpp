// The resource section writer: lays out a new section for a list of resources and puts it in
// the image in place of the old one. Every size and address is computed in 64 bits and refused
// when the format's 32-bit (or, for counts and texts, 16-bit) fields could not hold it.
#include <algorithm>

#include "pe_resources.h"

namespace brand {
namespace {

constexpr std::uint64_t kMax32 = 0xFFFFFFFFu;
// Initialised data, as the section flags say it.
constexpr std::uint32_t kInitializedData = 0x40;

std::uint64_t alignUp(std::uint64_t value, std::uint64_t alignment) { return (value + alignment - 1) / alignment * alignment; }
std::uint64_t memoryEnd(const Section& s) { return std::uint64_t(s.virtualAddress) + std::max(s.virtualSize, s.rawSize); }

bool keyLess(const ResourceKey& a, const ResourceKey& b) {
  if (a.text.empty() != b.text.empty()) return !a.text.empty();
  if (a.text.empty()) return a.id < b.id;
  return a.text < b.text;
}

// A directory counts its named and its numbered entries in two 16-bit fields.
bool countsFit(const std::vector<ResourceKey>& keys) {
  std::size_t named = std::count_if(keys.begin(), keys.end(), [](const ResourceKey& k) { return !k.text.empty(); });
  return named <= 0xFFFF && keys.size() - named <= 0xFFFF;
}

// Writes the section that `plan` describes for `sectionRva`: the directories, the names, the
// data entries, then the data. The plan's end fits in 32 bits, and so does every offset in it.
Bytes layoutResourceSection(const std::vector<Resource>& resources, const SectionPlan& plan, std::uint32_t sectionRva) {
  const auto& tree = plan.tree;
  Bytes out(plan.end, 0);
  for (auto& [text, offset] : plan.nameOffsets) {
    put16(out, offset, text.size());
    for (std::size_t i = 0; i < text.size(); ++i) put16(out, offset + 2 + 2 * i, text[i]);
  }
  auto keyField = [&](const ResourceKey& key) {
    return key.text.empty() ? std::uint32_t(key.id) : (0x80000000u | std::uint32_t(plan.nameOffsets.at(key.text)));
  };
  auto directoryHeader = [&](std::uint32_t at, const std::vector<ResourceKey>& keys) {
    std::uint32_t named = std::count_if(keys.begin(), keys.end(), [](const ResourceKey& k) { return !k.text.empty(); });
    put16(out, at + 12, named);
    put16(out, at + 14, keys.size() - named);
  };
  const std::uint32_t entriesAt = plan.entriesAt;
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
    put32(out, entriesAt + 16 * i, sectionRva + plan.dataOffsets[i]);
    put32(out, entriesAt + 16 * i + 4, resources[i].data.size());
    put32(out, entriesAt + 16 * i + 8, resources[i].codePage);
    std::copy(resources[i].data.begin(), resources[i].data.end(), out.begin() + plan.dataOffsets[i]);
  }
  return out;
}

}  // namespace

bool planResourceSection(const std::vector<Resource>& resources, const std::vector<std::uint64_t>& dataSizes,
                         SectionPlan& plan, std::string& error) {
  plan = {};
  auto& tree = plan.tree;
  for (std::size_t i = 0; i < resources.size(); ++i) {
    if (tree.empty() || !(resources[tree.back()[0][0]].type == resources[i].type)) tree.push_back({});
    auto& names = tree.back();
    if (names.empty() || !(resources[names.back()[0]].name == resources[i].name)) names.push_back({});
    names.back().push_back(i);
  }
  std::vector<ResourceKey> typeKeys;
  std::uint64_t directoriesSize = 16 + 8 * tree.size();
  bool fit = true;
  for (auto& names : tree) {
    typeKeys.push_back(resources[names[0][0]].type);
    directoriesSize += 16 + 8 * names.size();
    std::vector<ResourceKey> nameKeys;
    for (auto& languages : names) {
      nameKeys.push_back(resources[languages[0]].name);
      directoriesSize += 16 + 8 * languages.size();
      fit = fit && languages.size() <= 0xFFFF;
    }
    fit = fit && countsFit(nameKeys);
  }
  if (!fit || !countsFit(typeKeys)) {
    error = "a resource directory would have more than 65535 entries of one kind";
    return false;
  }
  std::uint64_t namesEnd = directoriesSize;
  for (const Resource& r : resources) {
    for (const ResourceKey* key : {&r.type, &r.name}) {
      if (key->text.size() > 0xFFFF) {
        error = "a resource type or name is longer than 65535 characters";
        return false;
      }
      if (!key->text.empty() && !plan.nameOffsets.count(key->text)) {
        plan.nameOffsets[key->text] = namesEnd;
        namesEnd += 2 + 2 * key->text.size();
      }
    }
  }
  plan.entriesAt = alignUp(namesEnd, 4);
  plan.end = alignUp(plan.entriesAt + 16 * resources.size(), 8);
  for (std::size_t i = 0; i < resources.size() && plan.end <= kMax32; ++i) {
    plan.dataOffsets.push_back(plan.end);
    plan.end = alignUp(plan.end + dataSizes[i], 8);
  }
  if (plan.end > kMax32) {
    error = "the resources would make a resource section larger than the 4 GiB the format can describe";
    return false;
  }
  return true;
}

void sortResources(std::vector<Resource>& resources) {
  std::stable_sort(resources.begin(), resources.end(), [](const Resource& a, const Resource& b) {
    if (!(a.type == b.type)) return keyLess(a.type, b.type);
    if (!(a.name == b.name)) return keyLess(a.name, b.name);
    return a.language < b.language;
  });
}

bool writeResources(Bytes& file, const PeLayout& layout, std::vector<Resource> resources, std::string& error) {
  if (directoryRva(file, layout, kCertificateDirectory) != 0) {
    error = "the executable is signed; brand the unsigned file, then sign the result";
    return false;
  }
  int first = 0;
  if (!resourceSection(file, layout, first, error)) return false;
  std::uint64_t end = 0;
  for (int i = 0; i < layout.sectionCount; ++i) {
    Section s = sectionAt(file, layout, i);
    end = std::max<std::uint64_t>(end, s.rawPointer + std::uint64_t(s.rawSize));
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
      if (at >= s.virtualAddress && at < memoryEnd(s)) {
        error = "the section " + s.name + " after the resources cannot be moved";
        return false;
      }
    }
    if (s.name != ".reloc") {
      error = "the section " + s.name + " after the resources cannot be moved";
      return false;
    }
  }
  sortResources(resources);
  std::vector<std::uint64_t> dataSizes;
  std::uint64_t textBytes = 0;
  for (const Resource& r : resources) {
    dataSizes.push_back(r.data.size());
    textBytes += nameBytes(r);
  }
  SectionPlan plan;
  if (!planResourceSection(resources, dataSizes, plan, error)) return false;
  if (textBytes > kNameBudget * plan.end) {
    error = "the resources' type and name texts are too long for their section to be read back";
    return false;
  }
  // The new layout of the image, in 64 bits: the resource section, then each section after it.
  Section rsrc = sectionAt(file, layout, first);
  const std::uint64_t usedSize = plan.end, rawSize = alignUp(usedSize, layout.fileAlignment);
  std::uint64_t fileSize = rsrc.rawPointer + rawSize;
  // The next section starts after the new one's memory, which is the larger of its sizes.
  std::uint64_t nextRva = alignUp(rsrc.virtualAddress + rawSize, layout.sectionAlignment);
  std::vector<std::uint64_t> rawPointers, addresses;
  for (int i = first + 1; i < layout.sectionCount; ++i) {
    Section s = sectionAt(file, layout, i);
    rawPointers.push_back(fileSize);
    if (s.rawPointer != 0) fileSize += s.rawSize;
    addresses.push_back(nextRva);
    nextRva = alignUp(nextRva + std::max(s.virtualSize, s.rawSize), layout.sectionAlignment);
  }
  if (rawSize > kMax32 || fileSize > kMax32 || nextRva > kMax32) {
    error = "the branded executable would be larger than the 4 GiB its headers can describe";
    return false;
  }
  Bytes section = layoutResourceSection(resources, plan, rsrc.virtualAddress);
  section.resize(rawSize, 0);
  Bytes out(file.begin(), file.begin() + rsrc.rawPointer);
  out.insert(out.end(), section.begin(), section.end());
  std::size_t header = layout.sectionTable + first * kSectionHeaderSize;
  put32(out, header + 8, usedSize);
  put32(out, header + 16, rawSize);
  std::int64_t initializedGrowth = std::int64_t(rawSize) - rsrc.rawSize;
  const std::uint32_t relocations = directoryRva(file, layout, kRelocationDirectory);
  for (int i = first + 1; i < layout.sectionCount; ++i) {
    Section s = sectionAt(file, layout, i);
    std::size_t at = layout.sectionTable + i * kSectionHeaderSize;
    std::uint32_t address = addresses[i - first - 1];
    if (s.rawPointer != 0) {
      put32(out, at + 20, rawPointers[i - first - 1]);
      out.insert(out.end(), file.begin() + s.rawPointer, file.begin() + s.rawPointer + s.rawSize);
    }
    put32(out, at + 12, address);
    if (relocations != 0 && relocations >= s.virtualAddress && relocations < memoryEnd(s)) {
      put32(out, layout.dataDirectories + kRelocationDirectory * 8, relocations - s.virtualAddress + address);
    }
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

}  // namespace brand
