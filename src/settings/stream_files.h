#pragma once
// The files the Java program's standard output and error go to.

#include <string>

namespace launcher {

struct StreamFiles {
  // Empty: the stream is left as it is. As read from the settings, environment references are
  // still to be expanded; once expanded, a pattern between two "%" is still to be filled with the
  // time.
  std::u16string outputFile;
  std::u16string errorFile;
  // Add to an existing file instead of replacing its content.
  bool outputAppend = false;
  bool errorAppend = false;
};

}  // namespace launcher
