// Menus and screens: GUI panels, the pointer and text entry, the title screen
// with its main menu, help and credits, and the entry points of the sub-screens.
#pragma once

#include <GL/gl.h>

#include "formats.h"

// ---- Pointer and GUI requests (panel.cpp, pointer.cpp) ----
extern float pointerx;          // pointer x in the GUI frame, 0.25 .. 5.5
extern float pointery;          // pointer y, -2.0 .. 2.0, growing downward (drawn at GUI y = -pointery)
extern int gui_select;          // code of the control under the pointer this frame, 0 = none

// The selection codes of the controls: a control under the pointer puts its
// code in gui_select, and a left press raises the code's request below. The
// editor's toolbar buttons take CODE_TOOLBAR and the codes after it, one per
// row of its table.
enum gui_code {
    CODE_OK = 1, CODE_CANCEL,
    CODE_CLASSIC,                   // classic mode on/off; the score table's page turn too
    CODE_DISCARD,                   // the unsaved-changes question's Discard
    CODE_LEVEL, CODE_DIFF, CODE_PLAY, CODE_CONTINUE,
    CODE_WATCH,                     // the score table's Watch of a row's replay
    CODE_PREVIEW_PREV, CODE_PREVIEW_NEXT,   // the browser's preview: previous / next level of the set
    CODE_TOOLBAR,
};

// One-shot requests raised by a left press on a control code (set by the window
// procedure, cleared by the screen that owns the control).
extern int GUI_OK;              // CODE_OK: the open panel's OK
extern int GUI_CANCEL;          // CODE_CANCEL: the open panel's or sub-screen's Cancel
extern int GUI_EDCLASSIC;       // CODE_CLASSIC: classic mode on/off, or the score table's next page
extern int GUI_DISCARD;         // CODE_DISCARD: the editor's unsaved changes are dropped
extern int GUI_LEVEL;           // CODE_LEVEL: browser shows the next level set
extern int GUI_DIFF;            // CODE_DIFF: next difficulty
extern int GUI_PLAY;            // CODE_PLAY: start the game
extern int GUI_CONTINUE;        // CODE_CONTINUE: continue the saved game
extern int GUI_WATCH;           // CODE_WATCH: watch the replay of the score table's row under the pointer
extern int GUI_PREVIEW_PREV;    // CODE_PREVIEW_PREV: the browser previews the set's previous level
extern int GUI_PREVIEW_NEXT;    // CODE_PREVIEW_NEXT: the browser previews the set's next level
// The request flag a panel's control code raises; null for no such code.
int *gui_request(int code);

// ---- Text entry (textentry.cpp) ----
extern char buffer[96];         // text being entered, always NUL-terminated
extern int bcount;              // characters in buffer
extern int fulltext;            // 0 = file-name mode (letters and digits), 1 = full-text mode
constexpr int NAME_LIMIT = 8;   // file-name mode keeps at most this many characters
constexpr int TEXT_LIMIT = 79;  // full-text mode keeps at most this many (a score name's field holds 79)
extern int carat;               // caret blink counter, 0 .. 30; runs across dialogs
extern int caret_on;            // 1 when the caret shows in the frame drawn last
extern int caret_in_view;       // 1 when the frame drawn last showed a text field
void caret_step();              // one frame of the blink: the caret shows 16 frames out of 30
int caret_next_on();            // 1 when the next step will show the caret

// ---- Title screen and main menu (title.cpp) ----
extern int selected;            // menu item under the pointer: 1 Play, 2 Load, 3 Edit, 4 Scores, 5 Exit, 6 Help; 0 none
extern int item_select;         // 1 when some menu item is under the pointer this frame
extern float title_alpha;       // opacity of the title layer, 0.0 .. 1.0; [0]
extern float titlex;            // left edge of the title image in the GUI frame; [2.7245] at rest
extern int scene_shortcuts;     // 1 = skip the scene the title hides, put back the kept title layer, background and status bar, draw bricks by texture; 0 = draw all in full; [1]

// ---- High-score screen state used by the title (scores_screen.cpp) ----
extern int hs_sequence;         // a new high-score entry was made and is highlighted
extern int fadehs;              // the highlight of the new entry is fading
extern float hsfade;            // highlight strength, 1.0 down to 0; [1.0]

// ---- Panels (panel.cpp) ----
constexpr float PANEL_BORDER = 0.03f;  // width of a panel's frame around its body, field units
// Framed panel of style 1..5 with its buttons; sets gui_block and gui_select.
// Leaves the matrix at translate(-3, 0, 0), blending off.
void gui_win(float x1, float y1, float x2, float y2, const char *title, const char *text, int style);
void tex_quad(float x1, float y1, float x2, float y2, float z);  // image upright, (x1, y1) top-left
// 1 when the pointer lies in the GUI rectangle from (left, top) to (right, bottom), edges included.
int pointer_over(float left, float top, float right, float bottom);
// A square icon button of side size with its top-left corner at (x, y) on plane
// z: opaque white and selecting code while the pointer is over it, in the
// colour unlit otherwise. 1 while the pointer is over it. A button repeated
// on rows gives its row (1 ..), so that the keys choose each row's alone.
int lit_button(float x, float y, float size, float z, GLuint icon, int code, const float unlit[4], int row = 0);
void text_field(const char *prompt);  // the entry field of a text dialog with prompt and blinking caret
void infobar(const char *text);       // "Info: %s" on the help line
// The one-message panels, one frame each; 1 on the frame their OK is taken.
int show_blank();                     // "There are no bricks in this level."
int l_saved();                        // "Level saved."
int level_saved();                    // "Level set created."
// A notice over the menu: a message of one or two lines (split at a newline)
// in a one-message panel, until the player presses its OK. A new notice
// replaces the one shown.
extern char notice[192];              // the notice shown; empty when none [""]
void show_notice(const char *text);
int notice_shown();                   // 1 while a notice waits for its OK
void draw_notice();                   // the notice's panel for this frame, if one is shown

// ---- Keyboard focus (focus.cpp) ----
// In the menus the arrow keys (or a gamepad) choose among the controls a frame
// drew, and Enter presses the chosen one; the mouse moving takes it back. The
// chosen control is drawn lit, as under the pointer, with an outline.
extern int focus_on;                  // [0] 1 while the keys hold the choice: the pointer's place lights nothing
extern int focus_key;                 // the chosen control's key (its code, FOCUS_MENU_ITEM + a menu item's, or a row's); 0 none
constexpr int FOCUS_MENU_ITEM = 1000; // keys above this are the title's menu items
constexpr int FOCUS_ROW = 10000;      // keys from here are a row's button: FOCUS_ROW * row + its code
void focus_new_layer();               // a panel is drawn over what came before: only its controls can be chosen
// Notes a control of this frame with its GUI rectangle and key; 1 when it is
// lit: chosen by the keys, or (the editor always) under the pointer.
int control_lit(float left, float top, float right, float bottom, int key);
void focus_frame_done();              // after a frame's menus: the choice kept on a control shown, and outlined
void focus_move(int dx, int dy);      // an arrow key: the nearest control that way (dy 1 = up); the first press shows the choice
int focus_press();                    // Enter: the chosen control where a press reads it (selected or gui_select); 0 when none
void focus_to_pointer();              // the mouse moved: the pointer chooses again

// ---- Thumbnails (thumbnail.cpp) ----
// A level drawn small in the GUI rectangle from (x1, y1) to (x2, y2) on plane z:
// every brick of rows and columns 1..20 a plain quad in its colour, on a dark ground.
void draw_thumbnail(const level_file_record &rec, float x1, float y1, float x2, float y2, float z);

// ---- Pointer (pointer.cpp) ----
float pointer_scale();                // GUI units per mouse pixel (before msensitivity) for the client size; 0 without a client
void move_pointer();                  // pointerx/pointery from the mouse, clamped
void drawpointer();                   // move_pointer, then draw the pointer over everything

// ---- Text entry (textentry.cpp) ----
// Takes what was typed since the last frame into buffer; 1 when Enter
// completed the entry. Characters the mode does not accept, and those past its
// limit, are passed over.
int console_input();
// 1 when the entry takes character c with length characters already typed:
// full-text mode printable ASCII (space to '~'), file-name mode A-Z, a-z, 0-9.
int entry_accepts(int c, int full_text, int length);
void text_typed(int c);               // the window procedure's typed character (8 Backspace, 13 Enter)
void forget_typed();                  // drop what no entry took; once a pass, after the frame
void clear_buffer();                  // the first TEXT_LIMIT bytes of buffer set to NUL

// ---- Title screen (title.cpp, help.cpp, credits.cpp) ----
void render_title();                  // the title layer of one frame: image, fades, menu, open sub-screen
int title_covers_view();              // 1 while the opaque title at rest hides the whole game scene
void draw_menu();                     // the six menu icons with hover lighting; sets selected
void menu_labels();                   // the texts under the menu icons
void title_quad(unsigned texture);    // a full-view picture on the title image's quad
void showhelp();                      // help page with the 17 power-ups; Cancel closes it
void check_manual_opener();           // a notice when the manual's opener has ended without success
void show_credits();                  // end screen; the next press quits (window procedure)
// Escape over the title: the notice, else the screen open over the title,
// answers as its Cancel (a name dialog as its OK; the end screen closes).
void menu_escape();

// ---- Sub-screens of later work (options.cpp, scores_screen.cpp) ----
void play_options();                  // play options panel: difficulty, classic mode, Continue, Play
void hsnotify();                      // high-score name dialog after a game that enters the table
void finish_name_entry();             // as the game ends: an open name dialog's entry written, named as typed or "Player"
void display_scores();                // high-score tables, both modes, page by page
