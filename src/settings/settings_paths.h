#pragma once
// Where the launcher's settings files lie. Pure path rules over the module path, so they can be
// checked without Windows.

#include <optional>
#include <string>
#include <string_view>

namespace launcher {

// The main settings file of a launcher at `modulePath`: the path cut after its last "." with
// "ini" appended. The last "." of the whole path counts, so a launcher without an extension in
// a folder such as "my.tools" reads "my.ini" beside that folder. No "." at all: no settings file.
std::optional<std::u16string> settingsPathForModule(std::u16string_view modulePath);

}  // namespace launcher
