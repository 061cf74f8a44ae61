#pragma once
// The launcher's own version, for its version resource and the branding command.
#define LAUNCHER_VERSION_NUMBERS 0, 1, 0, 0
#define LAUNCHER_VERSION_TEXT "0.1.0.0"
