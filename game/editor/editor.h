// The level editor: canvas, toolbar, and its files and dialogs.
#pragma once

extern int drag;       // 1 while the left button lays bricks
extern int edrag;      // 1 while the right button erases
extern int get_drops;  // 1 when the eyedropper is armed
extern int dropped;    // 1 after the eyedropper picked a cell

extern int edlevel;    // number of the level being edited, user_data/l%d.raw [1]
extern int texnumber;  // current brick texture number, 1..texmax [1]
extern int curr, curg, curb;  // current colour, each 0..127 [127]
extern int curbrick;   // current brick type code [1]
extern int guibrick;   // position 1..5 in the type list [1]
extern int curpup;     // current power-up kind, 1..maxpup [1]
extern int maxpup;     // number of power-up kinds [17]
extern int grid;       // empty cells drawn as a grid [1]
extern int visible;    // overlays on invisible and multi-hit bricks [1]
extern int pupedit;    // the power-up layer is being edited [0]
extern int selx, sely; // cell under the pointer this frame; 0 when none

extern const int brick_selector_map[6];  // type-list position 1..5 -> type code

void editor();         // the editor's frame: canvas, toolbar and dialogs
void editor_paint();   // a left press on the canvas: eyedropper, bricks, power-ups
void test_play();      // start a test game of the edited level
void editor_erase();   // a right press on the canvas: erase a brick or clear a power-up

// ---- The editor's files and dialogs (edfiles.cpp, dialogs.cpp) ----
extern int maxlevels;      // highest level number the editor makes [25]
// Show flags of the editor's dialogs; each dialog stays until OK, Cancel or a
// completed entry clears its flag.
extern int saved;          // "Level saved."
extern int clearlev;       // the clear-level confirmation
extern int deleteall;      // the delete-all confirmation
extern int name;           // level-set step 1: the name entry
extern int description;    // level-set step 2: the description entry
extern int author;         // level-set step 3: the author entry
extern int fnam;           // level-set step 4: the file-name entry
extern int overwrite;      // level-set step 5: the overwrite confirmation
extern int writefail;      // a write failed: the failure message panel
extern char filename[256]; // file name typed for the new set, without folder and ".bls"
extern const char *writefail_text;  // what the failure panel says

int save_edited_level();   // F2 / Save Level: write the level, "Level saved."; 0 when it failed (panel shown)
int level_unsaved();       // 1 while the board differs from what its level file holds
int editor_next_level();   // Next level / keypad +: save first, then edit the next level; 1 when moved
int editor_prev_level();   // Previous level / keypad -: save first, then edit the previous level; 1 when moved
void clear_edited_level(); // rows and columns 1..20 emptied: texture 0, colour 127, type 1, no power-up
void delete_all_levels();  // Delete All's OK: removes l2..l<curlevel>, writes the cleared board as l1
int create_level_set();    // writes level_sets/<filename>.bls: 1 written, 0 no level has a brick, -1 failed
void finish_level_set();   // save a changed board, write the set, open the panel telling the outcome
int level_exists();        // 1 if level_sets/<filename>.bls can be opened for reading
void clear_buffer();       // the first 79 bytes of the text-entry buffer set to NUL
int plain_file_name(const char *text);  // 1 for a name of 1..255 letters and digits only
void clear_level();        // the clear-level confirmation, one frame
void del_all();            // the delete-all confirmation, one frame
void set_lname();          // level-set name entry, one frame
void set_description();    // level-set description entry, one frame
void set_author();         // level-set author entry, one frame
void set_filename();       // level-set file-name entry, one frame
void file_overwrite();     // overwrite confirmation, one frame
void write_failed();       // the failure panel (writefail_text), one frame; drawn after the others

// ---- Undo history (kept by the canvas side) ----
void undo_record();        // remember the board before a change
void undo_reset();         // forget the history, after another level is loaded
