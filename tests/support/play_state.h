// A game in progress for the rule and physics tests, set straight into the
// game's state: no menus, files or frames.
#pragma once

#include <cstdint>

// An empty board with no explosion marks, debris or falling power-ups; ball 1
// in flight (moving right and up) and the other slots empty; the play screen
// up, Normal, level 1, the first life, no score; the normal ball and paddle,
// no power-up in force.
void reset_play();

// A brick of the type at (r, c), red 20, holding the power-up kind.
void place_brick(int r, int c, int type, int kind = 0);

// The cells of rows and columns 1..20 of a grid (the board, an editor grid)
// that are not 0.
int cells_set(const int32_t *grid);
