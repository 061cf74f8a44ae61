#pragma once
// What the runtime itself writes while it creates the VM ("Unrecognized option: ...", "Could not
// reserve enough space for ... object heap"): kept, bounded, while the VM is being created, and
// turned into lines a message can show, for a windowed launcher has no stream to show them on.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace launcher {

// The first bytes the runtime writes, at most kLimit of them; the rest only marks the words cut.
class RuntimeWords {
 public:
  static constexpr std::size_t kLimit = 4096;

  void add(std::string_view bytes);
  // Text the runtime wrote that never reached add (a piece longer than its formatting buffer).
  void markCut() { cut_ = true; }
  void clear();
  std::string_view bytes() const { return std::string_view(buffer_, size_); }
  bool cut() const { return cut_; }

 private:
  char buffer_[kLimit];
  std::size_t size_ = 0;
  bool cut_ = false;
};

// At most this many lines of the runtime's words reach a message.
inline constexpr std::size_t kRuntimeWordsMaxLines = 20;

// The bytes as UTF-16 when they are well-formed UTF-8, as a runtime writes text it was given in
// UTF-8; a sequence broken off at the end is left out when `cut`. Nothing for any other bytes,
// which are in the code page the runtime writes in.
std::optional<std::u16string> fromRuntimeUtf8(std::string_view bytes, bool cut);

// The runtime's words as lines for a message. Any line end becomes "\n"; other control
// characters but the tab go, as do white space at line ends and blank lines before and after the
// text. Past kRuntimeWordsMaxLines lines, or when `cut`, a line "..." closes the text. Empty when
// the runtime wrote nothing but white space.
std::u16string runtimeWordsText(std::u16string_view text, bool cut);

}  // namespace launcher
