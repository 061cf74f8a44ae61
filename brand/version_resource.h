#pragma once
// The version information resource (VS_VERSION_INFO) as a tree of blocks, read and written.

#include <cstdint>
#include <string>
#include <vector>

#include "pe_resources.h"

namespace brand {

// One block of the version information: a length, a value, a key and the blocks inside it.
struct VersionBlock {
  std::u16string key;
  std::uint16_t type = 1;         // 1 text, 0 binary
  std::uint16_t valueLength = 0;  // in characters for text, bytes for binary
  Bytes value;
  std::vector<VersionBlock> children;
  bool operator==(const VersionBlock&) const = default;
};

// How deep blocks nest: VS_VERSION_INFO, StringFileInfo, a string table, a string.
constexpr int kVersionDepth = 4;

// Reads the root block at the start of `data`; false when a block's length leaves its parent or
// the blocks nest deeper than kVersionDepth. A value cut short by its block is kept as it is.
bool parseVersion(const Bytes& data, VersionBlock& root);

// Writes `root` into `out`; false, with `error` set, when a block would be longer than its 16-bit
// length field can say, or has blocks inside after a value shorter than its length says: nothing
// is cut short, or swallowed, into a damaged resource.
bool writeVersion(const VersionBlock& root, Bytes& out, std::string& error);

void add16(Bytes& b, std::uint32_t v);

}  // namespace brand
