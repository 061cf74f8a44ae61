// "Virtual Machine Parameters": the split gives no empty token and survives re-joining, every
// token becomes one option, and the "-Xss" stack size is the exact size or 0 when it does not fit.

#include "fuzz_input.h"
#include "jvm/vm_parameters.h"

using fuzz::require;

namespace {

bool isDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// The size "-Xss" asks for, in wide arithmetic; 0 for a text of another shape.
unsigned __int128 xssSize(std::u16string_view text) {
  size_t digits = 0;
  unsigned __int128 number = 0;
  for (; digits < text.size() && isDigit(text[digits]); ++digits) {
    number = std::min<unsigned __int128>(number * 10 + (text[digits] - u'0'), std::uint64_t{1} << 40);
  }
  if (digits == 0 || text.size() > digits + 1) return 0;
  if (text.size() == digits) return number;
  switch (text.back()) {
    case u'K':
    case u'k':
      return number << 10;
    case u'M':
    case u'm':
      return number << 20;
    case u'G':
    case u'g':
      return number << 30;
    default:
      return number;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  const launcher::MemoryBases bases{input.ConsumeIntegral<std::uint64_t>(), input.ConsumeIntegral<std::uint64_t>()};
  const std::u16string value = fuzz::rest(input);

  const std::vector<std::u16string> tokens = launcher::splitVmParameters(value);
  std::u16string joined;
  size_t from = 0;
  for (const std::u16string& token : tokens) {
    require(!token.empty() && token.front() != u' ' && token.back() != u' ');
    if (token.find(u' ') != std::u16string::npos) require(token.find(u'"') != std::u16string::npos);
    // In order, separated by spaces: each token starts where the spaces after the last one end.
    from = value.find_first_not_of(u' ', from);
    require(value.compare(from, token.size(), token) == 0);
    from += token.size();
    const std::u16string unquoted = launcher::unquoteVmParameter(token);
    require(unquoted.size() <= token.size());
    if (token.find(u'"') == std::u16string::npos) require(unquoted == token);
    joined += (joined.empty() ? u"" : u" ") + token;
  }
  // Runs of spaces outside quotes only separate, so single spaces separate alike.
  require(value.find_first_not_of(u' ', from) == std::u16string::npos);
  require(launcher::splitVmParameters(joined) == tokens);

  const unsigned __int128 wanted = xssSize(value);
  require(launcher::stackSizeFromXss(value) == (wanted <= 0xFFFFFFFFu ? wanted : 0));

  const launcher::VmParameters parameters = launcher::applyVmParameters(value, bases);
  // Each option stands for one token, or a module option and its value joined; the first of
  // the java command's own options ends the list, and it is one the VM would not take.
  size_t tokensTaken = 0, nonEmpty = 0;
  bool refused = false;
  for (; tokensTaken < tokens.size() && !refused; ++tokensTaken) {
    const std::u16string option = launcher::unquoteVmParameter(tokens[tokensTaken]);
    if (option.empty()) continue;
    refused = !launcher::keyInsteadOfJavaToolOption(option).empty();
    if (refused) {
      require(parameters.refusedOption == option && !parameters.insteadKey.empty());
      break;
    }
    ++nonEmpty;
    if (!launcher::joinedModuleOption(option).empty() && tokensTaken + 1 < tokens.size()) ++tokensTaken;
  }
  if (!refused) require(parameters.refusedOption.empty());
  require(parameters.options.size() == nonEmpty);
  for (const std::u16string& option : parameters.options) {
    require(!option.empty());
    require(launcher::keyInsteadOfJavaToolOption(option).empty());
  }
  const std::u16string* lastXss = nullptr;
  for (const std::u16string& option : parameters.options) {
    if (option.starts_with(u"-Xss")) lastXss = &option;
  }
  require(parameters.stackSizeSet == (lastXss != nullptr));
  if (lastXss) {
    require(parameters.mainThreadStackSize == launcher::stackSizeFromXss(std::u16string_view(*lastXss).substr(4)));
  }
  return 0;
}
