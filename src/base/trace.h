#pragma once
// The trace a vendor asks a user for when an application "does not start": one line for each
// decision the launcher takes, appended to the file that LAUNCHER_TRACE names. Every layer writes
// its lines here; where they go is decided once, at the start. Without a destination no line is
// built or written, and callers check `tracing()` before composing an expensive one.

#include <string>
#include <string_view>

namespace launcher {

// Where finished lines go.
class TraceOutput {
 public:
  virtual ~TraceOutput() = default;
  // One line in UTF-8, without its line end.
  virtual void writeLine(std::string_view utf8Line) = 0;
};

// Sends every later line to `output`; nullptr ends the trace. Set before other threads start.
void setTraceOutput(TraceOutput* output);

// Whether lines are being written.
bool tracing();

// Writes "area: text". Line breaks inside `text` become spaces, so that one decision stays on
// one line. Nothing when no trace is written.
void trace(std::u16string_view area, std::u16string_view text);

// `text` between double quotes, for values whose ends matter (spaces, an empty value).
std::u16string quotedForTrace(std::u16string_view text);

}  // namespace launcher
