// The sound effects: loading them once at start-up.

#include "audio.h"

// The twelve effects load here once the effect files are part of the game.
void init_oal()
{
}
