// Feeds arbitrary UTF-16 text, as a settings value or a registry subkey name may hold it, to
// the version parser and checks the promises the rest of the launcher relies on.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "runtime/java_version.h"

namespace {

void require(bool condition) {
  if (!condition) std::abort();
}

void checkParsed(const std::u16string& text, std::int32_t fill) {
  launcher::JavaVersion v;
  v.components = {7, 7, 7, 7};
  bool ok = v.parse(text, fill);
  if (!ok) {
    require(v == launcher::JavaVersion{});
    return;
  }
  bool openComponent = false;
  for (std::int32_t c : v.components) {
    require(c >= 0);
    openComponent = openComponent || c == launcher::JavaVersion::kOpenEnd;
  }
  require(launcher::JavaVersion::compare(v, v) == 0);
  require(launcher::JavaVersion::matchesPattern(v, v));
  // The short form drops only zeros, which a fill-0 parse restores, and components of 65535.
  launcher::JavaVersion again;
  require(again.parse(launcher::JavaVersion::toString(v), 0));
  if (!openComponent) require(again == v);
  launcher::describeVersionRange(v, v);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::u16string text;
  text.reserve(size / 2);
  for (std::size_t i = 0; i + 1 < size; i += 2) {
    text.push_back(static_cast<char16_t>(data[i] | data[i + 1] << 8));
  }
  checkParsed(text, 0);
  checkParsed(text, launcher::JavaVersion::kOpenEnd);
  return 0;
}
