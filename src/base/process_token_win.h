#pragma once
// Who runs the launcher, read from a process's token: the decisions that must not trust what a
// less privileged user can write (the trace file, the class-data archive, another launcher's
// instance block) depend on it.

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

namespace launcher {

// The integrity level of `process` (the last part of its mandatory label: 0x2000 medium,
// 0x3000 high, 0x4000 system); nothing when the token cannot be read. The handle needs
// PROCESS_QUERY_LIMITED_INFORMATION.
std::optional<std::uint32_t> integrityLevelOf(HANDLE process);

// Whether this process runs elevated ("Run as administrator", an installer's "launch now"); also
// true when that cannot be read, so that the files a less privileged user can plant are never
// trusted by mistake.
bool runsElevated();

// This process's user as a SID string ("S-1-5-21-..."); empty when it cannot be read.
std::u16string currentUserSid();

// Whether the kernel object `object` is owned by this process's user, or by the default owner
// this process gives the objects it creates (an elevated administrator's objects belong to the
// Administrators group). False when the owner cannot be read. The handle needs READ_CONTROL.
bool ownedByCurrentUser(HANDLE object);

}  // namespace launcher
