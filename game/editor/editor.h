// The level editor: canvas, toolbar, shortcuts, undo, and its files and dialogs.
#pragma once

#include "formats.h"

// ---- Interaction (canvas.cpp) ----
extern int drag;       // [0] 1 from a left press to its release: hovered cells get the current brick
extern int edrag;      // [0] 1 from a right press to its release: hovered cells are erased
extern int get_drops;  // [0] 1 after a press on the Eyedropper button, until that press arms it
extern int dropped;    // [0] 1 while the eyedropper is armed: hovered bricks are copied

// ---- Current brick and views (canvas.cpp) ----
extern int edlevel;    // [1] number of the level being edited, user_data/l%d.raw
extern int texnumber;  // [1] current brick texture number, 1..texmax
extern int curr, curg, curb;  // [127] current colour, each 0..127
extern int curbrick;   // [1] current brick type code
extern int guibrick;   // [1] position 1..5 of the current type in the type list
extern int curpup;     // [1] current power-up kind, 1..maxpup
extern int grid;       // [1] empty cells drawn as a grid
extern int visible;    // [1] overlays on invisible and multi-hit bricks
extern int pupedit;    // [0] the power-up layer is being edited
extern int selx, sely; // row and column of the cell under the pointer this frame; 0 when none

extern const int brick_selector_map[6];  // type-list position 1..5 -> type code (1, 4, 2, 5, 3)

// ---- Editor frame and canvas (canvas.cpp) ----
unsigned editor_texture(int n);  // GL name of the editor's brick texture n; 0 outside its table
void editor();         // the editor's frame: toolbar, level line, canvas, dialogs, pointer
void edit_pups();      // the power-up layer over the canvas
void editor_paint();   // a left press: eyedropper, brick laying or power-up placing on (selx, sely)
void editor_erase();   // a right press: erase the brick or clear the power-up on (selx, sely)
void editor_release(int erase);  // the left (0) or right (1) button let go: the tool's gesture ends
void test_play();      // play the edited level as a test game; refused when it has no brick
void leave_editor();   // back to the main menu

// ---- Drawing tools (tools.cpp): each marks cells in a mask of GRID_CELLS bytes ----
enum edit_tool {
    TOOL_BRUSH,   // paints every cell the pointer passes; with Shift a line
    TOOL_LINE,    // a straight line from the press to the release
    TOOL_RECT,    // a rectangle's outline from the press to the release
    TOOL_BOX,     // a filled rectangle
    TOOL_FILL,    // the connected cells matching the pressed one
    TOOL_KINDS
};
extern int edtool;     // [TOOL_BRUSH] the tool of the left and right buttons
extern int mirror;     // [0] every edit is made mirrored about the board's vertical middle too
int mirror_column(int c, int columns);  // the column mirroring c on a board of that many columns
// Row and column of the cell under GUI point (x, y), y upwards; 0 (both 0) off
// the grid. On a shared edge the later cell in scan order wins.
int pointer_cell(float x, float y, int *r, int *c);
void mark_line(int r0, int c0, int r1, int c1, unsigned char *mask);  // every cell of the line
void mark_rectangle(int r0, int c0, int r1, int c1, int filled, unsigned char *mask);
// The cells the straight path between two GUI points crosses inside the
// grid, connected without a gap; 0 when the path misses the grid.
int mark_stroke(float x0, float y0, float x1, float y1, unsigned char *mask);
int mark_fill(int r, int c, unsigned char *mask);  // cells marked: those connected to (r, c) and like it
void add_mirror(unsigned char *mask);              // each marked cell's mirror marked too
void apply_mask(unsigned char *mask, int erase);   // lay (or erase) the marked cells, mirrored when on
int tool_press(int erase);   // a press on (selx, sely); 1 when a drag follows
void tool_drag();            // the drag's frame: a brush stroke paints the path since the last frame
void tool_release(int erase);  // the release: lines and rectangles are made
void tool_cancel();          // the gesture held is dropped
int tool_preview(unsigned char *mask);  // the cells a press or the held gesture changes; 1 when it erases

// ---- Colour palette (palette.cpp) ----
constexpr int PALETTE_SIZE = 16;           // swatches: the default grey and the most used colours
extern int palette[PALETTE_SIZE][3];       // red, green, blue 0..127 of each swatch
extern int palette_count;                  // swatches filled; 0 until load_palette
// The default grey, then up to max - 1 colours of the levels' bricks (rows
// and columns 1..20), most used first; returns how many were written.
int most_used_colours(const level_file_record *levels, int count, int out[][3], int max);
void load_palette();                       // the palette from the game's level sets, once

// ---- Toolbar (toolbar.cpp) ----
void eicons();         // draw the toolbar and carry out its pending actions
int toolbar_code(float x, float y);  // selection code of the button over GUI point (x, y); 0 when none
// The areas of the buttons, swatches, type names and colour values (left,
// top, right, bottom in GUI units), at most max; how many were written.
int toolbar_areas(float (*out)[4], int max);
int toolbar_press(int code);         // a left press on the button of a selection code; 0 when no button has it
int toolbar_pressed(int code);       // 1 while that button's press waits for the toolbar or is held
void toolbar_release();              // the left button let go: held buttons stop repeating
void select_brick_type(int position);  // type-list position 1..5 (wrapped), colour back to 127
void step_texture(int dir);            // next (+1) or previous (-1) brick texture, wrapping
void step_powerup(int dir);            // next (+1) or previous (-1) power-up kind, wrapping
void toggle_classic_button();          // the Classic button: classic, grid and overlays follow
int held_repeat(int repeat, int steps);  // frames between steps of a button held for that many steps
extern int typing_component;           // [-1] 0 red, 1 green, 2 blue while that value is being typed
void type_digit(int d);                // a digit typed into the value (-1: Backspace)
void finish_typing();                  // the typed value taken, within 0..127 (an undoable step)
int cancel_typing();                   // the typing dropped; 1 when there was typing

// ---- Keyboard shortcuts (shortcuts.cpp) ----
void editor_keys();    // the editor's hot-keys, polled once per main-loop pass while the editor is up

// ---- Undo (undo.cpp): snapshots of the editor board, its level and the colour in a fixed ring ----
constexpr int UNDO_STEPS = 64;  // changes that can be undone in a row
void undo_reset();     // forget the history: the board as it is now is its only state
void undo_record();    // call before a change: keeps the board as it is as one state
// Before a step of a key that repeats (run: its key code): its steps, with no
// other record between them, are one change.
void undo_record_run(int run);
void undo_record_switch();  // after another level was loaded: undo goes back to the level left
int undo();            // back one change; 1 when the board changed
int redo();            // forward one undone change; 1 when the board changed

// ---- The strip of level thumbnails (levelstrip.cpp) ----
extern int level_strip;    // [0] the thumbnails of every level are shown over the canvas
void draw_level_strip();   // the strip, in place of the canvas
int level_strip_press();   // a left press while the strip is shown: 1 when it took the press
int strip_level_at(float x, float y);  // level whose thumbnail covers GUI point (x, y); 0 when none
void strip_slot(int n, float *x1, float *y1, float *x2, float *y2);  // level n's thumbnail area

// ---- Level management (edfiles.cpp): changes of the level files, undoable ----
enum level_change { CHANGE_NONE, CHANGE_INSERT, CHANGE_DELETE, CHANGE_SWAP };
// One change of the level files, enough to make it again or to undo it.
struct level_op {
    int kind;                     // level_change
    int n, m;                     // the level put in or taken out; the two swapped
    int only;                     // a delete of the only level, which empties it
    level_file_record content;    // the level put in or taken out
};
extern int level_step_budget;     // [-1] file steps a change may still take before one fails (tests)
// The change made, or undone; 0 when a step failed (the panel tells it; a
// change stopped part way forgets the undo history, whose states no longer fit the files).
int apply_level_op(const level_op &op, int backwards);
int insert_level_before();        // an empty level before the one edited, which is then edited
int duplicate_level();            // a copy of the edited level after it, which is then edited
int delete_edited_level();        // the edited level taken out; the one after it is then edited
int move_level(int dir);          // the edited level one place earlier (-1) or later (+1)
void undo_record_level_op(const level_op &op);  // after a change: the board now follows it in the history

// ---- The editor's files and dialogs (edfiles.cpp, dialogs.cpp) ----
constexpr int MAX_EDITOR_LEVELS = 25;
extern int maxlevels;      // highest level number the editor makes [MAX_EDITOR_LEVELS]
extern int level_files_changed;  // [0] counts changes of the level files, so copies know to read again
int read_editor_level(int n, level_file_record *rec);  // level file n; 0 when it is not one whole level
// The editor's dialogs. The open ones form a small stack: only the top one is
// drawn and takes OK, Cancel and Escape; its answer closes it and opens what
// the dialog's row in the transition table names.
enum editor_dialog {
    DLG_NONE,
    DLG_SET_NAME,          // level-set step 1: the name entry
    DLG_SET_DESCRIPTION,   // level-set step 2: the description entry
    DLG_SET_AUTHOR,        // level-set step 3: the author entry
    DLG_SET_FILE,          // level-set step 4: the file-name entry
    DLG_OVERWRITE,         // level-set step 5: the overwrite confirmation
    DLG_CLEAR_LEVEL,       // the clear-level confirmation
    DLG_DELETE_ALL,        // the delete-all confirmation
    DLG_SAVED,             // "Level saved."
    DLG_SET_CREATED,       // "Level set created."
    DLG_NO_BRICKS,         // "There are no bricks in this level."
    DLG_WRITE_FAILED,      // a write failed: writefail_text
    DLG_UNSAVED,           // "Save the changes to level N?": Save, Discard or Cancel before leaving
    DLG_DELETE_LEVEL,      // the delete-level confirmation
    DLG_KINDS
};
void open_dialog(editor_dialog d);    // d on top (taken from lower down if it was open)
editor_dialog dialog_shown();         // the dialog drawn and answered now; DLG_NONE when none
int dialog_open(editor_dialog d);     // 1 while d is anywhere on the stack
void close_dialogs();                 // no dialog open
void dialog_frame();                  // the top dialog's frame, and its answer carried out
int dialog_escape();                  // Escape: 1 when it closed the level-set entries or answered
                                      // the dialog shown (Cancel, or OK on a one-message panel),
                                      // 0 when no dialog is open (the editor is left)
// Leaves the editor for the title (quit 0) or ends the program (quit 1); a
// board with unsaved changes asks first, and the answer finishes the leaving.
void leave_editor_asking(int quit);
extern char filename[256]; // file name typed for the new set, without folder and ".bls"
extern level_set_header edhead;  // the new set's header: title, description and author as typed
extern const char *writefail_text;  // what the failure panel says
extern char writefail_file[512];    // the file it could not write (or read)
extern char writefail_reason[128];  // the system's reason
extern char created_text[192];      // what the "Level set created" panel says: the levels and those left out

int save_edited_level();   // F2 / Save Level: write the level, "Level saved."; 0 when it failed (panel shown)
int level_unsaved();       // 1 while the board differs from what its level file holds
int save_before_leaving(); // saves a changed board; 0 (failure panel open) when that failed
void discard_changes();    // the board back to what its level file holds
// Level n into the editor board, its file remembered, the undo history
// forgotten; a file that cannot be read is set aside (the player told) and the
// level starts empty.
void editor_open_level(int n);
void load_edited_level();  // level edlevel's file into the editor board (the undo history stays)
void editor_go_to_level(int n);  // level n into the board (the one left saved already), undoably
int editor_next_level();   // Next level / keypad +: save first, then edit the next level; 1 when moved
int editor_prev_level();   // Previous level / keypad -: save first, then edit the previous level; 1 when moved
void clear_edited_level(); // rows and columns 1..20 emptied: texture 0, colour 127, type 1, no power-up
void delete_all_levels();  // Delete All's OK: removes l2..l<curlevel>, writes the cleared board as l1
int create_level_set();    // writes level_sets/<filename>.bls: 1 written, 0 no level has a brick, -1 failed
void finish_level_set();   // save a changed board, write the set, open the panel telling the outcome
int level_exists();        // 1 if the player's level_sets/<filename>.bls is there
int shipped_set_named();   // 1 if a set that comes with the game is level_sets/<filename>.bls
int plain_file_name(const char *text);  // 1 for a name of 1..255 letters and digits only
