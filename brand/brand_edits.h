#pragma once
// What branding changes in a launcher's resources: its icon, its version information and,
// optionally, its message texts.

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "pe_resources.h"

namespace brand {

// The version information fields that can be set.
bool isVersionField(std::string_view name);

// Whether the image and its resources are a launcher of this project (GUI or console, x86 or
// x64); `error` says why not.
bool isLauncher(const PeLayout& layout, const std::vector<Resource>& resources, std::string& error);

// Replaces every icon by the images of the .ico file `ico`, as the program's icon.
bool setIcon(std::vector<Resource>& resources, const Bytes& ico, std::string& error);

// Sets version information fields (name, UTF-16 value); FileVersion and ProductVersion also set
// the numeric versions, so they must begin with a number such as 1.2.3.
bool setVersionFields(std::vector<Resource>& resources, const std::vector<std::pair<std::string, std::u16string>>& fields,
                      std::string& error);

// Replaces message texts with those of a strings file (UTF-8 lines NUMBER=TEXT, escapes \n \t
// \\, # comments). Each number must be one of the launcher's texts, with the same placeholders.
bool replaceStrings(std::vector<Resource>& resources, std::string_view stringsFile, std::string& error);

// The version information's text fields, in the order the resource holds them.
bool readVersionFields(const std::vector<Resource>& resources, std::vector<std::pair<std::u16string, std::u16string>>& fields);

bool utf8ToUtf16(std::string_view in, std::u16string& out);

}  // namespace brand
