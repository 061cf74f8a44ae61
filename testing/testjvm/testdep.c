/* The library the "with-dependency" test runtime imports, as a real runtime's jvm.dll imports the
   C runtime it ships in its bin folder. */
__declspec(dllexport) int testjvmDependency(void) { return 42; }
