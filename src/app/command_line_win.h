#pragma once
// The launcher's arguments from Windows: the process's command line and the "Cmd" setting.

#include <string>
#include <string_view>
#include <vector>

namespace launcher {

// The arguments for the Java program from GetCommandLineW(), without the program path.
std::vector<std::u16string> readCommandLine();

// Appends the non-empty tokens of the "Cmd" setting, with its environment references expanded,
// after the command-line arguments.
void appendExtraArguments(std::u16string_view extraArguments, std::vector<std::u16string>& arguments);

}  // namespace launcher
