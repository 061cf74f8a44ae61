#pragma once
// How one value is read from a settings file, apart from the Windows call that reads it.

#include <optional>
#include <string>
#include <string_view>

#include "base/env_expand.h"

namespace launcher {

constexpr size_t kFirstProfileBufferSize = 256;
// A longer value (a damaged or hostile file) is refused rather than growing the buffer until the
// process runs out of memory.
constexpr size_t kMaxProfileValueLength = kMaxSettingLength;

// Reads a value of unknown length with `read(buffer, size)`, which returns the length copied,
// as GetPrivateProfileStringW does. A result that fills the buffer to its last usable character
// may have been cut, so the read is repeated with twice the room until it fits. Nothing when the
// value is longer than kMaxProfileValueLength characters.
template <typename ReadFn>
std::optional<std::u16string> readGrowing(ReadFn read) {
  std::u16string buffer;
  for (size_t size = kFirstProfileBufferSize; size <= 2 * kMaxProfileValueLength; size *= 2) {
    buffer.assign(size, u'\0');
    size_t length = read(buffer.data(), size);
    if (length + 1 != size) {
      if (length > kMaxProfileValueLength) break;
      buffer.resize(length);
      return buffer;
    }
  }
  return std::nullopt;
}

// The value of a layered key: the value from the key's own section when there is one; otherwise
// the value from the section of the same name with "+" appended. For a key that holds a list of
// tokens (`tokenList`: VM options, extra arguments) that value is meant to be appended to what the
// system adds, so it is given one leading space unless it has one; any other key takes it as
// written, exactly as if it stood in the section itself.
std::u16string layeredValue(std::u16string_view ownValue, std::u16string_view plusValue, bool tokenList);
// The same over reads that may have failed: nothing when the value that counts could not be read.
std::optional<std::u16string> layeredRead(const std::optional<std::u16string>& ownValue,
                                          const std::optional<std::u16string>& plusValue, bool tokenList);

// The name of the section that layers over `section`.
std::u16string plusSectionName(std::u16string_view section);

}  // namespace launcher
