// Ball physics: the play field's geometry, the ball state shared with the
// board, explosions and the earthquake.
#pragma once

#include <cstdint>

#include "field.h"

// Edges of the cell in row r, column c (1..20): left and right, top and bottom.
inline float cell_left(int c) { return CELL_W * (float)c + (WALL_LEFT - CELL_W); }
inline float cell_right(int c) { return CELL_W * (float)c + WALL_LEFT; }
inline float cell_top(int r) { return CEILING - CELL_H * (float)(r - 1); }
inline float cell_bottom(int r) { return CEILING - CELL_H * (float)r; }

// ---- Ball state (set by the ball driver and the launch) ----
extern int in_flight;    // [0] 1 from launch until the last ball is lost or the level ends
extern int ball_start;   // [1] 1 while the ball waits on the paddle for launch

// ---- Earthquake shake (stepped by the frame dispatcher) ----
extern int shake;        // [0] 1 while the scene shakes
extern int qcount;       // [0] frame number within the shake, 0..4
extern float qfx, qfy;   // [0] shake offset added to the scene's translation on x and y

// ---- Earthquake (set by the Earthquake! power-up, cleared when a ball is seated) ----
extern int quake;        // [0] 1 = every paddle bounce drops the bricks and shakes the scene

// ---- The paddle (paddle.cpp) ----
float mouse_paddle_x();   // where the mouse puts the paddle's left edge, before the walls stop it
// The paddle's left edge goes to x, held between the walls, once a frame
// outside the title's fade-in and the pause; held balls move with it.
void move_paddle(float x);

// ---- Explosions and earthquake (explosions.cpp) ----
void mark_neighbours(int32_t *mark, int row, int col);  // mark[] = 1 in the cell's neighbours inside the grid
void blowup(int row, int col);       // clear the cell's mark and mark its four neighbours to explode
void blowup_temp(int row, int col);  // mark the four neighbours in btemp (the blast of the chain)
void boom_cycle();       // one explosion wave over the whole board
void equake();           // drop every brick with a free cell below by one row, once a frame
void shake_step();       // one frame of the shake sequence; run at the start of every frame

// ---- Debris of broken bricks (debris.cpp) ----
constexpr int DEBRIS_PIECES = 8;     // a brick falls apart into 2 rows of 4 pieces
constexpr int DEBRIS_RECORDS = 400;  // one record per brick cell, numbered 1..400

// The debris of one brick cell, record (column - 1) * 20 + row. Positions are
// in drawing coordinates (field x - 3).
struct debris_record {
    float left[DEBRIS_PIECES], right[DEBRIS_PIECES];   // x of each piece's edges
    float top[DEBRIS_PIECES], bottom[DEBRIS_PIECES];   // y of each piece's edges
    float z[DEBRIS_PIECES];                            // depth, -5.0
    int life;                                          // frames left; 0 = the record is idle
    int look;                                          // the brick's texture number (board value)
    int red, green, blue;                              // the brick's colour, 0..127
    int direction[DEBRIS_PIECES];                      // sideways drift of each piece, +1 or -1
    float fall[DEBRIS_PIECES];                         // fall speed of each piece, per frame
};
extern debris_record particle[DEBRIS_RECORDS + 1];     // entry 0 unused

// ---- Ball drawing (balldraw.cpp) ----
void render_balls();     // draw every ball in play, with its glow; leaves depth test on, blending off
