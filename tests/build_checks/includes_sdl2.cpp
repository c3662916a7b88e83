// A game file that reaches for SDL's header by its other spelling. It must not
// compile either: game code finds the seal's header there.
#include <SDL2/SDL.h>

int probe_sdl2_version()
{
    return SDL_MAJOR_VERSION;
}
