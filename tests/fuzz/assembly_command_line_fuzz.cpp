// The command line of the ahead-of-time cache's assembly: the runtime's java splits it back, by the
// rules of the Microsoft C runtime, into exactly the arguments it was made from, whatever spaces,
// tabs, quotes and backslashes they hold.

#include "fuzz_input.h"
#include "jvm/class_data_archive.h"

using fuzz::require;
using Arguments = std::vector<std::u16string>;

namespace {

// The C runtime's split of the arguments after the program name: 2n backslashes before a quote
// give n and the quote opens or closes a quoted run, 2n+1 give n and a literal quote; other
// backslashes stay as they are; a doubled quote inside a run is a literal quote.
Arguments splitLikeTheCRuntime(std::u16string_view line) {
  Arguments arguments;
  std::size_t i = 0;
  while (true) {
    while (i < line.size() && (line[i] == u' ' || line[i] == u'\t')) ++i;
    if (i == line.size()) return arguments;
    std::u16string argument;
    bool quoted = false;
    for (; i < line.size() && (quoted || (line[i] != u' ' && line[i] != u'\t')); ++i) {
      std::size_t backslashes = 0;
      while (i < line.size() && line[i] == u'\\') ++backslashes, ++i;
      if (i < line.size() && line[i] == u'"') {
        argument.append(backslashes / 2, u'\\');
        if (backslashes % 2 == 1) {
          argument.push_back(u'"');
        } else if (quoted && i + 1 < line.size() && line[i + 1] == u'"') {
          argument.push_back(u'"');
          ++i;
        } else {
          quoted = !quoted;
        }
      } else {
        argument.append(backslashes, u'\\');
        if (i == line.size()) break;
        if (!quoted && (line[i] == u' ' || line[i] == u'\t')) {
          --i;
          continue;
        }
        argument.push_back(line[i]);
      }
    }
    arguments.push_back(argument);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  Arguments arguments{u"java"};
  while (input.remaining_bytes() > 0 && arguments.size() < 16) arguments.push_back(fuzz::text(input, 64));
  const std::u16string line = launcher::commandLineOf(arguments);
  require(line.starts_with(u"java"));
  Arguments split = splitLikeTheCRuntime(std::u16string_view(line).substr(4));
  split.insert(split.begin(), u"java");
  require(split == arguments);
  return 0;
}
