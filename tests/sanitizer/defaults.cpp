// Defaults of the sanitizer builds (CORVALE_SANITIZE), linked into every
// program and test of such a build: any report ends the program with a
// failure, and leak reports leave out only the third-party libraries named
// in lsan.supp beside this file. None of them is the game's own code.

extern "C" {

// AddressSanitizer: stop at the first error, and look for leaks at exit.
// __tls_get_addr is not intercepted: clang 14's runtime takes a thread-local
// block of a loaded library (the GL driver's) that happens to start 16 bytes
// past a page boundary for one with a glibc header in front of it, reads
// the allocator's own chunk header as that header, and the leak check then
// scans a made-up range and crashes, by chance of the heap's layout. Those
// blocks are ordinary heap blocks that glibc's per-thread table points to,
// so the leak check still follows what they hold.
const char *__asan_default_options()
{
    return "detect_leaks=1:abort_on_error=1:intercept_tls_get_addr=0";
}

// UndefinedBehaviorSanitizer: a stack for each report, and stop there.
const char *__ubsan_default_options()
{
    return "print_stacktrace=1:halt_on_error=1";
}

// LeakSanitizer: the suppressions file; its matches are expected, so unlisted.
const char *__lsan_default_options()
{
    return "suppressions=" CORVALE_LSAN_SUPPRESSIONS ":print_suppressions=0";
}

// Libraries stay mapped until the program ends. The GL driver loads and
// unloads its modules (EGL, GLX, llvmpipe) as contexts come and go; once a
// module is gone, a leak report can no longer name it and so could not be
// told apart from one of ours.
int dlclose(void *)
{
    return 0;
}

}  // extern "C"
