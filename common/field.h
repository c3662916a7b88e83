// The play field's geometry, named once for the game and the asset tools:
// walls, ceiling, paddle line, loss line and the brick cell's size.
#pragma once

// ---- Play-field geometry (field units, plane z = -5, y upwards) ----
constexpr float FIELD_SHIFT = -3.0f;   // translation on x applied before drawing the field
constexpr float FIELD_Z = -5.0f;       // depth of the play field
constexpr float WALL_LEFT = 0.5f;      // left wall; also the left edge of grid column 1
constexpr float WALL_RIGHT = 5.5f;     // right wall
constexpr float CEILING = 2.0f;        // ceiling; also the top edge of grid row 1
constexpr float PADDLE_TOP = -1.5f;    // top of the paddle
constexpr float PADDLE_BOTTOM = -1.6f; // bottom of the paddle
constexpr float LOSS_LINE = -1.6f;     // a ball below this is lost
// The paddle's three lengths: shrunk, normal, expanded.
constexpr float PADDLE_SHORT = 0.25f, PADDLE_NORMAL = 0.5f, PADDLE_LONG = 1.0f;
// A brick cell's size. The collision tests add them in double precision, as
// the game always has; the drawing takes them as floats.
constexpr double CELL_WIDTH = 0.25, CELL_HEIGHT = 0.12;
constexpr float CELL_W = (float)CELL_WIDTH, CELL_H = (float)CELL_HEIGHT;
static_assert(CELL_H == 0.12f, "the float cell height is the nearest float to 0.12");
static_assert(2 * CELL_HEIGHT == 0.24 && 2 * CELL_WIDTH == 0.5, "two cells are exactly 0.24 high and 0.5 wide");
