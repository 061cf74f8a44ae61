// What the runtime writes while the VM is being created, in pieces the input decides: the kept
// words are the first bytes of it all, never more than the bound; the UTF-8 reading gives back
// exactly the bytes it read; and the text for the message is tidy and bounded, whatever the bytes.

#include <algorithm>
#include <string>

#include "base/text.h"
#include "fuzz_input.h"
#include "jvm/runtime_words.h"

using fuzz::require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  // Repeats make pieces long enough to reach the bound from a short input.
  const unsigned repeats = input.ConsumeIntegralInRange<unsigned>(1, 64);
  launcher::RuntimeWords words;
  std::string all;
  while (input.remaining_bytes() > 0) {
    std::string piece = input.ConsumeRandomLengthString(512);
    for (unsigned i = 1; i < repeats; ++i) piece += piece.substr(0, 64);
    words.add(piece);
    all += piece;
  }
  require(words.bytes().size() == std::min(all.size(), launcher::RuntimeWords::kLimit));
  require(all.starts_with(words.bytes()));
  require(words.cut() == (all.size() > launcher::RuntimeWords::kLimit));

  const std::string_view bytes = words.bytes();
  const std::optional<std::u16string> utf8 = launcher::fromRuntimeUtf8(bytes, words.cut());
  if (utf8) {
    const std::string back = launcher::utf8FromUtf16(*utf8);
    require(bytes.starts_with(back));
    // Only a sequence the bound broke off is left out.
    require(back.size() == bytes.size() || (words.cut() && bytes.size() - back.size() < 4));
  }
  std::u16string latin1;
  for (unsigned char c : bytes) latin1 += c;
  const std::u16string& read = utf8 ? *utf8 : latin1;

  const std::u16string text = launcher::runtimeWordsText(read, words.cut());
  require(text.size() <= read.size() + 4);
  if (text.empty()) return 0;
  require(text.front() != u'\n' && !launcher::isWhiteSpace(text.back()));
  std::size_t lines = 1;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    require(c == u'\n' || c == u'\t' || (c >= 0x20 && (c < 0x7F || c > 0x9F)));
    if (c != u'\n') continue;
    ++lines;
    require(text[i - 1] == u'\n' || !launcher::isWhiteSpace(text[i - 1]));
  }
  require(lines <= launcher::kRuntimeWordsMaxLines + 1);
  require(!text.ends_with(u"\n...") || words.cut() || lines == launcher::kRuntimeWordsMaxLines + 1 ||
          read.find(u"...") != std::u16string::npos);
  return 0;
}
