// Brick debris: spawned when a brick breaks, moved and drawn every frame.

#include "ball.h"

// No brick breaks before the play routines arrive, so there is no debris yet.
void draw_particles()
{
}

void broken(int, int, int, int, int, int)
{
}
