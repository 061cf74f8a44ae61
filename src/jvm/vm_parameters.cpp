#include "jvm/vm_parameters.h"

#include <algorithm>

#include "base/text.h"

namespace launcher {
namespace {

constexpr auto npos = std::u16string_view::npos;

// Where scanning goes on after a quoted run that opens at `open`: past its closing quote, and
// past a second quote directly behind that. npos when the quote has no partner.
size_t afterQuotedRun(std::u16string_view text, size_t open) {
  size_t close = text.find(u'"', open + 1);
  if (close == npos) return npos;
  size_t next = close + 1;
  if (next < text.size() && text[next] == u'"') ++next;
  return next;
}

// The java command writes these with a space before their value; the VM takes only "name=value".
constexpr std::u16string_view kModuleOptions[] = {
    u"--module-path", u"--upgrade-module-path", u"--add-modules", u"--limit-modules", u"--add-exports",
    u"--add-opens",   u"--add-reads",           u"--patch-module", u"--enable-native-access"};

}  // namespace

std::u16string_view keyInsteadOfJavaToolOption(std::u16string_view option) {
  if (option == u"-m" || option == u"--module" || option.starts_with(u"--module=")) return u"Main Module";
  if (option == u"-jar") return u"Main Jar";
  if (option.starts_with(u"-splash:")) return u"Splash Screen";
  // An argument file holds options to be written here one by one.
  if (option.starts_with(u"@")) return u"Virtual Machine Parameters";
  return {};
}

std::u16string joinedModuleOption(std::u16string_view option) {
  if (option == u"-p") return u"--module-path=";
  for (std::u16string_view name : kModuleOptions) {
    if (option == name) return std::u16string(name) + u'=';
  }
  return {};
}

std::vector<std::u16string> splitVmParameters(std::u16string_view value) {
  std::vector<std::u16string> tokens;
  size_t pos = value.find_first_not_of(u' ');
  while (pos != npos) {
    size_t start = pos;
    while (pos < value.size() && value[pos] != u' ') {
      if (value[pos] == u'"') {
        size_t after = afterQuotedRun(value, pos);
        pos = after == npos ? pos + 1 : after;
      } else {
        ++pos;
      }
    }
    tokens.emplace_back(value.substr(start, pos - start));
    pos = value.find_first_not_of(u' ', pos);
  }
  return tokens;
}

std::u16string unquoteVmParameter(std::u16string_view token) {
  std::u16string result;
  result.reserve(token.size());
  size_t pos = 0;
  while (pos < token.size()) {
    if (token[pos] != u'"') {
      result.push_back(token[pos++]);
      continue;
    }
    size_t close = token.find(u'"', pos + 1);
    if (close == npos) {
      result.append(token.substr(pos));  // an unpaired quote and what follows stay as written
      break;
    }
    result.append(token.substr(pos + 1, close - pos - 1));
    pos = close + 1;
    if (pos < token.size() && token[pos] == u'"') {
      result.push_back(u'"');
      ++pos;
    }
  }
  return result;
}

std::uint32_t stackSizeFromXss(std::u16string_view textAfterXss) {
  size_t digits = 0;
  while (digits < textAfterXss.size() && isAsciiDigit(textAfterXss[digits])) ++digits;
  if (digits == 0 || textAfterXss.size() > digits + 1) return 0;

  constexpr std::uint64_t kLimit = 0xFFFFFFFFu;
  std::uint64_t number = 0;
  for (char16_t c : textAfterXss.substr(0, digits)) {
    number = number * 10 + static_cast<std::uint64_t>(c - u'0');
    if (number > kLimit) return 0;
  }
  std::uint64_t unit = 1;
  if (textAfterXss.size() > digits) {
    switch (textAfterXss[digits]) {
      case u'G':
      case u'g':
        unit = 1024u * 1024u * 1024u;
        break;
      case u'M':
      case u'm':
        unit = 1024u * 1024u;
        break;
      case u'K':
      case u'k':
        unit = 1024u;
        break;
      default:
        break;
    }
  }
  // number and unit are at most 2^32 - 1 and 2^30, so the product fits in 64 bits.
  std::uint64_t size = number * unit;
  return size > kLimit ? 0 : static_cast<std::uint32_t>(size);
}

VmParameters applyVmParameters(std::u16string_view value, const MemoryBases& bases) {
  VmParameters result;
  const std::vector<std::u16string> tokens = splitVmParameters(value);
  for (size_t i = 0; i < tokens.size(); ++i) {
    std::u16string option = unquoteVmParameter(tokens[i]);
    // A written "" is no option: the VM would refuse an empty one and the launch would stop.
    if (option.empty()) continue;
    if (const std::u16string_view key = keyInsteadOfJavaToolOption(option); !key.empty()) {
      result.refusedOption = std::move(option);
      result.insteadKey = key;
      return result;
    }
    if (std::u16string joined = joinedModuleOption(option); !joined.empty() && i + 1 < tokens.size()) {
      option = std::move(joined.append(unquoteVmParameter(tokens[++i])));
    }
    if (std::optional<MemoryBase> base = memoryShareBase(option)) {
      option = rewriteMemoryShare(option, memoryBaseKb(*base, bases));
    }
    if (option.starts_with(u"-Xss")) {
      result.mainThreadStackSize = stackSizeFromXss(std::u16string_view(option).substr(4));
      result.stackSizeSet = true;
    }
    result.options.push_back(std::move(option));
  }
  return result;
}

std::optional<std::u16string> javaCommandOption(std::u16string_view mainClass,
                                                const std::vector<std::u16string>& arguments,
                                                const std::vector<std::u16string>& options) {
  constexpr std::u16string_view kPrefix = u"-Dsun.java.command=";
  for (const std::u16string& option : options) {
    // "-Dname" alone sets the property too, to nothing.
    if (option.starts_with(kPrefix) || option == kPrefix.substr(0, kPrefix.size() - 1)) return std::nullopt;
  }
  std::u16string text(kPrefix);
  const std::size_t nameAt = text.size();
  text += mainClass;
  // A JNI name has no dots; "module/package.Class" keeps its slash, as the java command shows it.
  if (mainClass.find(u'.') == std::u16string_view::npos) {
    std::replace(text.begin() + static_cast<std::ptrdiff_t>(nameAt), text.end(), u'/', u'.');
  }
  for (const std::u16string& argument : arguments) text.append(u" ").append(argument);
  return text;
}

}  // namespace launcher
