#include "settings/settings_paths.h"

namespace launcher {

std::optional<std::u16string> settingsPathForModule(std::u16string_view modulePath) {
  size_t dot = modulePath.rfind(u'.');
  if (dot == std::u16string_view::npos) return std::nullopt;
  std::u16string path(modulePath.substr(0, dot + 1));
  path += u"ini";
  return path;
}

}  // namespace launcher
