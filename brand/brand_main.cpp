// launcher-brand INPUT OUTPUT [--icon FILE.ico] [--set NAME=VALUE]... [--strings FILE] [--from FILE]
//
// Writes a copy of a launcher executable with the vendor's icon, version information and,
// optionally, translated message texts. Every input is checked before anything is written, and
// OUTPUT appears only complete: a bad input leaves no output file and an existing one untouched.

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "brand_edits.h"
#include "pe_resources.h"

namespace fs = std::filesystem;

namespace {

constexpr char kUsage[] =
    "usage: launcher-brand INPUT OUTPUT [--icon FILE.ico] [--set NAME=VALUE]... [--strings FILE] [--from FILE]\n"
    "NAME: CompanyName, ProductName, ProductVersion, FileDescription, FileVersion, LegalCopyright,\n"
    "      OriginalFilename, InternalName, LegalTrademarks, Comments\n"
    "--from FILE reads NAME=VALUE lines, and Icon= and Strings= paths relative to FILE's folder.\n";

struct Request {
  std::string input, output, icon, strings;
  std::vector<std::pair<std::string, std::u16string>> fields;
};

fs::path pathOf(const std::string& utf8) { return fs::path(std::u8string(utf8.begin(), utf8.end())); }

bool readFile(const std::string& name, brand::Bytes& bytes, std::string& error) {
  std::ifstream in(pathOf(name), std::ios::binary);
  if (in) bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  if (!in && !in.eof()) {
    error = "cannot read " + name;
    return false;
  }
  return true;
}

// Writes beside the target first, so that a failed write never leaves half a program there. The
// copy gets the permissions of `like` (on Linux: executable as the input was).
bool writeFile(const std::string& name, const brand::Bytes& bytes, const std::string& like, std::string& error) {
  fs::path target = pathOf(name), partial = pathOf(name + ".partial");
  {
    std::ofstream out(partial, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (out.close(), !out) {
      std::error_code ignored;
      fs::remove(partial, ignored);
      error = "cannot write " + name;
      return false;
    }
  }
  std::error_code failed;
  fs::permissions(partial, fs::status(pathOf(like), failed).permissions(), failed);
  fs::rename(partial, target, failed);
  if (failed) {
    fs::remove(partial, failed);
    error = "cannot write " + name;
    return false;
  }
  return true;
}

bool addField(Request& request, const std::string& assignment, const std::string& where, std::string& error) {
  std::size_t equals = assignment.find('=');
  std::string name = assignment.substr(0, equals);
  std::u16string value;
  if (equals == std::string::npos || !brand::isVersionField(name)) {
    error = where + "expected NAME=VALUE with one of the names below, not \"" + assignment + "\"\n" + kUsage;
    return false;
  }
  if (!brand::utf8ToUtf16(assignment.substr(equals + 1), value)) {
    error = where + "the value of " + name + " is not UTF-8";
    return false;
  }
  request.fields.emplace_back(name, value);
  return true;
}

// A brand description: the options as NAME=VALUE lines; "Name" names the build's executables
// and is not read here.
bool readBrandFile(Request& request, const std::string& name, std::string& error) {
  brand::Bytes bytes;
  if (!readFile(name, bytes, error)) return false;
  std::string text(bytes.begin(), bytes.end()), line;
  fs::path folder = pathOf(name).parent_path();
  auto beside = [&](const std::string& path) {
    fs::path p = pathOf(path);
    std::u8string full = (p.is_absolute() ? p : folder / p).u8string();
    return std::string(full.begin(), full.end());
  };
  for (std::size_t at = 0, number = 1; at < text.size(); ++number) {
    std::size_t end = std::min(text.find('\n', at), text.size());
    line = text.substr(at, end - at);
    at = end + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == '#' || line.rfind("Name=", 0) == 0) continue;
    std::string where = name + " line " + std::to_string(number) + ": ";
    if (line.rfind("Icon=", 0) == 0) {
      request.icon = beside(line.substr(5));
    } else if (line.rfind("Strings=", 0) == 0) {
      request.strings = beside(line.substr(8));
    } else if (!addField(request, line, where, error)) {
      return false;
    }
  }
  return true;
}

bool parseArguments(const std::vector<std::string>& args, Request& request, std::string& error) {
  std::vector<std::string> positional;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    bool takesValue = arg == "--icon" || arg == "--set" || arg == "--strings" || arg == "--from";
    if (takesValue && (i + 1 == args.size() || args[i + 1].empty())) {
      error = arg + " needs a value\n" + kUsage;
      return false;
    }
    if (arg == "--icon") {
      request.icon = args[++i];
    } else if (arg == "--strings") {
      request.strings = args[++i];
    } else if (arg == "--set") {
      if (!addField(request, args[++i], "--set: ", error)) return false;
    } else if (arg == "--from") {
      if (!readBrandFile(request, args[++i], error)) return false;
    } else if (arg.rfind("--", 0) == 0) {
      error = "unknown option " + arg + "\n" + kUsage;
      return false;
    } else {
      positional.push_back(arg);
    }
  }
  if (positional.size() != 2) {
    error = std::string("expected an INPUT and an OUTPUT file\n") + kUsage;
    return false;
  }
  request.input = positional[0];
  request.output = positional[1];
  return true;
}

bool brandFile(const Request& request, std::string& error) {
  brand::Bytes image, ico, strings;
  brand::PeLayout layout;
  std::vector<brand::Resource> resources;
  if (!readFile(request.input, image, error)) return false;
  if (!brand::readLayout(image, layout, error)) {
    error = request.input + ": " + error;
    return false;
  }
  if (!brand::readResources(image, layout, resources, error) || !brand::isLauncher(layout, resources, error)) {
    error = request.input + ": not a launcher executable of this project (" + error + ")";
    return false;
  }
  if (!request.icon.empty()) {
    if (!readFile(request.icon, ico, error)) return false;
    if (!brand::setIcon(resources, ico, error)) {
      error = request.icon + ": " + error;
      return false;
    }
  }
  if (!request.strings.empty()) {
    if (!readFile(request.strings, strings, error)) return false;
    if (!brand::replaceStrings(resources, std::string(strings.begin(), strings.end()), error)) {
      error = request.strings + ": " + error;
      return false;
    }
  }
  std::vector<std::pair<std::string, std::u16string>> fields = request.fields;
  // The file name the vendor ships under, unless the vendor says otherwise.
  bool namesOriginal = false;
  for (const auto& field : fields) namesOriginal |= field.first == "OriginalFilename";
  if (!namesOriginal) {
    std::u8string fileName = pathOf(request.output).filename().u8string();
    std::u16string value;
    if (brand::utf8ToUtf16(std::string(fileName.begin(), fileName.end()), value)) fields.emplace_back("OriginalFilename", value);
  }
  if (!brand::setVersionFields(resources, fields, error)) return false;
  if (!brand::writeResources(image, layout, std::move(resources), error)) {
    error = request.input + ": " + error;
    return false;
  }
  return writeFile(request.output, image, request.input, error);
}

int run(const std::vector<std::string>& args) {
  Request request;
  std::string error;
  if (!parseArguments(args, request, error)) {
    std::fprintf(stderr, "launcher-brand: %s\n", error.c_str());
    return 2;
  }
  if (!brandFile(request, error)) {
    std::fprintf(stderr, "launcher-brand: %s; nothing was written\n", error.c_str());
    return 1;
  }
  return 0;
}

}  // namespace

#ifdef _WIN32
// The arguments as UTF-8 whatever the console's code page, like the paths and values on Linux.
#include <windows.h>
int wmain(int argc, wchar_t** argv) {
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) {
    int size = ::WideCharToMultiByte(CP_UTF8, 0, argv[i], -1, nullptr, 0, nullptr, nullptr);
    std::string arg(size > 0 ? size - 1 : 0, '\0');
    if (size > 1) ::WideCharToMultiByte(CP_UTF8, 0, argv[i], -1, arg.data(), size, nullptr, nullptr);
    args.push_back(arg);
  }
  return run(args);
}
#else
int main(int argc, char** argv) { return run(std::vector<std::string>(argv + 1, argv + argc)); }
#endif
