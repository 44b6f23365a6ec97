// In sanitizer builds: allocations that the system's font and graphics libraries keep for the life of
// the process are not leaks of ours (the same list as scripts/lsan.supp, for runs without it).
#if defined(__SANITIZE_ADDRESS__)
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig\nleak:libdbus\nleak:libglib\n";
}
extern "C" const char* __lsan_default_options() {
    return "print_suppressions=0";
}
#endif
