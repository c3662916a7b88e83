// Defaults of the sanitizer builds (CORVALE_SANITIZE), built into every
// program: any report ends the program with a failure, and leak reports leave
// out only memory that system libraries keep for the life of the process
// (driver state, caches, thread data) and never free at exit. None of them is
// the game's own code: a leak in the game, its sound library, the setup
// program or the tests is always reported. Empty in ordinary builds.

#if defined(__has_feature)
#if __has_feature(address_sanitizer)

extern "C" {

// AddressSanitizer: stop at the first error, and look for leaks at exit.
const char *__asan_default_options()
{
    return "detect_leaks=1:abort_on_error=1";
}

// UndefinedBehaviorSanitizer: a stack for each report, and stop there.
const char *__ubsan_default_options()
{
    return "print_stacktrace=1:halt_on_error=1";
}

// LeakSanitizer: the suppressions below are expected; do not list them.
const char *__lsan_default_options()
{
    return "print_suppressions=0";
}

// The libraries whose lifetime allocations are not reported as leaks: Mesa's
// GL dispatch, llvmpipe and its LLVM code generator; fontconfig's
// configuration and caches; OpenAL Soft's device threads; the X, D-Bus and
// SDL platform layers.
const char *__lsan_default_suppressions()
{
    return "leak:libGLX_mesa.so\n"
           "leak:libgallium\n"
           "leak:swrast_dri.so\n"
           "leak:libLLVM\n"
           "leak:libglapi.so\n"
           "leak:libfontconfig.so\n"
           "leak:libopenal.so\n"
           "leak:libX11.so\n"
           "leak:libdbus\n"
           "leak:libSDL2\n";
}

}  // extern "C"

#endif
#endif
