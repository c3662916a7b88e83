// Undo and redo for the editor: snapshots of the board's six arrays, the
// level edited and the current colour, in a fixed ring. A change is kept as a
// state lazily, the next time the history is touched (before the following
// change, or at an undo), so one stroke of the mouse, however many cells it
// paints, is one step. A change of the level files (insert, duplicate,
// delete, move) is a step too: the state after it carries the change, which
// undo takes back and redo makes again. So is going to another level: undo
// goes back to the level left, as Previous or Next would, saving first.

#include <cstring>

#include "editor.h"
#include "rules/rules.h"

// ---- The ring ----

static const int RING = UNDO_STEPS + 1;   // states: the current one and UNDO_STEPS before it

// One state of the editor.
struct board_state {
    level_file_record grids;
    int level;        // the level edited
    int colour[3];    // the current colour, red, green, blue
    level_op change;  // the change of the level files that led here; CHANGE_NONE for an edit
};

static board_state ring[RING];
static int oldest;    // slot of the oldest state kept
static int count;     // states kept, 0 before the first use
static int current;   // position (from the oldest) of the state the board was last known to match
static int last_run;  // the repeated control of the last record (undo_record_run); 0 for none

static int32_t *const EDITOR_GRIDS[LEVEL_BLOCKS] = {leveled, ed_rr, ed_gg, ed_bb, ed_bricktype, ed_powerup};
static int *const COLOUR[3] = {&curr, &curg, &curb};

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
    for (int i = 0; i < 3; i++)
        s.colour[i] = *COLOUR[i];
    s.change.kind = CHANGE_NONE;
}

// A state back into the editor board.
static void put_board(const board_state &s)
{
    for (int i = 0; i < LEVEL_BLOCKS; i++)
        memcpy(EDITOR_GRIDS[i], s.grids.block[i].cells, sizeof(grid_record));
    edlevel = s.level;
    for (int i = 0; i < 3; i++)
        *COLOUR[i] = s.colour[i];
}

// 1 when the editor board, its level and the colour equal the state.
static int board_matches(const board_state &s)
{
    if (s.level != edlevel)
        return 0;
    for (int i = 0; i < 3; i++)
        if (s.colour[i] != *COLOUR[i])
            return 0;
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

// 1 when the state at a position is the arrival on a level gone to, with no
// change of the files: the state before it is on another level.
static int arrival(int position)
{
    return position > 0 && state_at(position).change.kind == CHANGE_NONE &&
           state_at(position - 1).level != state_at(position).level;
}

// The step from state `from` to the next state `to` (backwards: `to` comes
// before `from`), made on the files: a board that leaves its level is saved
// first, and a change of the level files is taken back or made again. 0 when
// a write failed (the failure panel says so).
static int step_files(const board_state &from, const board_state &to, int backwards)
{
    const level_op &op = backwards ? from.change : to.change;
    if ((op.kind != CHANGE_NONE || from.level != to.level) && !save_before_leaving())
        return 0;
    return op.kind == CHANGE_NONE || apply_level_op(op, backwards);
}

// ---- Interface ----

// The board as it is becomes the whole history.
void undo_reset()
{
    oldest = 0;
    count = 1;
    current = 0;
    last_run = 0;
    take_board(ring[0]);
}

void undo_record()
{
    undo_record_run(0);
}

// A run of the same control (a key or button that repeats) records only
// before its first step, so its steps together are one.
void undo_record_run(int run)
{
    if (run == 0 || run != last_run || count == 0)
        keep_board();
    last_run = run;
}

void undo_record_level_op(const level_op &op)
{
    if (count == 0)
        undo_reset();
    last_run = 0;
    push_state();
    state_at(current).change = op;
}

// The level left had no change since it was gone to: its arrival is dropped,
// so undo goes straight back to the level before it; coming back to that
// level as it was adds no step at all.
void undo_record_switch()
{
    if (count == 0) {
        undo_reset();
        return;
    }
    last_run = 0;
    if (arrival(current))
        current--;
    count = current + 1;
    if (!board_matches(state_at(current)))
        push_state();
}

// Back one state; 0 when there is none, or when its step could not be made
// on the files (the failure panel says so).
int undo()
{
    keep_board();
    last_run = 0;
    if (current == 0)
        return 0;
    if (!step_files(state_at(current), state_at(current - 1), 1))
        return 0;
    current--;
    put_board(state_at(current));
    return 1;
}

// Forward one undone state; 0 when there is none.
int redo()
{
    keep_board();
    last_run = 0;
    if (current + 1 >= count)
        return 0;
    if (!step_files(state_at(current), state_at(current + 1), 0))
        return 0;
    current++;
    put_board(state_at(current));
    return 1;
}
