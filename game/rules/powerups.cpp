// Power-ups: the falling icons, the paddle's catch test and the effects.
// Their motion and effects arrive with the game rules; the slots live here now.

#include "rules.h"

int pup[7];

// Moves and draws the falling power-ups; none fall until bricks can break.
void update_powerups()
{
}

// Tests the falling power-ups against the paddle; none fall yet.
void powerup_check()
{
}
