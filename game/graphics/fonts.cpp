// The two outline fonts: their display lists and their release.

#include "graphics.h"

GLuint base;
GLuint sbase;

void KillFont()
{
    if (base)
        glDeleteLists(base, 256);
    base = 0;
}

void KillsFont()
{
    if (sbase)
        glDeleteLists(sbase, 256);
    sbase = 0;
}
