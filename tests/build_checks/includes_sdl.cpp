// A game file that reaches for the platform library's headers. It must not
// compile: only the platform files are built with SDL's include folder.
#include <SDL.h>

int probe_sdl_version()
{
    return SDL_MAJOR_VERSION;
}
