// The balls: per-ball state (slots 1..16), the shared sizes the paddle, the
// power-ups and the launch work with, and the ball, paddle and brick tests.
#pragma once

// ---- Per-ball state, slots 1..16 (entry 0 is reset with the others, never used) ----
extern int balls[17];          // 1 = the slot holds a ball in play
extern float xpos[17], ypos[17];            // ball centres, field units
extern float xspeed[17], yspeed[17];        // step per frame on each axis, never negative
extern float xdirection[17], ydirection[17];  // +1.0 or -1.0
extern int glu[17];            // 1 = held on the paddle by the sticky paddle

// ---- Shared ball scalars ----
extern int b;                  // the ball being processed by every collision routine
extern float ballsize;         // ball radius [0.04]; above 0.04 is a big ball
extern float paddle_size;      // paddle length [0.5]; 0.25 and 1.0 under power-ups
extern int glued;              // [0] 1 while the sticky paddle is in force
extern int lastbounce;         // the last thing the ball bounced off (1 = paddle)
extern int ballcount;          // slots whose balls entry is 1, recounted while no menu is up
extern int through;            // [0] Heavy Ball: balls pass through bricks unturned
extern int exploding;          // [0] Nuclear Ball: every struck brick explodes
// [0] 1 while the frames fall short of 60 a second: each ball then tests only
// the columns under its centre and edges, not the whole board. Play's input,
// so a replay steps as the game did.
extern int slow_frame;

// ---- Brick test state ----
extern int done_for_frame;     // 1 once the current ball was turned by a brick this frame
extern float bstartx, bstarty; // left and top edge of the brick cell under test
extern int foundx;             // column found by the cell lookup, kept between calls [1]

// ---- Ball driver (ball.cpp) ----
void move_balls();             // move and collide every ball for one frame; draws nothing
void draw_balls();             // draw the balls in play
void height_check();           // seat ball b on the paddle while it waits for launch
void collision_check();        // move ball b one step and run its wall, paddle and brick tests
void ballcounter();            // recount ballcount from balls[1..16] while no menu is up
void unglue(int step = 0);     // release every held ball in place; step 1: each moves one step
// Puts the balls on their way from the paddle: one ball, or after a level
// finished without losing a life, as many as the level number (up to four).
void launch_ball();
float seated_y();              // centre height of a ball resting on the paddle

// ---- Paddle (paddle.cpp) ----
extern float paddlex;          // paddle's left edge, field units [2.75]
extern float paddle_temp, xDiff;  // paddle x before this frame's move; old minus new
void draw_paddle();            // the paddle; untextured, in its plain shade, in the classic look
void paddle_collide();         // catch ball b on the paddle's bands, or lose it below the line

// ---- Bricks (bricks.cpp) ----
int ccheck(int row, int col);  // 1 when ball b touches the cell at (bstartx, bstarty); hit applied
void findbrick(int mode);      // test the column under ball b: 1 centre, 2 left edge, 3 right edge
void find_direction();         // turn ball b off the cell at (bstartx, bstarty)
void brick_scan();             // test ball b against every occupied cell of the board
// 1 when any of the up to 441 samples of the square of half-side r around
// (nx, ny) lies in the cell with left edge x0 and top edge y0: the literal test.
int sample_touches(float nx, float ny, float r, float x0, float y0);
// The same answer, but a cell the sampled square cannot reach is refused at once.
int ball_touches_cell(float nx, float ny, float r, float x0, float y0);

// ---- Debris (debris.cpp) ----
void draw_particles();         // draw the brick debris where it is
// One frame of the debris: each live record ages a frame and its pieces move;
// nothing while paused, in the classic look or with particles off.
void step_debris();
void debris_box(int n, int box[4]);  // window pixels record n's pieces may touch (field_box)
void broken(int row, int col, int tex, int r, int g, int bl);  // debris for a destroyed brick
