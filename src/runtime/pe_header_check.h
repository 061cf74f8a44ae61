#pragma once
// Reading the machine type of a module file from its headers without loading it, so that a
// runtime of another architecture can be handed to the companion executable. The file comes
// from a user-chosen folder and may be anything: every offset it contains is checked against
// the bytes actually present before it is followed.

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace launcher {

// Machine types of the images the launcher meets.
inline constexpr std::uint16_t kMachineX86 = 0x014C;
inline constexpr std::uint16_t kMachineX64 = 0x8664;
inline constexpr std::uint16_t kMachineArm64 = 0xAA64;
inline constexpr std::uint16_t kMachineIa64 = 0x0200;
inline constexpr std::uint16_t kMachineArmNt = 0x01C4;

// The machine this launcher was built for: the only one whose runtime it can load itself; and
// the machine of its companion, the same launcher built for the other of x86 and x64, whose
// runtimes alone are handed on.
#if defined(__x86_64__) || defined(_M_X64)
inline constexpr std::uint16_t kOwnMachine = kMachineX64;
inline constexpr std::uint16_t kCompanionMachine = kMachineX86;
#elif defined(__i386__) || defined(_M_IX86)
inline constexpr std::uint16_t kOwnMachine = kMachineX86;
inline constexpr std::uint16_t kCompanionMachine = kMachineX64;
#elif defined(__aarch64__) || defined(_M_ARM64)
inline constexpr std::uint16_t kOwnMachine = kMachineArm64;
inline constexpr std::uint16_t kCompanionMachine = kMachineX64;
#endif

// The Machine field of the image held in `file`, or nothing when `file` is not a complete
// image header: the DOS header with "MZ", a non-negative e_lfanew, and at that offset the
// "PE\0\0" signature, the file header and the optional header of the size the file header
// declares, all inside `file`. Once this holds, the NT headers may be located and read in place.
std::optional<std::uint16_t> imageMachine(std::span<const unsigned char> file);

// Any machine other than our own is foreign, whether or not we know its name.
constexpr bool isForeignMachine(std::uint16_t imageMachine, std::uint16_t ownMachine) {
  return imageMachine != ownMachine;
}

// The machine as the trace names it: "x86", "x64", "ARM64", "IA-64", "ARM", else "machine 0xNNNN".
std::u16string machineName(std::uint16_t machine);

}  // namespace launcher
