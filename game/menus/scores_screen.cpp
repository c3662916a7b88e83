// The high-score screens: the name dialog after a game that entered a table,
// and the table screen with its normal and classic pages.

#include <GL/gl.h>

#include <cstdio>
#include <cstring>

#include "graphics/graphics.h"
#include "menus.h"
#include "rules/scores.h"
#include "rules/watch.h"
#include "shell/shell.h"

int hs_sequence;
int fadehs;
float hsfade = 1.0f;


// The name given to a high score left without one.
static const char UNNAMED_PLAYER[] = "Player";

// Takes the typed name into the new entry, then shows and writes the table.
static void accept_name()
{
    score_entry &e = hstable[table_pos];
    memset(e.player_name, 0, sizeof e.player_name);
    size_t n = strnlen(buffer, sizeof buffer);
    if (n > sizeof e.player_name - 1)
        n = sizeof e.player_name - 1;
    memcpy(e.player_name, buffer, n);
    memset(buffer, 0, sizeof buffer);
    bcount = 0;
    open_screen(SCREEN_SCORES);
    // The screen shows the file once it is written, the table in memory if not.
    scores_stale = 0;
    writescores();
}

void finish_name_entry()
{
    if (!screen_is(SCREEN_SCORE_NAME))
        return;
    if (strnlen(buffer, sizeof buffer) == 0)
        snprintf(buffer, sizeof buffer, "%s", UNNAMED_PLAYER);
    accept_name();
}

void hsnotify()
{
    menublock = 1;
    // The panel's own title would land low on the screen, away from the
    // dialog; the text field's prompt says it on the dialog instead.
    gui_win(1.4f, 0.9f, 4.6f, 0.45f, " ", "Please enter your name:", 4);
    text_field("You got a high score! Please enter your name:");
    fulltext = 1;  // a name, not a file name: capitals, spaces and all letters
    int done = console_input();
    if (done || GUI_OK) {
        GUI_OK = 0;
        accept_name();
    }
}

// Small-font text at (x, y, -5) from the identity.
static void score_text(float x, float y, const float *rgb, const char *text)
{
    glLoadIdentity();
    glTranslatef(x, y, -5.0f);
    glColor4f(rgb[0], rgb[1], rgb[2], 1.0f);
    glsPrint("%s", text);
}

// The page button, lit and selected under the pointer.
static void page_button()
{
    gui_frame();
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    static const float UNLIT[4] = {0.9f, 0.9f, 0.9f, 1.0f};
    lit_button(2.85f, -0.55f, 0.25f, -5.0f, ticon[ICON_HISCORES], CODE_CLASSIC, UNLIT);
    glDisable(GL_BLEND);
    glDisable(GL_TEXTURE_2D);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glTranslatef(-1.2f, -8.0f, -5.0f);
    glsPrint("Next");
    gui_frame();
    glTranslatef(-1.3f, -8.7f, -5.0f);
    glsPrint("Page");
}

// The Watch buttons: at the right of each row whose game has a replay, in the
// GUI frame; the row under the pointer is kept for the press.
static const float WATCH_X = 5.03f, WATCH_SIZE = 0.1f;
static int watch_row = -1;   // table index of the row whose Watch is under the pointer

// The small-font text row's y (text units at z -5, 40 deeper) as a GUI y.
static float gui_y(float text_y)
{
    return text_y / 9.0f;
}

static void watch_buttons()
{
    static const float UNLIT[4] = {0.8f, 0.8f, 0.8f, 1.0f};
    int first = hs_classic ? TABLE_ENTRIES : 0;
    watch_row = -1;
    gui_frame();
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    for (int n = 0; n < TABLE_ENTRIES; n++) {
        if (!score_replay[first + n][0])
            continue;
        float top = gui_y(6.5f - 1.2f * n) + 0.08f;
        if (lit_button(WATCH_X, top, WATCH_SIZE, -5.0f, ticon[ICON_PLAY], CODE_WATCH, UNLIT, n + 1))
            watch_row = first + n;
    }
    glDisable(GL_BLEND);
    glDisable(GL_TEXTURE_2D);
}

// The replay of table entry k, labelled with its player and score.
static void watch_entry(int k)
{
    if (k < 0 || !score_replay[k][0])
        return;
    char label[128];
    snprintf(label, sizeof label, "REPLAY: %s, %d", hstable[k].player_name[0] ? hstable[k].player_name : "Player",
             hstable[k].entry_score);
    watch_replay(score_replay[k], label);
}

// The ten rows of the page shown; the entry just made is blue until its
// highlight has faded.
static void table_rows()
{
    static const float WHITE[3] = {1, 1, 1}, BLUE[3] = {0, 0, 1};
    static const float DIFF_RGB[3][3] = {{0, 1, 0}, {1, 1, 1}, {1, 0, 0}};
    static const char *const DIFF_NAMES[3] = {"Easy", "Normal", "Hard"};
    int first = hs_classic ? TABLE_ENTRIES : 0;
    char text[96];
    for (int n = 1; n <= TABLE_ENTRIES; n++) {
        const score_entry &e = hstable[first + n - 1];
        const float *row = hs_sequence && first + n - 1 == table_pos ? BLUE : WHITE;
        float y = 6.5f - 1.2f * (n - 1);
        snprintf(text, sizeof text, "%d.%s", n, e.player_name);
        score_text(-21.0f, y, row, text);
        if (!e.player_name[0] && e.entry_score == 0 && !e.entry_set_title[0])
            continue;  // a row nobody has filled yet stays blank
        score_text(-8.0f, y, row, e.entry_set_title);
        if (!hs_classic && e.entry_difficulty >= 0 && e.entry_difficulty <= 2) {
            int d = e.entry_difficulty;
            score_text(6.0f, y, row == BLUE ? BLUE : DIFF_RGB[d], DIFF_NAMES[d]);
        }
        snprintf(text, sizeof text, "%d", e.entry_score);
        score_text(14.0f, y, row, text);
    }
}

void display_scores()
{
    static const float WHITE[3] = {1, 1, 1}, GREEN[3] = {0, 1, 0};
    // The file is read when the screen opens and after a table was written.
    if (scores_stale) {
        readscores();
        scores_stale = 0;
    }
    menublock = 1;
    gui_win(0.6f, 1.05f, 5.3f, -1.05f, "", "", 5);
    page_button();
    glDisable(GL_TEXTURE_2D);
    score_text(-18.0f, 8.5f, WHITE, hs_classic ? "High Scores: Classic mode" : "High Scores: Normal mode");
    score_text(-21.0f, 7.5f, GREEN, "Name");
    score_text(-8.0f, 7.5f, GREEN, "Level");
    if (!hs_classic)
        score_text(6.0f, 7.5f, GREEN, "Difficulty");
    score_text(14.0f, 7.5f, GREEN, "Score");
    score_text(18.9f, 7.5f, GREEN, "Watch");
    table_rows();
    // A press takes the row that was under the pointer when it was drawn.
    int pressed = GUI_WATCH ? watch_row : -1;
    GUI_WATCH = 0;
    watch_buttons();
    gui_frame();
    if (pressed >= 0) {
        menublock = 0;
        gui_select = 0;
        watch_entry(pressed);
        return;
    }

    if (GUI_EDCLASSIC) {
        GUI_EDCLASSIC = 0;
        hs_classic = !hs_classic;
    }
    if (GUI_CANCEL) {
        GUI_CANCEL = 0;
        close_screen();
        scores_stale = 1;
        menublock = 0;
        gui_select = 0;
        fadehs = 1;
    }
}
