#include "base/text.h"

#include <iterator>

namespace launcher {
namespace {

char16_t asciiLower(char16_t c) {
  return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c - u'A' + u'a') : c;
}

}  // namespace

bool isWhiteSpace(char16_t c) {
  switch (c) {
    case u'\t':      // tab
    case u'\n':      // line feed
    case u'\v':      // vertical tab
    case u'\f':      // form feed
    case u'\r':      // carriage return
    case u' ':       // space
    case u'\u0085':  // next line
    case u'\u00A0':  // no-break space
    case u'\u1680':  // ogham space mark
    case u'\u2028':  // line separator
    case u'\u2029':  // paragraph separator
    case u'\u202F':  // narrow no-break space
    case u'\u205F':  // medium mathematical space
    case u'\u3000':  // ideographic space
      return true;
    default:
      // En quad to hair space: the typographic spaces of the General Punctuation block.
      return c >= u'\u2000' && c <= u'\u200A';
  }
}

std::u16string_view trimWhiteSpace(std::u16string_view text) {
  size_t begin = 0;
  size_t end = text.size();
  while (begin < end && isWhiteSpace(text[begin])) ++begin;
  while (end > begin && isWhiteSpace(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

bool equalsIgnoringAsciiCase(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (asciiLower(a[i]) != asciiLower(b[i])) return false;
  }
  return true;
}

std::u16string decimalText(std::uint64_t value) {
  char16_t digits[20];  // 18446744073709551615 has 20
  std::size_t count = 0;
  do {
    digits[count++] = static_cast<char16_t>(u'0' + value % 10);
    value /= 10;
  } while (value != 0);
  return std::u16string(std::make_reverse_iterator(digits + count), std::make_reverse_iterator(digits));
}

std::u16string signedDecimalText(std::int64_t value) {
  // The magnitude is taken in unsigned arithmetic, where negating the most negative value is
  // defined.
  const std::uint64_t magnitude =
      value < 0 ? std::uint64_t{0} - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
  std::u16string text(value < 0 ? 1 : 0, u'-');
  text += decimalText(magnitude);
  return text;
}

std::vector<std::u16string> splitAt(std::u16string_view value, char16_t separator) {
  std::vector<std::u16string> pieces;
  std::size_t start = 0;
  while (start < value.size()) {
    std::size_t end = value.find(separator, start);
    if (end == std::u16string_view::npos) end = value.size();
    pieces.emplace_back(value.substr(start, end - start));
    start = end + 1;
  }
  return pieces;
}

std::u16string withoutEmptyElements(std::u16string_view list, char16_t separator) {
  std::u16string result;
  result.reserve(list.size());
  for (const std::u16string& element : splitAt(list, separator)) {
    if (element.empty()) continue;
    if (!result.empty()) result.push_back(separator);
    result.append(element);
  }
  return result;
}

std::string utf8FromUtf16(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    char32_t c = text[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      c = 0xFFFD;
    }
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (c >> 18));
      out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

}  // namespace launcher
