// The balls: per-ball state (slots 1..16) and the shared sizes the paddle,
// the power-ups and the launch work with.
#pragma once

extern int balls[17];          // 1 = the slot holds a ball in play
extern float xpos[17], ypos[17];            // ball centres, field units
extern float xspeed[17], yspeed[17];        // step per frame on each axis, never negative
extern float xdirection[17], ydirection[17];  // +1.0 or -1.0
extern int glu[17];            // 1 = held on the paddle by the sticky paddle
extern int b;                  // the ball being processed
extern float ballsize;         // ball radius, 0.04 normally
extern float paddle_size;      // paddle length, 0.5 normally
extern int glued;              // 1 while the sticky paddle is in force
extern int lastbounce;         // the last thing the ball bounced off (1 = paddle)

void Ball();                   // move, collide and draw every ball for one frame
void draw_particles();         // move and draw the brick debris
void broken(int row, int col, int tex, int r, int g, int bl);  // debris for a destroyed brick
