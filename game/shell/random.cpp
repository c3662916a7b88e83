// The game's random numbers: the classic linear-congruential generator the game
// was tuned with, and randn, which reseeds it before every draw.

#include <ctime>

#include "shell.h"

static unsigned rand_state = 1;

void crt_srand(unsigned seed)
{
    rand_state = seed;
}

int crt_rand()
{
    rand_state = rand_state * 214013u + 2531011u;
    return (int)((rand_state >> 16) & 0x7fff);
}

// Seeds the generator from its own state and the clock, so that two reseeds
// within the same second still give different sequences. Adding twice the
// clock keeps the draws one full-period sequence whatever the second; a seed
// made by multiplying by the clock fell, in some seconds, into a cycle so short
// that some values never came.
void reseed_random()
{
    unsigned now = (unsigned)time(nullptr);
    crt_srand(rand_state + 2u * now);
}

int randn(int n)
{
    if (n < 1)
        n = 1;
    reseed_random();
    return crt_rand() % n + 1;
}
