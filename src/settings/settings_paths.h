#pragma once
// Where the launcher's settings files lie. Pure path rules over the module path, so they can be
// checked without Windows.

#include <optional>
#include <string>
#include <string_view>

#include "base/path.h"

namespace launcher {

// The main settings file of a launcher at `modulePath`: the path cut after its last "." with
// "ini" appended. The last "." of the whole path counts, so a launcher without an extension in
// a folder such as "my.tools" reads "my.ini" beside that folder. No "." at all: no settings file.
std::optional<std::u16string> settingsPathForModule(std::u16string_view modulePath);

// The settings file of the companion executable, which a service shares its runtime choice with:
// the same rule over the "Pair Product" path. None when that is empty or has no ".".
std::optional<std::u16string> pairSettingsPath(std::u16string_view pairProduct);

// The product name or code as a folder name: without the characters Windows forbids in file
// names (\ / : * ? " < > |), so a name such as "Acme: Tools" still gives one folder under APPDATA
// and neither can reach into another folder.
std::u16string productFolderName(std::u16string_view productName);

// A per-user settings file and the two folders that must exist before it can be written, to be
// created in this order.
struct UserSettingsLocation {
  std::u16string productFolder;  // APPDATA\<product name>
  std::u16string codeFolder;     // APPDATA\<product name>\<product code>
  std::u16string file;           // APPDATA\<product name>\<product code>\<stem>.ini
};

// The per-user settings file that remembers the runtime folder a user chose, for the executable
// at `executablePath`: the launcher's own module path, or the "Pair Product" path for the
// companion's per-user file. The file is named after the executable's file name (after the last
// "\" or "/") without the part from its last "."; a file name without "." is used whole, so
// "C:\my.tools\app" gives "app.ini" (the per-user file never looks at folder names).
//
// Both the product name and the product code lose the forbidden characters. None when APPDATA is
// empty, the executable has no file name, or the name or code leaves nothing but dots and spaces
// (or nothing at all when it was written): each would put the file in a folder other users can
// write to (the root of the current drive, or a folder above APPDATA), and the runtime folder
// read from there would be loaded into this process.
std::optional<UserSettingsLocation> userSettingsLocation(std::u16string_view appData,
                                                         std::u16string_view productName,
                                                         std::u16string_view productCode,
                                                         std::u16string_view executablePath);

// The folder that holds the launcher: its module path up to, not including, the last "\", or the
// drive's root with its backslash ("D:\") for a launcher at the root. None when there is no "\"
// or the folder part would be empty.
std::optional<std::u16string> launcherFolderOf(std::u16string_view modulePath);

// What every part of a start needs to know about the launcher itself, found once when it
// starts and handed down.
struct LaunchContext {
  // The launcher's own full path.
  std::u16string modulePath;
  // Its folder, without a closing backslash unless it is a drive's root ("D:\"); empty when the
  // path names none.
  std::u16string folder;
  // The main settings file; empty when the path has no "." and so no settings file.
  std::u16string settingsFile;

  // The folder with its closing backslash, ready for a file name; empty when unknown.
  std::u16string folderPrefix() const { return folder.empty() ? folder : withTrailingBackslash(folder); }
};

LaunchContext launchContextFor(std::u16string_view modulePath);

}  // namespace launcher
