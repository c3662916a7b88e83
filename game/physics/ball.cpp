// The balls' state, and the per-frame ball driver.

#include "ball.h"

int balls[17];
float xpos[17], ypos[17];
float xspeed[17], yspeed[17];
float xdirection[17], ydirection[17];
int glu[17];
int b;
float ballsize = 0.04f;
float paddle_size = 0.5f;
int glued;
int lastbounce;

// Ball motion and collisions arrive with the play routines; until then no
// ball is ever put in flight.
void Ball()
{
}
