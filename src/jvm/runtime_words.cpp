#include "jvm/runtime_words.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <vector>

#include "base/text.h"

namespace launcher {

// Well-formed means no overlong forms, surrogates or values past U+10FFFF.
std::optional<std::u16string> fromRuntimeUtf8(std::string_view bytes, bool cut) {
  std::u16string text;
  text.reserve(bytes.size());
  for (std::size_t i = 0; i < bytes.size();) {
    const unsigned char lead = static_cast<unsigned char>(bytes[i]);
    std::size_t extra = 0;
    char32_t c = lead;
    char32_t smallest = 0;
    if (lead < 0x80) {
      extra = 0;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
      extra = 1, c = lead & 0x1F, smallest = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      extra = 2, c = lead & 0x0F, smallest = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      extra = 3, c = lead & 0x07, smallest = 0x10000;
    } else {
      return std::nullopt;
    }
    const std::size_t available = std::min(extra, bytes.size() - i - 1);
    for (std::size_t k = 1; k <= available; ++k) {
      const unsigned char next = static_cast<unsigned char>(bytes[i + k]);
      if ((next & 0xC0) != 0x80) return std::nullopt;
      c = (c << 6) | (next & 0x3F);
    }
    if (available < extra) {
      if (cut) break;
      return std::nullopt;
    }
    if (c < smallest || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return std::nullopt;
    if (c >= 0x10000) {
      text += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
      text += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
    } else {
      text += static_cast<char16_t>(c);
    }
    i += 1 + extra;
  }
  return text;
}

namespace {

// C0 and C1 controls and DEL: a message shows none of them, but for the tab.
bool isControl(char16_t c) { return c != u'\t' && (c < 0x20 || (c >= 0x7F && c <= 0x9F)); }

// The lines of `text`, split at CR LF, CR or LF, without controls and trailing white space.
std::vector<std::u16string> tidyLines(std::u16string_view text) {
  std::vector<std::u16string> lines(1);
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (c == u'\r' || c == u'\n') {
      if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
      lines.emplace_back();
    } else if (!isControl(c)) {
      lines.back() += c;
    }
  }
  for (std::u16string& line : lines) {
    while (!line.empty() && isWhiteSpace(line.back())) line.pop_back();
  }
  return lines;
}

}  // namespace

void RuntimeWords::add(std::string_view bytes) {
  const std::size_t room = kLimit - size_;
  const std::size_t taken = std::min(room, bytes.size());
  if (taken != 0) std::memcpy(buffer_ + size_, bytes.data(), taken);
  size_ += taken;
  if (taken < bytes.size()) cut_ = true;
}

void RuntimeWords::clear() {
  size_ = 0;
  cut_ = false;
}

std::u16string runtimeWordsText(std::u16string_view text, bool cut) {
  const std::vector<std::u16string> lines = tidyLines(text);
  auto blank = [](const std::u16string& line) { return line.empty(); };
  const auto first = std::find_if_not(lines.begin(), lines.end(), blank);
  const auto end = std::find_if_not(lines.rbegin(), std::make_reverse_iterator(first), blank).base();
  if (first == end) return {};

  std::u16string shownText;
  const std::size_t count = static_cast<std::size_t>(end - first);
  const std::size_t shown = std::min(count, kRuntimeWordsMaxLines);
  for (std::size_t i = 0; i < shown; ++i) {
    if (i != 0) shownText += u'\n';
    shownText += first[static_cast<std::ptrdiff_t>(i)];
  }
  if (cut || shown < count) shownText += u"\n...";
  return shownText;
}

}  // namespace launcher
