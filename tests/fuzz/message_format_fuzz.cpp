// Message texts filled with arguments: the result is no longer than the text plus every argument
// shown once, the arguments after the ones given are never read, and "%%" is the only change to a
// text without arguments.

#include <string>

#include "base/message_format.h"
#include "fuzz_input.h"

using fuzz::require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  // The arguments' text lives here, so the views in MessageArg stay valid.
  std::vector<std::u16string> texts(input.ConsumeIntegralInRange(0, 4));
  std::vector<launcher::MessageArg> args;
  size_t argumentLength = 0;
  for (std::u16string& text : texts) {
    if (input.ConsumeBool()) {
      args.emplace_back(input.ConsumeIntegral<std::uint32_t>());
      argumentLength += 10;
    } else {
      text = fuzz::text(input, 32);
      args.emplace_back(text);
      argumentLength += text.size();
    }
  }
  const size_t given = args.size();
  // A guard behind the arguments given: its text, out of the input's alphabet, must never show.
  args.emplace_back(u"\uFFFF");
  const std::u16string format = fuzz::rest(input);

  const std::u16string out = launcher::formatMessage(format, std::span(args.data(), given));
  require(out.size() <= format.size() + argumentLength);
  require(out.find(u'\uFFFF') == std::u16string::npos);

  const std::u16string plain = launcher::formatMessage(format, {});
  std::u16string unescaped;
  for (size_t i = 0; i < format.size(); ++i) {
    unescaped.push_back(format[i]);
    if (format[i] == u'%' && i + 1 < format.size() && format[i + 1] == u'%') ++i;
  }
  require(plain == unescaped);
  return 0;
}
