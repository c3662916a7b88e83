// The editor's dialogs: the clear-level and delete-all confirmations, the
// chain of entries that makes a level set (name, description, author, file
// name, overwrite question) and the message panels. The open dialogs are a
// small stack of which only the top one is drawn and answered, and one table
// says where each answer leads.

#include <GL/gl.h>

#include <cstdio>
#include <cstring>

#include "audio/audio.h"
#include "editor.h"
#include "graphics/graphics.h"
#include "menus/menus.h"
#include "rules/rules.h"
#include "shell/shell.h"

// What a dialog's frame ended with.
enum { DIALOG_OPEN, DIALOG_OK, DIALOG_CANCEL };

// The open dialogs, bottom first; each kind at most once.
static editor_dialog open_stack[DLG_KINDS];
static int open_count;

// Takes a pending OK or Cancel of the open panel.
static int panel_answer()
{
    if (GUI_OK) {
        GUI_OK = 0;
        gui_block = 0;
        return DIALOG_OK;
    }
    if (GUI_CANCEL) {
        GUI_CANCEL = 0;
        gui_block = 0;
        return DIALOG_CANCEL;
    }
    return DIALOG_OPEN;
}

// Prints text in black at a translation from the identity.
static void black_text(float x, float y, float z, const char *text)
{
    glDisable(GL_TEXTURE_2D);
    glColor4f(0.0f, 0.0f, 0.0f, 1.0f);
    glLoadIdentity();
    glTranslatef(x, y, z);
    glsPrint("%s", text);
    gui_frame();
}

// The panel's own title would be printed low on the screen, over the
// toolbar's labels; the dialogs print their titles inside the panel instead.
static const char NO_TITLE[] = " ";

// A yes/no question: title inside the panel beside its OK and Cancel, the
// message of one or two lines (split at a newline) below them.
static int confirmation(const char *title, const char *message)
{
    char lines[2][192];
    const char *br = strchr(message, '\n');
    snprintf(lines[0], sizeof lines[0], "%.*s", br ? (int)(br - message) : (int)strlen(message), message);
    snprintf(lines[1], sizeof lines[1], "%s", br ? br + 1 : "");
    gui_win(1.4f, 0.9f, 4.6f, lines[1][0] ? 0.45f : 0.55f, NO_TITLE, message, 1);
    black_text(-3.0f - 8.0f, 7.3f, -5.0f, title);
    black_text(-14.3f, 5.7f, -6.0f, lines[0]);
    black_text(-14.3f, 4.6f, -6.0f, lines[1]);
    return panel_answer();
}

// Empties the entry after its text was taken or dropped.
static void empty_entry()
{
    clear_buffer();
    bcount = 0;
}

// A text entry with its prompt. On acceptance (a completed entry or OK) the
// text is moved into dest (size bytes, set to NUL first) and the entry is
// emptied; Cancel empties it too, so the next entry starts blank.
static int entry(const char *prompt, char *dest, size_t size)
{
    gui_win(1.4f, 0.9f, 4.6f, 0.45f, NO_TITLE, "", 1);
    text_field(prompt);
    int complete = console_input();
    if (complete || GUI_OK) {
        memset(dest, 0, size);
        strncpy(dest, buffer, size - 1);
        empty_entry();
        GUI_OK = 0;
        gui_block = 0;
        return DIALOG_OK;
    }
    if (GUI_CANCEL) {
        GUI_CANCEL = 0;
        gui_block = 0;
        empty_entry();
        return DIALOG_CANCEL;
    }
    return DIALOG_OPEN;
}

// The clear-level question; OK empties the board (undoable).
static int clear_level()
{
    int answer = confirmation("Confirm Level Clear:", "Are you sure you want to clear this level?");
    if (answer == DIALOG_OK) {
        undo_record();
        clear_edited_level();
    }
    return answer;
}

// The delete-all question; OK deletes the editor's levels.
static int del_all()
{
    int answer = confirmation("Confirm Level Deletion:", "Are you sure you want to delete all levels?");
    if (answer == DIALOG_OK)
        delete_all_levels();
    return answer;
}

// The delete-level question; OK takes the level out (undoable).
static int delete_level_question()
{
    char message[96];
    snprintf(message, sizeof message, "Delete level %d? The levels after it move up.\nUndo (Ctrl+Z) brings it back.",
             edlevel);
    int answer = confirmation("Confirm Level Deletion:", message);
    if (answer == DIALOG_OK)
        delete_edited_level();
    return answer;
}

// 1 after the file-name entry refused the name of a set that comes with the
// game: its prompt then says why, until a name is taken or a new chain starts.
static int name_taken;

// Level-set step 1: the set's name.
static int set_lname()
{
    name_taken = 0;
    return entry("Level set name:", edhead.set_title, sizeof edhead.set_title);
}

// Level-set step 2: its description.
static int set_description()
{
    return entry("Give a short decription of your level set:", edhead.description_text,
                 sizeof edhead.description_text);
}

// Level-set step 3: its author.
static int set_author()
{
    return entry("Your name:", edhead.author_name, sizeof edhead.author_name);
}

// Level-set step 4: the file name. A name that is not plain (empty) is
// refused, and so is the name of a set that comes with the game, which the
// player's set would otherwise hide; the entry stays open, emptied, and says why.
static int set_filename()
{
    int answer = entry(name_taken ? "Taken by a set of the game. Another name:"
                                  : "Filename(8 characters):",
                       filename, sizeof filename);
    if (answer == DIALOG_CANCEL)
        name_taken = 0;
    if (answer == DIALOG_OK && !plain_file_name(filename)) {
        play_bad(0, 0);
        return DIALOG_OPEN;
    }
    if (answer == DIALOG_OK) {
        name_taken = shipped_set_named();
        if (name_taken) {
            play_bad(0, 0);
            return DIALOG_OPEN;
        }
    }
    return answer;
}

// A plain file name was given: ask before replacing a set of that name,
// otherwise write the set now.
static editor_dialog file_named()
{
    if (level_exists())
        return DLG_OVERWRITE;
    finish_level_set();
    return DLG_NONE;
}

// Level-set step 5: the overwrite question.
static int file_overwrite()
{
    char message[320];
    snprintf(message, sizeof message,
             "The file %s.bls already exists.\nWould you like to overwrite it?", filename);
    return confirmation("Confirm File Overwrite:", message);
}

// The overwrite question was answered Yes.
static editor_dialog overwrite_confirmed()
{
    finish_level_set();
    return DLG_NONE;
}

// A one-message panel wide enough for a message of two lines (split at a
// newline), below its OK button.
static int two_line_panel(const char *text)
{
    char lines[2][192];
    const char *br = strchr(text, '\n');
    snprintf(lines[0], sizeof lines[0], "%.*s", br ? (int)(br - text) : (int)strlen(text), text);
    snprintf(lines[1], sizeof lines[1], "%s", br ? br + 1 : "");
    gui_win(1.0f, 0.9f, 5.0f, lines[1][0] ? 0.5f : 0.6f, NO_TITLE, text, 4);
    black_text(-14.4f, 6.3f, -5.0f, lines[0]);
    black_text(-14.4f, 5.2f, -5.0f, lines[1]);
    return panel_answer();
}

// The failure panel, saying writefail_text.
static int write_failed()
{
    gui_win(1.0f, 0.9f, 5.0f, 0.35f, NO_TITLE, writefail_text, 4);
    const char *lines[3] = {writefail_text, writefail_file, writefail_reason};
    for (int n = 0; n < 3; n++)
        black_text(-14.4f, 6.8f - 1.1f * n, -5.0f, lines[n]);
    return panel_answer();
}

// The one-message panels answer OK only.
static int saved_panel() { return l_saved() ? DIALOG_OK : DIALOG_OPEN; }
static int created_panel() { return two_line_panel(created_text); }
static int no_bricks_panel() { return show_blank() ? DIALOG_OK : DIALOG_OPEN; }

// ---- Leaving with unsaved changes ----

static int leave_quits;   // the question's Save or Discard ends the program (F12), else goes to the title

// Leaves for the title or ends the program, the editor's dialogs closed.
static void finish_leaving()
{
    close_dialogs();
    if (leave_quits) {
        PostQuitMessage(0);
        return;
    }
    leave_editor();
}

void leave_editor_asking(int quit)
{
    if (dialog_open(DLG_UNSAVED))
        return;
    leave_quits = quit;
    if (level_unsaved())
        open_dialog(DLG_UNSAVED);
    else
        finish_leaving();
}

// "Save the changes to level N?" with Save (OK), Discard (the bin) and Cancel.
// Discard is carried out here; it closes the question as Cancel does.
static int unsaved_question()
{
    static const float UNLIT[4] = {0.7f, 0.7f, 0.7f, 0.7f};
    const float x2 = 4.6f, y1 = 0.9f;
    gui_win(1.4f, y1, x2, 0.45f, NO_TITLE, "", 1);
    char message[64];
    snprintf(message, sizeof message, "Save the changes to level %d?", edlevel);
    black_text(-3.0f - 8.0f, 7.3f, -5.0f, "Unsaved changes:");
    black_text(-14.3f, 5.7f, -6.0f, message);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    lit_button(x2 - 0.51f, y1 - 0.07f, 0.12f, -5.0f, ticon[ICON_DELETE], CODE_DISCARD, UNLIT);
    glDisable(GL_BLEND);
    black_text(-14.3f, 4.6f, -6.0f, "The tick saves them, the bin discards them.");
    if (GUI_DISCARD) {
        GUI_DISCARD = 0;
        gui_block = 0;
        discard_changes();
        finish_leaving();
        return DIALOG_CANCEL;
    }
    return panel_answer();
}

// The question was answered Save: leave once the level is saved.
static editor_dialog unsaved_save()
{
    if (save_before_leaving())
        finish_leaving();
    return DLG_NONE;
}

// ---- Transitions ----

// What a dialog types: no text, a file name (letters and digits) or any text.
enum { NO_ENTRY = -1, FILE_NAME_ENTRY = 0, FULL_TEXT_ENTRY = 1 };

// Where each dialog's answers lead. An answer closes the dialog; then the OK
// action runs, when there is one, and the dialog it names (or the row's
// after_ok) opens. Escape closes the text entries of the level-set chain.
struct dialog_row {
    int (*frame)();                 // draws one frame; DIALOG_OPEN, DIALOG_OK or DIALOG_CANCEL
    int entry;                      // the text-entry mode it sets when it opens
    editor_dialog (*ok_action)();   // the effect of OK that decides what follows; null when none
    editor_dialog after_ok;         // opened after OK when there is no action
    editor_dialog after_cancel;     // opened after Cancel
    bool escape_closes;             // Escape takes it (and the entries below it) away
    bool ok_only;                   // a one-message panel: Enter and Escape are its OK
};

static const dialog_row DIALOGS[DLG_KINDS] = {
    /* DLG_NONE            */ {nullptr, NO_ENTRY, nullptr, DLG_NONE, DLG_NONE, false, false},
    /* DLG_SET_NAME        */ {set_lname, FULL_TEXT_ENTRY, nullptr, DLG_SET_DESCRIPTION, DLG_NONE, true, false},
    /* DLG_SET_DESCRIPTION */ {set_description, FULL_TEXT_ENTRY, nullptr, DLG_SET_AUTHOR, DLG_NONE, true, false},
    /* DLG_SET_AUTHOR      */ {set_author, FULL_TEXT_ENTRY, nullptr, DLG_SET_FILE, DLG_NONE, true, false},
    /* DLG_SET_FILE        */ {set_filename, FILE_NAME_ENTRY, file_named, DLG_NONE, DLG_NONE, true, false},
    /* DLG_OVERWRITE       */ {file_overwrite, NO_ENTRY, overwrite_confirmed, DLG_NONE, DLG_SET_FILE, false, false},
    /* DLG_CLEAR_LEVEL     */ {clear_level, NO_ENTRY, nullptr, DLG_NONE, DLG_NONE, false, false},
    /* DLG_DELETE_ALL      */ {del_all, NO_ENTRY, nullptr, DLG_NONE, DLG_NONE, false, false},
    /* DLG_SAVED           */ {saved_panel, NO_ENTRY, nullptr, DLG_NONE, DLG_NONE, false, true},
    /* DLG_SET_CREATED     */ {created_panel, NO_ENTRY, nullptr, DLG_NONE, DLG_NONE, false, true},
    /* DLG_NO_BRICKS       */ {no_bricks_panel, NO_ENTRY, nullptr, DLG_NONE, DLG_NONE, false, true},
    /* DLG_WRITE_FAILED    */ {write_failed, NO_ENTRY, nullptr, DLG_NONE, DLG_NONE, false, true},
    /* DLG_UNSAVED         */ {unsaved_question, NO_ENTRY, unsaved_save, DLG_NONE, DLG_NONE, false, false},
    /* DLG_DELETE_LEVEL    */ {delete_level_question, NO_ENTRY, nullptr, DLG_NONE, DLG_NONE, false, false},
};
static_assert(DLG_DELETE_LEVEL + 1 == DLG_KINDS, "a row for every dialog");

// Takes d off the stack, wherever it is.
static void remove_dialog(editor_dialog d)
{
    int k = 0;
    for (int n = 0; n < open_count; n++)
        if (open_stack[n] != d)
            open_stack[k++] = open_stack[n];
    open_count = k;
}

void open_dialog(editor_dialog d)
{
    if (d <= DLG_NONE || d >= DLG_KINDS)
        return;
    remove_dialog(d);
    open_stack[open_count++] = d;
    if (DIALOGS[d].entry != NO_ENTRY)
        fulltext = DIALOGS[d].entry;
}

editor_dialog dialog_shown()
{
    return open_count > 0 ? open_stack[open_count - 1] : DLG_NONE;
}

int dialog_open(editor_dialog d)
{
    for (int n = 0; n < open_count; n++)
        if (open_stack[n] == d)
            return 1;
    return 0;
}

void close_dialogs()
{
    open_count = 0;
}

void dialog_frame()
{
    editor_dialog d = dialog_shown();
    if (d == DLG_NONE)
        return;
    const dialog_row &row = DIALOGS[d];
    if (row.ok_only && keys[VK_RETURN]) {
        keys[VK_RETURN] = 0;
        GUI_OK = 1;
    }
    int answer = row.frame();
    if (answer == DIALOG_OPEN)
        return;
    remove_dialog(d);
    if (answer == DIALOG_CANCEL) {
        open_dialog(row.after_cancel);
        return;
    }
    open_dialog(row.ok_action ? row.ok_action() : row.after_ok);
}

int dialog_escape()
{
    editor_dialog shown = dialog_shown();
    if (shown == DLG_NONE)
        return 0;
    if (!DIALOGS[shown].escape_closes) {
        // Answered on the next frame, through the dialog's own row.
        if (DIALOGS[shown].ok_only)
            GUI_OK = 1;
        else
            GUI_CANCEL = 1;
        return 1;
    }
    while (DIALOGS[dialog_shown()].escape_closes)
        remove_dialog(dialog_shown());
    empty_entry();
    gui_block = 0;
    return 1;
}
