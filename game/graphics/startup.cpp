// The start-up loading run once the rendering context is current.

#include "graphics.h"

// The fonts, images, editor levels, icons and the default level set arrive
// with the texture and text loaders; until then start-up loads nothing.
int load_startup()
{
    return 1;
}
