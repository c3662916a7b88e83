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
// Text-entry dialogs of the level-set creation (show flags).
extern int name, description, fnam, author;
extern int saved;      // show "Level saved."

extern const int brick_selector_map[6];  // type-list position 1..5 -> type code

void editor();         // the editor's frame: canvas, toolbar and dialogs
void editor_paint();   // a left press on the canvas: eyedropper, bricks, power-ups
void test_play();      // start a test game of the edited level
void editor_erase();   // a right press on the canvas: erase a brick or clear a power-up
void save_edited_level();  // write the edited level to user_data/l<edlevel>.raw         // the editor's frame: canvas, toolbar and dialogs
