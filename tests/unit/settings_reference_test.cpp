// The README's settings reference is what vendors write their files from: it must name every key
// the launcher reads, no other, and say which ones ignore the "+" section.

#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <tuple>

#include "settings/launcher_settings.h"

namespace launcher {
namespace {

// Section, key, read from its own section only.
using KeyRow = std::tuple<std::string, std::string, bool>;

std::string ascii(std::u16string_view text) { return std::string(text.begin(), text.end()); }

std::set<KeyRow> readmeKeys() {
  std::ifstream file(LAUNCHER_README);
  std::stringstream text;
  text << file.rdbuf();
  std::string readme = text.str();
  size_t begin = readme.find("## Settings file reference");
  size_t end = readme.find("\n## ", begin + 1);
  std::istringstream section(readme.substr(begin, end - begin));
  // | `Section` | `Key`, `Other Key` | accepted values | when absent |
  const std::regex row(R"(^\| `([^`]+)` \| ((?:`[^`]+`(?:, )?)+) \| (.*)$)");
  const std::regex key("`([^`]+)`");
  std::set<KeyRow> keys;
  for (std::string line; std::getline(section, line);) {
    std::smatch match;
    if (!std::regex_match(line, match, row)) continue;
    const bool ownOnly = match[3].str().find("own section only") != std::string::npos;
    const std::string names = match[2].str();
    for (std::sregex_iterator it(names.begin(), names.end(), key), last; it != last; ++it) {
      keys.emplace(match[1].str(), (*it)[1].str(), ownOnly);
    }
  }
  return keys;
}

TEST(SettingsReference, TheReadmeListsTheKeyTableWithItsLayering) {
  std::set<KeyRow> table;
  for (const SettingKey& key : settingKeys()) {
    table.emplace(ascii(key.section), ascii(key.key), key.read == ValueRead::plain);
  }
  EXPECT_EQ(table.size(), settingKeys().size()) << "a key stands twice in the table";
  EXPECT_EQ(readmeKeys(), table);
}

}  // namespace
}  // namespace launcher
