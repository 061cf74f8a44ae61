#pragma once
// The VM's options and the launch settings that go with them, assembled from the settings file
// once the runtime is loaded.

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace launcher {

struct VmSetup {
  // Option strings for the VM, in the thread's ANSI code page.
  std::vector<std::string> vmOptions;
  // Stack size of the Java main thread in bytes; 0 asks for the VM's default.
  std::uint32_t mainThreadStackSize = 0;
  std::u16string outputFile;
  std::u16string errorFile;
  bool outputAppend = false;
  bool errorAppend = false;
};

// Adds the class path option and the user's VM parameters to `setup.vmOptions`, sets the stack
// size and the output and error files, and appends the "Cmd" arguments to `arguments`. False
// when the settings file cannot be located or the class path comes out empty (the user is told
// with message 209); the launch goes on either way, with what was set.
bool assembleVmOptions(HWND messageOwner, VmSetup& setup, std::vector<std::u16string>& arguments);

}  // namespace launcher
