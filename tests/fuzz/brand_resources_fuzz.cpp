// Feeds arbitrary files to the branding command's resource reader and writes back what it read.
// Invariants: what is read stays within the input's size (the data, and again the type and name
// texts, one data entry of 16 bytes per resource); what is written reads back equal, resources in
// the writer's order; writing what was read back gives the same bytes. AddressSanitizer catches
// any read outside the input, and the test's -malloc_limit_mb an allocation out of proportion.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz_input.h"
#include "pe_resources.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const brand::Bytes file(data, data + size);
  brand::PeLayout layout;
  std::string error;
  std::vector<brand::Resource> resources;
  if (!brand::readLayout(file, layout, error) || !brand::readResources(file, layout, resources, error)) return 0;
  std::uint64_t dataBytes = 0, textBytes = 0;
  for (const brand::Resource& r : resources) {
    dataBytes += r.data.size();
    textBytes += brand::nameBytes(r);
  }
  fuzz::require(dataBytes <= size && textBytes <= size && resources.size() * 16 <= size);

  brand::Bytes written = file;
  if (!brand::writeResources(written, layout, resources, error)) return 0;
  brand::PeLayout writtenLayout;
  std::vector<brand::Resource> back;
  fuzz::require(brand::readLayout(written, writtenLayout, error));
  fuzz::require(brand::readResources(written, writtenLayout, back, error));
  brand::sortResources(resources);
  fuzz::require(back == resources);

  // A second write may be refused (a directory entry that now falls in a moved section), but when
  // it is not, it changes nothing.
  brand::Bytes again = written;
  if (brand::writeResources(again, writtenLayout, back, error)) fuzz::require(again == written);
  return 0;
}
