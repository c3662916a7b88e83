// Explosions and the earthquake: the explosion waves and the screen shake.
// The waves themselves arrive with the ball physics.

#include "physics.h"

int in_flight;
int ball_start = 1;

int shake;
int qcount;
float qfx, qfy;

// One explosion wave; without the ball physics there is nothing to explode.
void boom_cycle()
{
}

// Shake offsets of frames 1..4 of a shake; frame 5 ends it.
static const float shake_offset[4][2] = {{-0.05f, 0.0f}, {0.05f, 0.0f}, {0.0f, 0.05f}, {0.0f, -0.05f}};

// Moves the scene through the four frames of a shake, then settles it.
void shake_step()
{
    if (shake != 1)
        return;
    qcount++;
    if (qcount >= 1 && qcount <= 4) {
        qfx = shake_offset[qcount - 1][0];
        qfy = shake_offset[qcount - 1][1];
        return;
    }
    qfx = qfy = 0.0f;
    qcount = 0;
    shake = 0;
}
