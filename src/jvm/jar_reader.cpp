#include "jvm/jar_reader.h"

#include <algorithm>
#include <cstdint>

namespace launcher {
namespace {

constexpr std::uint32_t kEndOfDirectory = 0x06054b50;
constexpr std::uint32_t kDirectoryEntry = 0x02014b50;
constexpr std::uint32_t kLocalHeader = 0x04034b50;

// Little-endian numbers at `at`; 0 past the end, which no signature or check accepts.
std::uint32_t number(std::string_view bytes, size_t at, int width) {
  if (at > bytes.size() || bytes.size() - at < static_cast<size_t>(width)) return 0;
  std::uint32_t value = 0;
  for (int i = width - 1; i >= 0; --i) value = value << 8 | static_cast<std::uint8_t>(bytes[at + i]);
  return value;
}

char lowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }

// The bits of a deflate stream, least significant first. Reading past the end gives zeros and
// sets `over`, which ends the stream as damaged.
struct BitReader {
  std::string_view in;
  size_t pos = 0;
  std::uint32_t buffer = 0;
  int count = 0;
  bool over = false;

  unsigned take(int bits) {
    while (count < bits) {
      if (pos >= in.size()) {
        over = true;
        return 0;
      }
      buffer |= static_cast<std::uint32_t>(static_cast<std::uint8_t>(in[pos++])) << count;
      count += 8;
    }
    const unsigned value = buffer & ((1u << bits) - 1);
    buffer >>= bits;
    count -= bits;
    return value;
  }
};

// A canonical Huffman code: how many codes of each length, and the symbols in code order.
struct Huffman {
  std::uint16_t count[16];
  std::uint16_t symbol[288];
};

// False for lengths that give more codes than the bits allow.
bool buildHuffman(Huffman& code, const std::uint8_t* lengths, int symbols) {
  std::uint16_t offset[16] = {};
  for (auto& c : code.count) c = 0;
  for (int s = 0; s < symbols; ++s) ++code.count[lengths[s]];
  code.count[0] = 0;
  int left = 1;
  for (int length = 1; length < 16; ++length) {
    left = (left << 1) - code.count[length];
    if (left < 0) return false;
    offset[length] = static_cast<std::uint16_t>(offset[length - 1] + code.count[length - 1]);
  }
  for (int s = 0; s < symbols; ++s) {
    if (lengths[s] != 0) code.symbol[offset[lengths[s]]++] = static_cast<std::uint16_t>(s);
  }
  return true;
}

// The next symbol, or -1 for a code the table lacks or a stream that ended.
int decode(BitReader& bits, const Huffman& code) {
  int value = 0, first = 0, index = 0;
  for (int length = 1; length < 16; ++length) {
    value |= static_cast<int>(bits.take(1));
    const int count = code.count[length];
    if (value - first < count) return bits.over ? -1 : code.symbol[index + value - first];
    index += count;
    first = (first + count) << 1;
    value <<= 1;
  }
  return -1;
}

// The extra bits of length symbol 257 + `index` and of distance symbol `index`; the bases follow
// from them (RFC 1951, 3.2.5), so no tables are kept.
int lengthExtra(int index) { return index < 8 || index == 28 ? 0 : (index - 4) / 4; }
int distanceExtra(int index) { return index < 4 ? 0 : (index >> 1) - 1; }

constexpr std::uint8_t kCodeLengthOrder[] = {16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15};

// The literal/length and distance codes of a block with its own codes; false when they are damaged.
bool readDynamicCodes(BitReader& bits, Huffman& literals, Huffman& distances) {
  const int literalCount = static_cast<int>(bits.take(5)) + 257;
  const int distanceCount = static_cast<int>(bits.take(5)) + 1;
  const int lengthCodes = static_cast<int>(bits.take(4)) + 4;
  std::uint8_t lengths[320] = {};
  for (int i = 0; i < lengthCodes; ++i) lengths[kCodeLengthOrder[i]] = static_cast<std::uint8_t>(bits.take(3));
  Huffman lengthCode;
  if (literalCount > 286 || distanceCount > 30 || !buildHuffman(lengthCode, lengths, 19)) return false;
  for (int i = 0; i < 19; ++i) lengths[i] = 0;
  for (int i = 0; i < literalCount + distanceCount;) {
    const int symbol = decode(bits, lengthCode);
    if (symbol < 0) return false;
    if (symbol < 16) {
      lengths[i++] = static_cast<std::uint8_t>(symbol);
      continue;
    }
    if (symbol == 16 && i == 0) return false;
    const std::uint8_t repeated = symbol == 16 ? lengths[i - 1] : 0;
    const int times = symbol == 16 ? 3 + static_cast<int>(bits.take(2))
                      : symbol == 17 ? 3 + static_cast<int>(bits.take(3))
                                     : 11 + static_cast<int>(bits.take(7));
    if (i + times > literalCount + distanceCount) return false;
    for (int k = 0; k < times; ++k) lengths[i++] = repeated;
  }
  return lengths[256] != 0 && buildHuffman(literals, lengths, literalCount) &&
         buildHuffman(distances, lengths + literalCount, distanceCount);
}

}  // namespace

std::optional<std::string> inflateExactly(std::string_view deflated, size_t size) {
  // Written in place up to the size the archive records, which the caller has bounded.
  std::string out(size, '\0');
  size_t produced = 0;
  BitReader bits{deflated};
  bool last = false;
  while (!last) {
    last = bits.take(1) != 0;
    const unsigned type = bits.take(2);
    if (type == 0) {
      // A stored block starts at the next byte; the reader never holds a whole byte ahead.
      bits.buffer = 0;
      bits.count = 0;
      const std::uint32_t length = number(deflated, bits.pos, 2);
      if (bits.pos > deflated.size() || deflated.size() - bits.pos < 4 + static_cast<size_t>(length) ||
          number(deflated, bits.pos + 2, 2) != (~length & 0xFFFF) || length > size - produced) {
        return std::nullopt;
      }
      for (std::uint32_t i = 0; i < length; ++i) out[produced++] = deflated[bits.pos + 4 + i];
      bits.pos += 4 + length;
      continue;
    }
    Huffman literals, distances;
    if (type == 1) {
      std::uint8_t lengths[318];
      for (int s = 0; s < 318; ++s) lengths[s] = s < 144 ? 8 : s < 256 ? 9 : s < 280 ? 7 : s < 288 ? 8 : 5;
      buildHuffman(literals, lengths, 288);
      buildHuffman(distances, lengths + 288, 30);
    } else if (type != 2 || !readDynamicCodes(bits, literals, distances)) {
      return std::nullopt;
    }
    for (int symbol = decode(bits, literals); symbol != 256; symbol = decode(bits, literals)) {
      if (symbol < 0 || symbol > 285 || produced >= size) return std::nullopt;
      if (symbol < 256) {
        out[produced++] = static_cast<char>(symbol);
        continue;
      }
      size_t length = 3, distance = 1;
      for (int k = 0; k < symbol - 257; ++k) length += size_t{1} << lengthExtra(k);
      if (symbol == 285) length = 258;
      length += bits.take(lengthExtra(symbol - 257));
      const int distanceSymbol = decode(bits, distances);
      if (distanceSymbol < 0 || distanceSymbol > 29) return std::nullopt;
      for (int k = 0; k < distanceSymbol; ++k) distance += size_t{1} << distanceExtra(k);
      distance += bits.take(distanceExtra(distanceSymbol));
      if (bits.over || distance > produced || length > size - produced) return std::nullopt;
      for (size_t i = 0; i < length; ++i, ++produced) out[produced] = out[produced - distance];
    }
  }
  if (bits.over || produced != size) return std::nullopt;
  return out;
}

std::optional<std::string> jarEntry(std::string_view jar, std::string_view name, size_t maxSize) {
  // The end record lies within the last 22 bytes plus the longest archive comment.
  if (jar.size() < 22) return std::nullopt;
  size_t end = jar.size() - 22;
  const size_t lowest = end > 0xFFFF ? end - 0xFFFF : 0;
  while (number(jar, end, 4) != kEndOfDirectory) {
    if (end == lowest) return std::nullopt;
    --end;
  }
  size_t at = number(jar, end + 16, 4);
  for (std::uint32_t entries = number(jar, end + 10, 2); entries > 0; --entries) {
    if (number(jar, at, 4) != kDirectoryEntry) return std::nullopt;
    const std::uint32_t nameLength = number(jar, at + 28, 2);
    const size_t next = at + 46 + nameLength + number(jar, at + 30, 2) + number(jar, at + 32, 2);
    if (next > jar.size()) return std::nullopt;
    if (jar.substr(at + 46, nameLength) != name) {
      at = next;
      continue;
    }
    const std::uint32_t flags = number(jar, at + 8, 2);
    const std::uint32_t method = number(jar, at + 10, 2);
    const std::uint32_t stored = number(jar, at + 20, 4);
    const std::uint32_t size = number(jar, at + 24, 4);
    const size_t local = number(jar, at + 42, 4);
    if ((flags & 1) != 0 || size > maxSize || number(jar, local, 4) != kLocalHeader) return std::nullopt;
    const size_t data = local + 30 + number(jar, local + 26, 2) + number(jar, local + 28, 2);
    if (data > jar.size() || jar.size() - data < stored) return std::nullopt;
    const std::string_view bytes = jar.substr(data, stored);
    if (method == 0 && stored == size) return std::string(bytes);
    if (method == 8) return inflateExactly(bytes, size);
    return std::nullopt;
  }
  return std::nullopt;
}

std::string manifestValue(std::string_view manifest, std::string_view name) {
  // Line by line, "\r\n", "\r" or "\n" ending each; the main section ends at an empty line.
  std::string value;
  bool found = false;
  size_t at = 0;
  while (at < manifest.size()) {
    size_t end = at;
    while (end < manifest.size() && manifest[end] != '\r' && manifest[end] != '\n') ++end;
    const char* line = manifest.data() + at;
    const size_t length = end - at;
    at = end + (end + 1 < manifest.size() && manifest[end] == '\r' && manifest[end + 1] == '\n' ? 2 : 1);
    if (length == 0 || (found && line[0] != ' ')) break;
    if (found) {
      value.append(line + 1, length - 1);
      continue;
    }
    if (length < name.size() + 2 || line[name.size()] != ':' || line[name.size() + 1] != ' ') continue;
    found = true;
    for (size_t i = 0; i < name.size(); ++i) found = found && lowerAscii(line[i]) == lowerAscii(name[i]);
    if (found) value.assign(line + name.size() + 2, length - name.size() - 2);
  }
  return value;
}

}  // namespace launcher
