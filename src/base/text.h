#pragma once
// Character classes and comparisons over UTF-16 text that must not depend on a C locale: the
// launcher runs under whatever thread locale the system default gives it, and its keywords and
// separators mean the same in every one.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace launcher {

// True for the characters Windows' wide-character classification calls white space: tab, line
// feed, vertical tab, form feed, carriage return, space, and the other Unicode spaces and line
// and paragraph separators.
bool isWhiteSpace(char16_t c);

// `text` without white space at either end.
std::u16string_view trimWhiteSpace(std::u16string_view text);

// Equal when they differ at most in the case of ASCII letters. Setting keywords are ASCII, and
// folding other letters as well would let look-alikes such as the Kelvin sign match "k".
bool equalsIgnoringAsciiCase(std::u16string_view a, std::u16string_view b);

// "0" to "9" only: version numbers and memory sizes are read as ASCII digits, whatever other
// scripts' digits the system would accept.
constexpr bool isAsciiDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// `value` in ASCII decimal digits, without sign, separators or leading zeros ("0" for zero).
std::u16string decimalText(std::uint64_t value);

// `value` in ASCII decimal digits, with "-" in front when it is negative.
std::u16string signedDecimalText(std::int64_t value);

// The pieces of a list such as "a;b": every `separator` ends a piece, empty pieces between two
// separators are kept, a final separator adds no empty piece, and an empty value has none.
std::vector<std::u16string> splitAt(std::u16string_view value, char16_t separator);

// `list` with its empty elements dropped: every `separator` that follows another, starts or ends
// the list goes. A list of paths for the VM must not hold an empty element, which it reads as the
// current folder.
std::u16string withoutEmptyElements(std::u16string_view list, char16_t separator);

// `text` in UTF-8; a surrogate without its partner becomes U+FFFD.
std::string utf8FromUtf16(std::u16string_view text);

}  // namespace launcher
