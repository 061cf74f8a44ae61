/* A stand-in for the Java runtime's splash library, for the end-to-end tests: the same four C
 * entries, undecorated and of the C calling convention, each appending a line to the file named
 * by TESTSPLASH_LOG (default splash-calls.txt in the current folder) with the bytes it received
 * in hex. SplashLoadFile answers 1 only when the file it was given opens (and records its answer),
 * 0 whenever TESTSPLASH_LOAD_FAILS is set. Variants leave out an
 * entry (TESTSPLASH_WITHOUT_JAR_NAME) or add the two entries of a scaled monitor
 * (TESTSPLASH_WITH_SCALE): SplashGetScaledImageName answers the name TESTSPLASH_SCALED_NAME holds
 * (none when unset) with the factor 2, and SplashSetScaleFactor records the factor it receives. */
#include <windows.h>

#include <stdio.h>
#include <string.h>

static void record(const char* entry, const char* first, const char* second, const char* result) {
  char path[MAX_PATH] = "splash-calls.txt";
  GetEnvironmentVariableA("TESTSPLASH_LOG", path, MAX_PATH);
  FILE* log = fopen(path, "ab");
  if (!log) return;
  fputs(entry, log);
  const char* texts[2] = {first, second};
  for (int i = 0; i < 2 && texts[i]; ++i) {
    fputc(' ', log);
    fputc('[', log);
    for (const unsigned char* c = (const unsigned char*)texts[i]; *c; ++c) fprintf(log, "%02x", *c);
    fputc(']', log);
  }
  if (result) fprintf(log, " -> %s", result);
  fputc('\n', log);
  fclose(log);
}

__declspec(dllexport) void __cdecl SplashInit(void) { record("SplashInit", NULL, NULL, NULL); }

__declspec(dllexport) int __cdecl SplashLoadFile(const char* fileName) {
  HANDLE file = CreateFileA(fileName, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
  int loaded = file != INVALID_HANDLE_VALUE;
  if (loaded) CloseHandle(file);
  /* TESTSPLASH_LOAD_FAILS: as for an image in a format the library does not read. */
  if (GetEnvironmentVariableA("TESTSPLASH_LOAD_FAILS", NULL, 0) > 0) loaded = 0;
  record("SplashLoadFile", fileName, NULL, loaded ? "1" : "0");
  return loaded;
}

#ifndef TESTSPLASH_WITHOUT_JAR_NAME
__declspec(dllexport) void __cdecl SplashSetFileJarName(const char* fileName, const char* jarName) {
  record("SplashSetFileJarName", fileName, jarName, NULL);
}
#endif

#ifdef TESTSPLASH_WITH_SCALE
__declspec(dllexport) char* __cdecl SplashGetScaledImageName(const char* jarName, const char* fileName,
                                                            float* scaleFactor) {
  static char name[MAX_PATH];
  DWORD length = GetEnvironmentVariableA("TESTSPLASH_SCALED_NAME", name, MAX_PATH);
  record("SplashGetScaledImageName", fileName, jarName ? jarName : "(null)", length ? name : "none");
  if (length == 0 || length >= MAX_PATH) return NULL;
  *scaleFactor = 2.0f;
  /* The runtime's library hands out memory of its own; the caller never frees it. */
  char* copy = (char*)HeapAlloc(GetProcessHeap(), 0, length + 1);
  if (copy) memcpy(copy, name, length + 1);
  return copy;
}

__declspec(dllexport) void __cdecl SplashSetScaleFactor(float scaleFactor) {
  char text[32];
  snprintf(text, sizeof text, "%.2f", scaleFactor);
  record("SplashSetScaleFactor", NULL, NULL, text);
}
#endif

__declspec(dllexport) void __cdecl SplashClose(void) { record("SplashClose", NULL, NULL, NULL); }
