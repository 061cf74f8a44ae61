// instancepeer MODE EXE MS: holds the single-instance block of the launcher at EXE for MS
// milliseconds, its header as an owner that went wrong leaves it, and prints "holding" once it
// is in place. MODE:
//   unset     the header is all zero: an owner that never finished setting up
//   ended     it names this process and a listener thread that has ended: an owner that crashed
//             or is ending
//   no-queue  it names a live thread of this process that has no message queue, so a request
//             posted to it cannot arrive
// A launcher started meanwhile must run as an ordinary first instance.

#include <windows.h>

#include <cstdio>
#include <string>

#include "instance/instance_block.h"

namespace {

DWORD WINAPI idle(void*) {
  Sleep(INFINITE);
  return 0;
}

DWORD WINAPI nothing(void*) { return 0; }

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: instancepeer unset|ended|no-queue EXE MS\n");
    return 64;
  }
  const std::wstring mode = argv[1];
  wchar_t path[MAX_PATH];
  if (GetFullPathNameW(argv[2], MAX_PATH, path, nullptr) == 0) return 65;
  std::wstring name = path;
  for (wchar_t& c : name) {
    if (c == L'\\') c = L'_';
  }
  HANDLE mapping = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                      sizeof(launcher::SharedInstanceBlock), name.c_str());
  auto* block = mapping ? static_cast<launcher::SharedInstanceBlock*>(MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, 0))
                        : nullptr;
  if (block == nullptr) return 66;
  DWORD threadId = 0;
  if (mode == L"ended") {
    HANDLE thread = CreateThread(nullptr, 0, nothing, nullptr, 0, &threadId);
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
  } else if (mode == L"no-queue") {
    CloseHandle(CreateThread(nullptr, 0, idle, nullptr, 0, &threadId));
  } else if (mode != L"unset") {
    return 64;
  }
  if (threadId != 0) {
    block->forwardMessage = RegisterWindowMessageW(name.c_str());
    block->ownerProcessId = GetCurrentProcessId();
    block->listenerThreadId = threadId;
  }
  std::printf("holding\n");
  std::fflush(stdout);
  Sleep(static_cast<DWORD>(_wtol(argv[3])));
  return 0;
}
