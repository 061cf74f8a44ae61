/* A minimal DLL, built for each architecture, for the tests that read module headers. */
__declspec(dllexport) int probe(void) { return 1; }
