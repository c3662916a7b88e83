// The board and level model: the game and editor grids and the level state.

#include "rules.h"

int32_t board[GRID_CELLS];
int32_t bricktype[GRID_CELLS];
int32_t rr[GRID_CELLS];
int32_t gg[GRID_CELLS];
int32_t bb[GRID_CELLS];
int32_t powerup[GRID_CELLS];
int32_t explosion[GRID_CELLS];
int32_t btemp[GRID_CELLS];

int32_t leveled[GRID_CELLS];
int32_t ed_rr[GRID_CELLS];
int32_t ed_gg[GRID_CELLS];
int32_t ed_bb[GRID_CELLS];
int32_t ed_bricktype[GRID_CELLS];
int32_t ed_powerup[GRID_CELLS];

int level = 1;
int level_total;
level_set_header fhead;
int difficulty = 1;
int texmax;
int curlevel = 1;
int backmax;
int backnum;

// Empties the cells in use; power-ups and explosion marks are left alone.
void clear_board()
{
    for (int r = 1; r <= GRID_ROWS; r++)
        for (int c = 1; c <= GRID_ROWS; c++) {
            int k = grid_index(r, c);
            board[k] = 0;
            rr[k] = gg[k] = bb[k] = 128;
            bricktype[k] = BRICK_NORMAL;
        }
}

// Empties the whole editor grid, and the explosion marks with it.
void clear_editor_board()
{
    for (int k = 0; k < GRID_CELLS; k++) {
        leveled[k] = 0;
        ed_rr[k] = ed_gg[k] = ed_bb[k] = 128;
        ed_bricktype[k] = BRICK_NORMAL;
        ed_powerup[k] = 0;
        btemp[k] = 0;
        explosion[k] = 0;
    }
}
