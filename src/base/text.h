#pragma once
// Character classes and comparisons over UTF-16 text that must not depend on a C locale: the
// launcher runs under whatever thread locale the system default gives it, and its keywords and
// separators mean the same in every one.

#include <string_view>

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

}  // namespace launcher
