#pragma once
// Filling the numbered message texts with their arguments. The texts use printf-style
// placeholders; this formatter understands the few the string table uses (%ls and %s for text,
// %lu, %u, %ld and %d for numbers, %% for a percent sign) and builds the result in a growing
// string, so no text or argument can overrun a buffer. A placeholder consumes the next argument
// and shows it by the argument's own kind; a placeholder without an argument, or one it does not
// know, is copied as written, so a text that is not meant as a format is safe too.

#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

namespace launcher {

class MessageArg {
 public:
  MessageArg(std::u16string_view text) : text_(text), isNumber_(false) {}  // NOLINT(runtime/explicit)
  MessageArg(const char16_t* text) : text_(text), isNumber_(false) {}      // NOLINT(runtime/explicit)
  MessageArg(const std::u16string& text) : text_(text), isNumber_(false) {}  // NOLINT(runtime/explicit)
  MessageArg(std::uint32_t number) : number_(number), isNumber_(true) {}   // NOLINT(runtime/explicit)

  bool isNumber() const { return isNumber_; }
  std::u16string_view text() const { return text_; }
  std::uint32_t number() const { return number_; }

 private:
  std::u16string_view text_;
  std::uint32_t number_ = 0;
  bool isNumber_;
};

std::u16string formatMessage(std::u16string_view format, std::span<const MessageArg> args);
inline std::u16string formatMessage(std::u16string_view format, std::initializer_list<MessageArg> args) {
  return formatMessage(format, std::span<const MessageArg>(args.begin(), args.size()));
}

}  // namespace launcher
