#include "brand_edits.h"

#include <algorithm>

#include "version_resource.h"

namespace brand {
namespace {

constexpr const char* kVersionFields[] = {"CompanyName",  "ProductName",     "ProductVersion", "FileDescription", "FileVersion",
                                          "LegalCopyright", "OriginalFilename", "InternalName", "LegalTrademarks", "Comments"};

template <typename List>
auto findResource(List& resources, std::uint16_t type, std::uint16_t name) -> decltype(&resources[0]) {
  for (auto& r : resources) {
    if (r.type.text.empty() && r.type.id == type && r.name.text.empty() && r.name.id == name) return &r;
  }
  return nullptr;
}

std::u16string textValue(const VersionBlock& block) {
  std::u16string text;
  for (std::size_t i = 0; i + 1 < block.value.size(); i += 2) text += char16_t(get16(block.value, i));
  while (!text.empty() && text.back() == u'\0') text.pop_back();
  return text;
}

VersionBlock textBlock(const std::u16string& key, const std::u16string& value) {
  VersionBlock block{key, 1, static_cast<std::uint16_t>(value.size() + 1), {}, {}};
  for (char16_t c : value) add16(block.value, c);
  add16(block.value, 0);
  return block;
}

// The string table of the version information, made when missing.
VersionBlock* stringTable(VersionBlock& root) {
  for (VersionBlock& child : root.children) {
    if (child.key == u"StringFileInfo") {
      if (child.children.empty()) child.children.push_back({u"040904B0", 1, 0, {}, {}});
      return &child.children[0];
    }
  }
  root.children.insert(root.children.begin(), {u"StringFileInfo", 1, 0, {}, {{u"040904B0", 1, 0, {}, {}}}});
  return &root.children[0].children[0];
}

// "1.2.3" as the two 32-bit halves of a fixed version; false when the text does not begin with a number.
bool versionNumbers(const std::u16string& text, std::uint32_t& high, std::uint32_t& low) {
  std::uint32_t parts[4] = {0, 0, 0, 0};
  std::size_t i = 0;
  int part = 0;
  if (text.empty() || text[0] < u'0' || text[0] > u'9') return false;
  for (; part < 4 && i < text.size(); ++part) {
    std::uint32_t value = 0;
    std::size_t digits = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i, ++digits) {
      value = value * 10 + (text[i] - u'0');
      if (value > 0xFFFF) return false;
    }
    if (digits == 0) return false;
    parts[part] = value;
    if (i >= text.size() || text[i] != u'.' || i + 1 >= text.size() || text[i + 1] < u'0' || text[i + 1] > u'9') break;
    ++i;
  }
  high = parts[0] << 16 | parts[1];
  low = parts[2] << 16 | parts[3];
  return true;
}

bool parseIcon(const Bytes& ico, std::vector<Bytes>& images, Bytes& group, std::string& error) {
  error = "not an icon file";
  if (ico.size() < 6 || get16(ico, 0) != 0 || get16(ico, 2) != 1 || get16(ico, 4) == 0) return false;
  std::size_t count = get16(ico, 4);
  if (6 + 16 * count > ico.size()) {
    error = "the icon file is cut short";
    return false;
  }
  add16(group, 0);
  add16(group, 1);
  add16(group, count);
  for (std::size_t i = 0; i < count; ++i) {
    std::size_t entry = 6 + 16 * i;
    std::uint32_t size = get32(ico, entry + 8), offset = get32(ico, entry + 12);
    if (size < 40 || offset > ico.size() || size > ico.size() - offset) {
      error = "image " + std::to_string(i + 1) + " of the icon file lies outside the file";
      return false;
    }
    static const std::uint8_t png[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    bool isPng = std::equal(png, png + 8, ico.begin() + offset);
    if (!isPng && get32(ico, offset) != 40) {
      error = "image " + std::to_string(i + 1) + " of the icon file is neither a bitmap nor a PNG image";
      return false;
    }
    images.emplace_back(ico.begin() + offset, ico.begin() + offset + size);
    group.insert(group.end(), ico.begin() + entry, ico.begin() + entry + 12);  // size, colours, planes, bits, bytes
    add16(group, i + 1);
  }
  return true;
}

// The placeholders of a message text, in order: what the code fills in must stay the same.
std::u16string placeholders(const std::u16string& text) {
  std::u16string found;
  for (std::size_t i = 0; i + 1 < text.size(); ++i) {
    if (text[i] != u'%') continue;
    std::size_t j = i + 1;
    if (text[j] == u'%') {
      i = j;
      continue;
    }
    while (j < text.size() && (text[j] == u'l' || text[j] == u'h')) ++j;
    if (j < text.size()) found += text.substr(i, j - i + 1) + u' ';
    i = j;
  }
  return found;
}

}  // namespace

bool isVersionField(std::string_view name) {
  return std::find(std::begin(kVersionFields), std::end(kVersionFields), name) != std::end(kVersionFields);
}

bool isLauncher(const PeLayout& layout, const std::vector<Resource>& resources, std::string& error) {
  auto has = [&](std::uint16_t type, std::uint16_t name) {
    return findResource(resources, type, name) != nullptr;
  };
  // The launcher's own dialogs, which branding leaves alone, tell it from other programs.
  if ((layout.machine != 0x14C && layout.machine != 0x8664) || (layout.subsystem != 2 && layout.subsystem != 3) ||
      !has(kDialogType, 201) || !has(kDialogType, 231) || !has(kVersionType, 1)) {
    error = "it lacks the launcher's dialogs or version information, or is for another kind of processor";
    return false;
  }
  return true;
}

bool setIcon(std::vector<Resource>& resources, const Bytes& ico, std::string& error) {
  std::vector<Bytes> images;
  Bytes group;
  if (!parseIcon(ico, images, group, error)) return false;
  std::uint16_t language = findResource(resources, kVersionType, 1)->language;
  std::erase_if(resources, [](const Resource& r) {
    return r.type.text.empty() && (r.type.id == kIconType || r.type.id == kGroupIconType);
  });
  for (std::size_t i = 0; i < images.size(); ++i) {
    resources.push_back({{kIconType, {}}, {static_cast<std::uint16_t>(i + 1), {}}, language, 0, std::move(images[i])});
  }
  resources.push_back({{kGroupIconType, {}}, {1, {}}, language, 0, std::move(group)});
  return true;
}

bool readVersionFields(const std::vector<Resource>& resources, std::vector<std::pair<std::u16string, std::u16string>>& fields) {
  const Resource* version = findResource(resources, kVersionType, 1);
  VersionBlock root;
  if (!version || !parseVersion(version->data, root)) return false;
  for (const VersionBlock& child : stringTable(root)->children) fields.emplace_back(child.key, textValue(child));
  return true;
}

bool setVersionFields(std::vector<Resource>& resources, const std::vector<std::pair<std::string, std::u16string>>& fields,
                      std::string& error) {
  Resource* version = findResource(resources, kVersionType, 1);
  VersionBlock root;
  if (!version || !parseVersion(version->data, root) || root.value.size() != 52 ||
      get32(root.value, 0) != 0xFEEF04BD) {
    error = "the launcher's version information is damaged";
    return false;
  }
  VersionBlock* table = stringTable(root);
  for (const auto& [name, value] : fields) {
    std::u16string key(name.begin(), name.end());
    if (value.empty() || value.size() >= 0xFFFF) {
      error = "the version field " + name + (value.empty() ? " needs a value" : " is longer than its length field can say");
      return false;
    }
    if (name == "FileVersion" || name == "ProductVersion") {
      std::uint32_t high = 0, low = 0;
      if (!versionNumbers(value, high, low)) {
        error = name + " must begin with a version number such as 1.2.3 (each part at most 65535)";
        return false;
      }
      std::size_t at = name == "FileVersion" ? 8 : 16;
      for (int i = 0; i < 4; ++i) root.value[at + i] = static_cast<std::uint8_t>(high >> (8 * i));
      for (int i = 0; i < 4; ++i) root.value[at + 4 + i] = static_cast<std::uint8_t>(low >> (8 * i));
    }
    auto existing = std::find_if(table->children.begin(), table->children.end(),
                                 [&](const VersionBlock& b) { return b.key == key; });
    if (existing != table->children.end()) {
      *existing = textBlock(key, value);
    } else {
      table->children.push_back(textBlock(key, value));
    }
  }
  Bytes data;
  if (!writeVersion(root, data, error)) return false;
  version->data = std::move(data);
  return true;
}

bool replaceStrings(std::vector<Resource>& resources, std::string_view file, std::string& error) {
  if (file.substr(0, 3) == "\xEF\xBB\xBF") file.remove_prefix(3);
  int lineNumber = 0;
  while (!file.empty()) {
    std::size_t end = file.find('\n');
    std::string_view line = file.substr(0, end);
    file.remove_prefix(end == std::string_view::npos ? file.size() : end + 1);
    ++lineNumber;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty() || line[0] == '#') continue;
    const std::string where = "line " + std::to_string(lineNumber) + " of the strings file: ";
    std::size_t equals = line.find('=');
    unsigned long id = 0;
    std::string_view number = line.substr(0, equals);
    while (!number.empty() && number.back() == ' ') number.remove_suffix(1);
    if (equals == std::string_view::npos || number.empty() || number.size() > 5 ||
        !std::all_of(number.begin(), number.end(), [](char c) { return c >= '0' && c <= '9'; }) ||
        (id = std::stoul(std::string(number))) == 0 || id > 0xFFFF) {
      error = where + "expected NUMBER=TEXT";
      return false;
    }
    std::string_view raw = line.substr(equals + 1);
    while (!raw.empty() && raw.front() == ' ') raw.remove_prefix(1);
    std::string text;
    for (std::size_t i = 0; i < raw.size(); ++i) {
      if (raw[i] != '\\' || i + 1 == raw.size()) {
        text += raw[i];
        continue;
      }
      char next = raw[++i];
      text += next == 'n' ? '\n' : next == 't' ? '\t' : next;
    }
    std::u16string value;
    if (!utf8ToUtf16(text, value) || value.empty()) {
      error = where + (value.empty() ? "the text is empty" : "the text is not UTF-8");
      return false;
    }
    Resource* block = findResource(resources, kStringType, static_cast<std::uint16_t>(id / 16 + 1));
    // The block's 16 texts, each a length and that many UTF-16 code units.
    std::vector<std::u16string> texts;
    for (std::size_t at = 0; block && texts.size() < 16 && at + 2 <= block->data.size();) {
      std::size_t length = get16(block->data, at);
      if (at + 2 + 2 * length > block->data.size()) break;
      std::u16string t;
      for (std::size_t k = 0; k < length; ++k) t += char16_t(get16(block->data, at + 2 + 2 * k));
      texts.push_back(std::move(t));
      at += 2 + 2 * length;
    }
    if (texts.size() != 16 || texts[id % 16].empty()) {
      error = where + "the launcher has no text number " + std::to_string(id);
      return false;
    }
    if (placeholders(texts[id % 16]) != placeholders(value)) {
      error = where + "text " + std::to_string(id) + " must keep the placeholders of the original, in order";
      return false;
    }
    if (value.size() > 0xFFFF) {
      error = where + "the text is longer than the 65535 characters its length field can say";
      return false;
    }
    texts[id % 16] = value;
    block->data.clear();
    for (const std::u16string& t : texts) {
      add16(block->data, t.size());
      for (char16_t c : t) add16(block->data, c);
    }
  }
  return true;
}

bool utf8ToUtf16(std::string_view in, std::u16string& out) {
  out.clear();
  for (std::size_t i = 0; i < in.size();) {
    unsigned char c = in[i];
    std::uint32_t code = 0;
    std::size_t extra = c < 0x80 ? 0 : (c & 0xE0) == 0xC0 ? 1 : (c & 0xF0) == 0xE0 ? 2 : (c & 0xF8) == 0xF0 ? 3 : 9;
    if (extra == 9 || i + extra >= in.size()) return false;
    code = extra == 0 ? c : c & (0x3F >> extra);
    for (std::size_t k = 1; k <= extra; ++k) {
      unsigned char next = in[i + k];
      if ((next & 0xC0) != 0x80) return false;
      code = code << 6 | (next & 0x3F);
    }
    static const std::uint32_t minimum[] = {0, 0x80, 0x800, 0x10000};
    if (code < minimum[extra] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
    if (code >= 0x10000) {
      out += char16_t(0xD800 + ((code - 0x10000) >> 10));
      out += char16_t(0xDC00 + ((code - 0x10000) & 0x3FF));
    } else {
      out += char16_t(code);
    }
    i += extra + 1;
  }
  return true;
}

}  // namespace brand
