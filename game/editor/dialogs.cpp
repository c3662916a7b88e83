// The editor's dialogs: the clear-level and delete-all confirmations, the
// chain of entries that makes a level set (name, description, author, file
// name, overwrite question), and the message panels, in their drawing order.

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

// A yes/no question: title inside the panel, message below it.
static int confirmation(const char *title, const char *message, float message_z)
{
    gui_win(1.4f, 0.9f, 4.6f, 0.65f, NO_TITLE, message, 1);
    black_text(-3.0f - 8.0f, 7.3f, -5.0f, title);
    black_text(-14.3f, 6.3f, message_z, message);
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

void clear_level()
{
    int answer = confirmation("Confirm Level Clear:", "Are you sure you want to clear this level?",
                              -5.0f);
    if (answer == DIALOG_OK) {
        undo_record();
        clear_edited_level();
    }
    if (answer != DIALOG_OPEN)
        clearlev = 0;
}

void del_all()
{
    int answer = confirmation("Confirm Level Deletion:",
                              "Are you sure you want to delete all levels?", -6.0f);
    if (answer != DIALOG_OPEN)
        deleteall = 0;
    if (answer == DIALOG_OK)
        delete_all_levels();
}

void set_lname()
{
    fulltext = 1;
    int answer = entry("Level set name:", fhead.set_title,
                       sizeof fhead.set_title);
    if (answer != DIALOG_OPEN)
        name = 0;
    if (answer == DIALOG_OK)
        description = 1;
}

void set_description()
{
    int answer = entry("Give a short decription of your level set:", fhead.description_text,
                       sizeof fhead.description_text);
    if (answer != DIALOG_OPEN)
        description = 0;
    if (answer == DIALOG_OK)
        author = 1;
}

void set_author()
{
    int answer = entry("Your name:", fhead.author_name, sizeof fhead.author_name);
    if (answer != DIALOG_OPEN)
        author = 0;
    if (answer == DIALOG_OK)
        fnam = 1;
}

// A name that is not plain (empty, or with a space) is refused and the entry
// stays open, emptied, for another name.
void set_filename()
{
    fulltext = 0;
    int answer = entry("Filename(8 characters):", filename, sizeof filename);
    if (answer == DIALOG_CANCEL)
        fnam = 0;
    if (answer != DIALOG_OK)
        return;
    if (!plain_file_name(filename)) {
        play_bad(0, 0);
        return;
    }
    fnam = 0;
    if (level_exists())
        overwrite = 1;
    else
        finish_level_set();
}

void file_overwrite()
{
    char message[320];
    snprintf(message, sizeof message,
             "The file %s.bls already exists. Would you like to overwrite it?", filename);
    int answer = confirmation("Confirm File Overwrite:", message, -6.0f);
    if (answer != DIALOG_OPEN)
        overwrite = 0;
    if (answer == DIALOG_OK)
        finish_level_set();
    if (answer == DIALOG_CANCEL)
        fnam = 1;
}

void write_failed()
{
    gui_win(1.4f, 0.9f, 4.6f, 0.65f, NO_TITLE, writefail_text, 4);
    black_text(-3.0f - 8.0f, 7.3f, -5.0f, writefail_text);
    if (panel_answer() == DIALOG_OK)
        writefail = 0;
}
