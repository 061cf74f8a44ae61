#pragma once
// Heap and stack options given as a share of the machine's memory. A settings file cannot know
// the machine it will run on, so "-Xmx50:256:1024p" asks for half the physical memory, at least
// 256 MB and at most 1024 MB; the launcher turns that into a size in KB the VM understands. The
// memory figures come from the caller, so the arithmetic can be checked without Windows.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace launcher {

// What a share is taken of: "P"/"p" total physical memory, "T"/"t" the virtual memory still
// available to this process.
enum class MemoryBase { physical, availableVirtual };

// Both bases in KB, as the machine reports them.
struct MemoryBases {
  std::uint64_t physicalKb = 0;
  std::uint64_t availableVirtualKb = 0;
};

// The base a share token is taken of; none when `token` is not a share token. A share token
// begins with exactly "-Xms", "-Xmx" or "-Xss" and ends in "P", "p", "T" or "t".
std::optional<MemoryBase> memoryShareBase(std::u16string_view token);

// The share token rewritten as prefix, size and "K", the size being `baseKb` times the percentage
// over 100, rounded down, then capped at the upper bound and raised to the lower bound (both in
// MB; an upper bound of 0 means none). The token is prefix, percentage, optionally ":" lower
// bound, optionally ":" upper bound, and the unit letter; characters other than digits and ":"
// in the numbers are ignored and a missing number is 0.
//
// All of it is unsigned 64-bit: on a 64-bit launcher the available virtual memory alone is about
// 2^37 KB, and even a modest percentage of it needs more than 32 bits. Results that 64 bits
// cannot hold (absurd percentages or bounds) stop at the largest 64-bit value rather than wrap,
// so a bound still applies to them and the VM, not a wrapped number, judges what is left.
// `token` must be a share token.
std::u16string rewriteMemoryShare(std::u16string_view token, std::uint64_t baseKb);

// The base for `base` out of `bases`.
std::uint64_t memoryBaseKb(MemoryBase base, const MemoryBases& bases);

}  // namespace launcher
