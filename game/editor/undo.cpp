// Undo and redo for the editor board: snapshots of its six arrays in a fixed
// ring. A change is kept as a state lazily, the next time the history is
// touched (before the following change, or at an undo), so one stroke of
// the mouse, however many cells it paints, is one step. A change of the level
// files (insert, duplicate, delete, move) is a step too: the state after it
// carries the change, which undo takes back and redo makes again.

#include <cstring>

#include "editor.h"
#include "rules/rules.h"

// ---- The ring ----

static const int RING = UNDO_STEPS + 1;   // states: the current one and UNDO_STEPS before it

// One state of the editor board.
struct board_state {
    level_file_record grids;
    int level;        // the level edited
    level_op change;  // the change of the level files that led here; CHANGE_NONE for an edit
};

static board_state ring[RING];
static int oldest;    // slot of the oldest state kept
static int count;     // states kept, 0 before the first use
static int current;   // position (from the oldest) of the state the board was last known to match

static int32_t *const EDITOR_GRIDS[LEVEL_BLOCKS] = {leveled, ed_rr, ed_gg, ed_bb, ed_bricktype, ed_powerup};

// ---- Board and state ----

// The state kept at a position counted from the oldest.
static board_state &state_at(int position)
{
    return ring[(oldest + position) % RING];
}

// The editor board into a state.
static void take_board(board_state &s)
{
    for (int i = 0; i < LEVEL_BLOCKS; i++)
        memcpy(s.grids.block[i].cells, EDITOR_GRIDS[i], sizeof(grid_record));
    s.level = edlevel;
    s.change.kind = CHANGE_NONE;
}

// A state back into the editor board.
static void put_board(const board_state &s)
{
    for (int i = 0; i < LEVEL_BLOCKS; i++)
        memcpy(EDITOR_GRIDS[i], s.grids.block[i].cells, sizeof(grid_record));
    edlevel = s.level;
}

// 1 when the editor board equals the state.
static int board_matches(const board_state &s)
{
    for (int i = 0; i < LEVEL_BLOCKS; i++)
        if (memcmp(s.grids.block[i].cells, EDITOR_GRIDS[i], sizeof(grid_record)) != 0)
            return 0;
    return 1;
}

static void push_state();

// When the board has changed since its state was kept, the board becomes the
// newest state: the undone states beyond it are dropped, and a full ring
// gives up its oldest.
static void keep_board()
{
    if (count == 0) {
        undo_reset();
        return;
    }
    if (board_matches(state_at(current)))
        return;
    push_state();
}

// The board becomes the newest state, after the current one.
static void push_state()
{
    count = current + 1;
    if (count == RING) {
        oldest = (oldest + 1) % RING;
        count--;
    }
    take_board(state_at(count));
    current = count;
    count++;
}

// ---- Interface ----

// The board as it is becomes the whole history.
void undo_reset()
{
    oldest = 0;
    count = 1;
    current = 0;
    take_board(ring[0]);
}

// Called before a change, so the board as it is stays reachable.
void undo_record()
{
    keep_board();
}

void undo_record_level_op(const level_op &op)
{
    if (count == 0)
        undo_reset();
    push_state();
    state_at(current).change = op;
}

// Back one state; 0 when there is none, or when its change of the level
// files could not be taken back (the failure panel says so).
int undo()
{
    keep_board();
    if (current == 0)
        return 0;
    const board_state &s = state_at(current);
    if (s.change.kind != CHANGE_NONE && !apply_level_op(s.change, 1))
        return 0;
    current--;
    put_board(state_at(current));
    return 1;
}

// Forward one undone state; 0 when there is none.
int redo()
{
    keep_board();
    if (current + 1 >= count)
        return 0;
    const board_state &s = state_at(current + 1);
    if (s.change.kind != CHANGE_NONE && !apply_level_op(s.change, 0))
        return 0;
    current++;
    put_board(state_at(current));
    return 1;
}
