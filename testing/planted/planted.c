/* planted: what someone could leave in the folder a user starts the launcher from, or in a
   folder on Path. Each copy ends the process at once with PLANTED_EXIT, so an end-to-end case
   sees from the exit code that it ran: as a library (jvm.dll, or the library the test runtime
   imports, whose function it also exports) when it is loaded, as a program when it is started. */
#include <windows.h>

#ifdef PLANTED_PROGRAM
int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR line, int show) {
  (void)instance, (void)previous, (void)line, (void)show;
  return PLANTED_EXIT;
}
#else
BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  (void)instance, (void)reserved;
  if (reason == DLL_PROCESS_ATTACH) ExitProcess(PLANTED_EXIT);
  return TRUE;
}

__declspec(dllexport) int testjvmDependency(void) { return 0; }
#endif
