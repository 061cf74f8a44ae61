#pragma once
// The text of a registry string value, from the bytes RegQueryValueExW returns. Installers do
// not always write what the value's type promises: the data may lack its NUL, hold several
// strings, or have an odd length, so nothing about its shape is assumed.

#include <span>
#include <string>

namespace launcher {

// `data` read as UTF-16 code units in the registry's little-endian order, up to the first NUL or
// the end; an odd last byte is no whole code unit and is dropped.
std::u16string stringFromRegistryData(std::span<const unsigned char> data);

}  // namespace launcher
