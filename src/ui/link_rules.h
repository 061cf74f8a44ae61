#pragma once
// The rules of a link in a dialog: the colours a user may have set for links, and which texts may
// be opened at all. Free of Windows so they can be tested.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace launcher {

// A colour as three 0-255 components.
struct LinkColor {
  std::uint8_t red = 0, green = 0, blue = 0;
  friend bool operator==(const LinkColor&, const LinkColor&) = default;
};

// The longest "Anchor Color" value read: "255,255,255".
inline constexpr std::size_t kAnchorColorMaxLength = 11;

// Whether the link's text may be handed to the shell to open: an "https://" address (any case)
// with a host, and nothing that could end the address inside the browser's command line (white
// space, control characters, quotes). Any other text (a program, a file, another scheme: a
// translated text could hold one) is shown but not opened.
bool isOpenableWebAddress(std::u16string_view text);

// A user's "Anchor Color" or "Anchor Color Visited" value: three decimal numbers from 0 to 255
// separated by commas, spaces allowed around each number ("0,0,255" or "0, 0, 255"). Nothing for
// any other text, a longer one included, so the caller keeps its default colour.
std::optional<LinkColor> parseAnchorColor(std::u16string_view value);

}  // namespace launcher
