#include "base/trace.h"

#include "base/text.h"

namespace launcher {
namespace {
TraceOutput* gOutput = nullptr;
}  // namespace

void setTraceOutput(TraceOutput* output) { gOutput = output; }

bool tracing() { return gOutput != nullptr; }

void trace(std::u16string_view area, std::u16string_view text) {
  if (gOutput == nullptr) return;
  std::u16string line(area);
  line += u": ";
  for (char16_t c : text) line += (c == u'\r' || c == u'\n') ? u' ' : c;
  gOutput->writeLine(utf8FromUtf16(line));
}

std::u16string quotedForTrace(std::u16string_view text) {
  std::u16string quoted(u"\"");
  quoted += text;
  quoted += u'"';
  return quoted;
}

}  // namespace launcher
