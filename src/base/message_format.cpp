#include "base/message_format.h"

#include "base/text.h"

namespace launcher {
namespace {

void appendArg(std::u16string& out, const MessageArg& arg) {
  if (arg.isNumber()) {
    out.append(decimalText(arg.number()));
  } else {
    out.append(arg.text());
  }
}

// Length of the placeholder starting at format[pos] (which is '%'), or 0 when it is not one
// this formatter knows.
size_t placeholderLength(std::u16string_view format, size_t pos) {
  std::u16string_view rest = format.substr(pos + 1);
  for (std::u16string_view known : {u"ls", u"lu", u"ld", u"s", u"u", u"d"}) {
    if (rest.substr(0, known.size()) == known) return known.size() + 1;
  }
  return 0;
}

}  // namespace

std::u16string formatMessage(std::u16string_view format, std::span<const MessageArg> args) {
  std::u16string out;
  out.reserve(format.size());
  auto next = args.begin();
  for (size_t pos = 0; pos < format.size();) {
    if (format[pos] != u'%') {
      out.push_back(format[pos++]);
      continue;
    }
    if (pos + 1 < format.size() && format[pos + 1] == u'%') {
      out.push_back(u'%');
      pos += 2;
      continue;
    }
    size_t length = placeholderLength(format, pos);
    if (length == 0 || next == args.end()) {
      out.push_back(format[pos++]);
      continue;
    }
    appendArg(out, *next++);
    pos += length;
  }
  return out;
}

}  // namespace launcher
