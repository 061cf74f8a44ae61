// Feeds arbitrary bytes to the branding command's version resource parser. Invariants: a parsed
// resource written back parses to the same blocks and writes to the same bytes; setting fields on
// it gives a resource that parses, reads the values set, and fits its 16-bit length.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "brand_edits.h"
#include "fuzz_input.h"
#include "version_resource.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const brand::Bytes input(data, data + size);
  brand::VersionBlock root;
  std::string error;
  if (!brand::parseVersion(input, root)) return 0;
  brand::Bytes written;
  // Refused only when the rewrite, with its keys ended and padded, outgrows a 16-bit length.
  if (brand::writeVersion(root, written, error)) {
    fuzz::require(written.size() <= 0xFFFF && brand::get16(written, 0) == written.size());
    brand::VersionBlock back;
    fuzz::require(brand::parseVersion(written, back) && back == root);
    brand::Bytes again;
    fuzz::require(brand::writeVersion(back, again, error) && again == written);
  }

  std::vector<brand::Resource> resources = {{{brand::kVersionType, {}}, {1, {}}, 0, 0, input}};
  if (!brand::setVersionFields(resources, {{"CompanyName", u"Acme"}, {"FileVersion", u"1.2.3"}}, error)) return 0;
  const brand::Bytes& edited = resources[0].data;
  fuzz::require(edited.size() <= 0xFFFF && brand::get16(edited, 0) == edited.size());
  brand::VersionBlock editedRoot;
  fuzz::require(brand::parseVersion(edited, editedRoot));
  std::vector<std::pair<std::u16string, std::u16string>> fields;
  fuzz::require(brand::readVersionFields(resources, fields));
  auto company = std::find_if(fields.begin(), fields.end(), [](const auto& f) { return f.first == u"CompanyName"; });
  fuzz::require(company != fields.end() && company->second == u"Acme");
  fuzz::require(brand::get32(editedRoot.value, 8) == 0x00010002u && brand::get32(editedRoot.value, 12) == 0x00030000u);
  return 0;
}
