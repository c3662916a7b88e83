/* Preloaded into the game by the frame benchmark: stamps every presented
 * frame. Each call of SDL_GL_SwapWindow is passed on, then one line is
 * appended to the file named by SWAPSTAMP_FILE: the monotonic time and the
 * process's processor time after the swap, both in nanoseconds. The first
 * line holds the time the process was loaded, so the first frame's delay can
 * be measured. Nothing is written when the variable is not set. */

#define _GNU_SOURCE
#include <dlfcn.h>
#include <stdio.h>
#include <stdlib.h>
#include <time.h>

typedef void (*swap_fn)(void *window);

static FILE *out;
static swap_fn real_swap;

/* A clock's reading in nanoseconds. */
static long long stamp(clockid_t clock)
{
    struct timespec t;
    clock_gettime(clock, &t);
    return (long long)t.tv_sec * 1000000000LL + t.tv_nsec;
}

/* Opens the stamp file when the game is loaded and notes the load time. */
__attribute__((constructor)) static void open_stamps(void)
{
    const char *path = getenv("SWAPSTAMP_FILE");
    if (!path)
        return;
    out = fopen(path, "w");
    if (out) {
        fprintf(out, "%lld %lld\n", stamp(CLOCK_MONOTONIC), stamp(CLOCK_PROCESS_CPUTIME_ID));
        fflush(out);
    }
}

/* The game's buffer swap, followed by the frame's stamp. */
void SDL_GL_SwapWindow(void *window)
{
    if (!real_swap)
        real_swap = (swap_fn)dlsym(RTLD_NEXT, "SDL_GL_SwapWindow");
    real_swap(window);
    if (out) {
        fprintf(out, "%lld %lld\n", stamp(CLOCK_MONOTONIC), stamp(CLOCK_PROCESS_CPUTIME_ID));
        fflush(out);
    }
}
