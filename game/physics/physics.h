// Ball physics: the play field's geometry, the ball state shared with the
// board, explosions and the earthquake.
#pragma once

// ---- Play-field geometry (field units, plane z = -5, y upwards) ----
constexpr float FIELD_SHIFT = -3.0f;   // translation on x applied before drawing the field
constexpr float FIELD_Z = -5.0f;       // depth of the play field
constexpr float WALL_LEFT = 0.5f;      // left wall; also the left edge of grid column 1
constexpr float WALL_RIGHT = 5.5f;     // right wall
constexpr float CEILING = 2.0f;        // ceiling; also the top edge of grid row 1
constexpr float PADDLE_TOP = -1.5f;    // top of the paddle
constexpr float LOSS_LINE = -1.6f;     // a ball below this is lost
constexpr float CELL_W = 0.25f;        // width of a brick cell
constexpr float CELL_H = 0.12f;        // height of a brick cell

// ---- Ball state (set by the ball driver and the launch) ----
extern int in_flight;    // [0] 1 from launch until the last ball is lost or the level ends
extern int ball_start;   // [1] 1 while the ball waits on the paddle for launch

// ---- Earthquake shake (stepped by the frame dispatcher) ----
extern int shake;        // [0] 1 while the scene shakes
extern int qcount;       // [0] frame number within the shake, 0..4
extern float qfx, qfy;   // [0] shake offset added to the scene's translation on x and y

// ---- Explosions and earthquake (explosions.cpp) ----
void boom_cycle();       // one explosion wave over the whole board
void shake_step();       // one frame of the shake sequence; run at the start of every frame
