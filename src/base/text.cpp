#include "base/text.h"

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

}  // namespace launcher
