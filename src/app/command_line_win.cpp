#include "app/command_line_win.h"

#include <windows.h>

#include "app/command_line.h"
#include "base/environment_win.h"
#include "base/wide.h"

namespace launcher {

std::vector<std::u16string> readCommandLine() { return argumentsFromCommandLine(as_u16view(::GetCommandLineW())); }

void appendExtraArguments(std::u16string_view extraArguments, std::vector<std::u16string>& arguments) {
  appendExtraTokens(expandEnvironment(extraArguments), arguments);
}

}  // namespace launcher
