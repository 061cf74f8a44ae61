#pragma once
// How one value is read from a settings file, apart from the Windows call that reads it.

#include <string>
#include <string_view>

namespace launcher {

constexpr size_t kFirstProfileBufferSize = 256;

// Reads a value of unknown length with `read(buffer, size)`, which returns the length copied,
// as GetPrivateProfileStringW does. A result that fills the buffer to its last usable character
// may have been cut, so the read is repeated with twice the room until it fits.
template <typename ReadFn>
std::u16string readGrowing(ReadFn read) {
  std::u16string buffer;
  for (size_t size = kFirstProfileBufferSize;; size *= 2) {
    buffer.assign(size, u'\0');
    size_t length = read(buffer.data(), size);
    if (length + 1 != size) {
      buffer.resize(length);
      return buffer;
    }
  }
}

// The value of a layered key: the value from the key's own section when there is one; otherwise
// the value from the section of the same name with "+" appended, which is meant to be appended to
// what the system adds, so it is given one leading space unless it has one.
std::u16string layeredValue(std::u16string_view ownValue, std::u16string_view plusValue);

// The name of the section that layers over `section`.
std::u16string plusSectionName(std::u16string_view section);

}  // namespace launcher
