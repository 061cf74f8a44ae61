#pragma once
// The trace file: opened once, at the start, when LAUNCHER_TRACE names one.

namespace launcher {

// Starts the trace when LAUNCHER_TRACE names a file that can be opened for appending; otherwise
// leaves it off. Each line is appended in one write, prefixed with the local time and the process
// id, so the lines of a launcher and of the companion it starts can share a file.
void startTraceFromEnvironment();

}  // namespace launcher
