// The game's random numbers: two generators of the classic linear-congruential
// kind the game was tuned with. Play draws only from its own, seeded once when
// a game starts, so a game follows from its seed and its inputs alone; the
// music order and the effects' pitch draw from the other, mixed with the clock,
// so sound never changes what play does.

#include <ctime>

#include "shell.h"

static unsigned rand_state = 1;    // play's generator
static unsigned sound_state = 1;   // the sound's generator

// One step of the generator held in state: 0..32767.
static int lcg_step(unsigned *state)
{
    *state = *state * 214013u + 2531011u;
    return (int)((*state >> 16) & 0x7fff);
}

void crt_srand(unsigned seed)
{
    rand_state = seed;
}

int crt_rand()
{
    return lcg_step(&rand_state);
}

unsigned random_state()
{
    return rand_state;
}

int randn(int n)
{
    if (n < 1)
        n = 1;
    return crt_rand() % n + 1;
}

// The sound's generator is mixed with the clock before each draw, so two
// draws within the same second still differ. Adding twice the clock keeps the
// draws one full-period sequence whatever the second.
int sound_rand()
{
    sound_state += 2u * (unsigned)time(nullptr);
    return lcg_step(&sound_state);
}

unsigned fresh_seed()
{
    return (unsigned)sound_rand() << 16 ^ (unsigned)time(nullptr) ^ (unsigned)sound_rand();
}
