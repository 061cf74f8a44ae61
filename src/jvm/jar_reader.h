#pragma once
// What the launcher reads of an executable jar itself, before the VM exists: the splash image its
// manifest names, which must be on screen while the runtime loads. Everything else of the jar
// the runtime reads. A jar is a zip archive whose entries are stored or deflated (RFC 1951);
// every size and offset is checked against the bytes held, and an entry larger than the caller
// allows is not read at all. Archives of the 64-bit zip format and encrypted entries count as
// unreadable.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace launcher {

// The bytes of the entry `name` of the archive `jar` (the whole file); nothing when the archive
// is damaged, has no such entry, the entry's size exceeds `maxSize`, or its data does not
// inflate to exactly its recorded size.
std::optional<std::string> jarEntry(std::string_view jar, std::string_view name, size_t maxSize);

// `deflated` inflated; nothing unless it is one complete deflate stream of exactly `size` bytes.
std::optional<std::string> inflateExactly(std::string_view deflated, size_t size);

// The value of the attribute `name` (compared in any ASCII case) in the main section of
// `manifest`, continuation lines joined; empty when it is not there.
std::string manifestValue(std::string_view manifest, std::string_view name);

}  // namespace launcher
