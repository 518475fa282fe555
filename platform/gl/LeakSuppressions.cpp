// Leak-checker suppressions of sanitized builds, for memory that libraries under the platform
// layer keep until the process ends and that is not ours to free: fontconfig keeps its parsed
// configuration, and Mesa keeps about 200 bytes for every OpenGL context ever made current.
// Defined in the platform library so every program and test that links it is covered.
#if defined(__SANITIZE_ADDRESS__)
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\nleak:libOSMesa.so\n";
}
#endif
