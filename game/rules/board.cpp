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

brick_cells game_cells()
{
    return {board, rr, gg, bb, bricktype};
}

brick_cells editor_cells()
{
    return {leveled, ed_rr, ed_gg, ed_bb, ed_bricktype};
}

brick_cells record_cells(level_file_record &rec)
{
    return {rec.block[LEVEL_TEXTURES].cells, rec.block[LEVEL_RED].cells, rec.block[LEVEL_GREEN].cells,
            rec.block[LEVEL_BLUE].cells, rec.block[LEVEL_TYPES].cells};
}

void empty_cell(const brick_cells &cells, int k, int shade, int type)
{
    cells.texture[k] = 0;
    cells.red[k] = cells.green[k] = cells.blue[k] = shade;
    cells.type[k] = type;
}

// Empties the cells in use; power-ups and explosion marks are left alone.
void clear_board()
{
    for (int r = 1; r <= GRID_ROWS; r++)
        for (int c = 1; c <= GRID_ROWS; c++)
            empty_cell(game_cells(), grid_index(r, c), CLEARED_SHADE, BRICK_NORMAL);
}

// Empties the whole editor grid, and the explosion marks with it.
void clear_editor_board()
{
    for (int k = 0; k < GRID_CELLS; k++) {
        empty_cell(editor_cells(), k, CLEARED_SHADE, BRICK_NORMAL);
        ed_powerup[k] = 0;
        btemp[k] = 0;
        explosion[k] = 0;
    }
}
