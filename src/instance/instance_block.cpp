#include "instance/instance_block.h"

#include <algorithm>
#include <cstring>

namespace launcher {

namespace {

// The reader scans the area up to this offset of the block.
constexpr std::size_t kScanEnd = 2090;

char16_t unitAt(const SharedInstanceBlock& block, std::size_t offset) {
  const auto* bytes = reinterpret_cast<const unsigned char*>(&block);
  return static_cast<char16_t>(bytes[offset] | (bytes[offset + 1] << 8));
}

}  // namespace

std::u16string instanceNameFor(std::u16string_view modulePath) {
  std::u16string name;
  name.reserve(modulePath.size());
  for (char16_t c : modulePath) {
    if (c == u'\\') {
      name += u'_';
    } else if (c == u'_') {
      name += u"_*";
    } else {
      name += c;
    }
  }
  return name;
}

bool packArguments(const std::vector<std::u16string>& arguments, SharedInstanceBlock& block) {
  std::size_t size = 2;
  for (const std::u16string& argument : arguments) {
    size += argument.size() * 2 + 2;
    if (size > kMostPackedArgumentBytes) return false;
  }
  std::memset(block.argumentArea, 0, kMostPackedArgumentBytes);
  std::size_t offset = 0;
  for (const std::u16string& argument : arguments) {
    for (char16_t unit : argument) {
      block.argumentArea[offset++] = static_cast<unsigned char>(unit & 0xFF);
      block.argumentArea[offset++] = static_cast<unsigned char>(unit >> 8);
    }
    offset += 2;
  }
  return true;
}

std::vector<std::u16string> unpackArguments(const SharedInstanceBlock& block) {
  std::vector<std::u16string> arguments;
  std::u16string current;
  for (std::size_t offset = offsetof(SharedInstanceBlock, argumentArea); offset < kScanEnd; offset += 2) {
    const char16_t unit = unitAt(block, offset);
    if (unit != 0) {
      current += unit;
      continue;
    }
    // An empty argument ends the list; with none before it, it is the list.
    if (current.empty()) {
      if (arguments.empty()) arguments.push_back(current);
      break;
    }
    arguments.push_back(current);
    current.clear();
  }
  return arguments;
}

}  // namespace launcher
