#include "version_resource.h"

#include <algorithm>

namespace brand {
namespace {

void pad4(Bytes& b) { b.resize((b.size() + 3) & ~std::size_t(3), 0); }
std::size_t align4(std::size_t at) { return (at + 3) & ~std::size_t(3); }

bool parseBlock(const Bytes& data, std::size_t at, std::size_t limit, int depth, VersionBlock& block) {
  if (depth > kVersionDepth || at + 6 > limit) return false;
  std::size_t length = get16(data, at);
  if (length < 6 || at + length > limit) return false;
  std::size_t end = at + length;
  block.valueLength = get16(data, at + 2);
  block.type = get16(data, at + 4);
  std::size_t p = at + 6;
  for (; p + 1 < end && get16(data, p) != 0; p += 2) block.key += char16_t(get16(data, p));
  p = align4(p + 2);
  std::size_t valueBytes = block.type == 1 ? 2 * block.valueLength : block.valueLength;
  if (p + valueBytes > end) valueBytes = p < end ? end - p : 0;
  block.value.assign(data.begin() + std::min(p, end), data.begin() + std::min(p, end) + valueBytes);
  for (p = align4(p + valueBytes); p < end; p = align4(p)) {
    VersionBlock child;
    if (!parseBlock(data, p, end, depth + 1, child)) return false;
    p += get16(data, p);
    block.children.push_back(std::move(child));
  }
  return true;
}

bool writeBlock(Bytes& out, const VersionBlock& block, std::string& error) {
  // A value cut short by its block was read to the block's end; blocks put after it would be read
  // as part of it.
  std::size_t declared = block.type == 1 ? 2 * std::size_t(block.valueLength) : block.valueLength;
  if (!block.children.empty() && block.value.size() != declared) {
    error = "the version information is damaged: a block with blocks inside has a value shorter than its length";
    return false;
  }
  pad4(out);
  std::size_t start = out.size();
  add16(out, 0);
  add16(out, block.valueLength);
  add16(out, block.type);
  for (char16_t c : block.key) add16(out, c);
  add16(out, 0);
  pad4(out);
  out.insert(out.end(), block.value.begin(), block.value.end());
  for (const VersionBlock& child : block.children) {
    if (!writeBlock(out, child, error)) return false;
  }
  if (out.size() - start > 0xFFFF) {
    error = "the version information would be longer than the 65535 bytes its length field can say; shorten the values";
    return false;
  }
  put16(out, start, out.size() - start);
  return true;
}

}  // namespace

void add16(Bytes& b, std::uint32_t v) {
  b.push_back(static_cast<std::uint8_t>(v));
  b.push_back(static_cast<std::uint8_t>(v >> 8));
}

bool parseVersion(const Bytes& data, VersionBlock& root) {
  root = {};
  return parseBlock(data, 0, data.size(), 1, root);
}

bool writeVersion(const VersionBlock& root, Bytes& out, std::string& error) {
  out.clear();
  return writeBlock(out, root, error);
}

}  // namespace brand
