#pragma once
// The block that every launcher process of one executable path shares while single instance is
// on: a header that the first instance writes once, and the argument list that a second start
// hands over. Processes of both architectures open the same block, so its layout is fixed to the
// byte and holds no pointers.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace launcher {

struct SharedInstanceBlock {
  // The first instance's listener thread, its process and the registered message number.
  std::uint32_t listenerThreadId;
  std::uint32_t ownerProcessId;
  std::uint32_t forwardMessage;
  // The forwarded arguments, each followed by one zero UTF-16 unit, then one more zero unit.
  unsigned char argumentArea[2080];
};
static_assert(sizeof(SharedInstanceBlock) == 2092);
static_assert(offsetof(SharedInstanceBlock, listenerThreadId) == 0);
static_assert(offsetof(SharedInstanceBlock, ownerProcessId) == 4);
static_assert(offsetof(SharedInstanceBlock, forwardMessage) == 8);
static_assert(offsetof(SharedInstanceBlock, argumentArea) == 12);

// The most bytes a packed list may take, the final zero unit included; launchers of earlier
// releases read no further, though the area is larger.
constexpr std::size_t kMostPackedArgumentBytes = 1040;

// The name of the kernel objects of the launcher at `modulePath`: the path with every "\"
// replaced by "_" and every "_" written "_*", so that no two paths share a name ("a_b\app.exe"
// and "a\b\app.exe" would otherwise) while a path without "_" keeps the name launchers have
// always given it. A path never holds "*", so "_*" cannot come from a "\".
std::u16string instanceNameFor(std::u16string_view modulePath);

// Writes `arguments` into the block's argument area; false, with the area untouched, when they
// take more than kMostPackedArgumentBytes.
bool packArguments(const std::vector<std::u16string>& arguments, SharedInstanceBlock& block);

// The list a second start packed. An empty argument reads as the end of the list, so it and all
// after it are lost, and no arguments arrive as one empty argument; launchers already in use
// read and write the block this way.
std::vector<std::u16string> unpackArguments(const SharedInstanceBlock& block);

}  // namespace launcher
