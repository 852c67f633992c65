// Leaks that are not the program's: fontconfig keeps its caches until the
// process ends. Linked into every test program.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig\n";
}
