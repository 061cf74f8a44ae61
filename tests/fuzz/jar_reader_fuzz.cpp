// The jar reader on arbitrary bytes: as an archive, as a deflate stream and as a manifest. No
// read outside the input (the sanitizers watch), an entry never larger than allowed, an inflated
// stream exactly the size asked for, and a manifest value made only of the manifest's bytes.

#include "fuzz_input.h"
#include "jvm/jar_reader.h"

using fuzz::require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  const size_t limit = input.ConsumeIntegralInRange<size_t>(0, 1 << 16);
  const std::string name = input.ConsumeRandomLengthString(32);
  const std::string bytes = input.ConsumeRemainingBytesAsString();

  if (const std::optional<std::string> entry = launcher::jarEntry(bytes, name, limit)) require(entry->size() <= limit);
  if (const std::optional<std::string> inflated = launcher::inflateExactly(bytes, limit)) {
    require(inflated->size() == limit);
  }
  const std::string value = launcher::manifestValue(bytes, name);
  require(value.size() <= bytes.size());
  require(value.find_first_of("\r\n") == std::string::npos);
  return 0;
}
