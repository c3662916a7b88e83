// The play options and the level-set browser: the two panels that start a
// game from the title screen, and the walk through the sets in level_sets/.

#include <GL/gl.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <system_error>
#include <vector>

#include "browser.h"
#include "graphics/graphics.h"
#include "menus.h"
#include "paths.h"
#include "rules/progress.h"
#include "rules/replay.h"
#include "rules/rules.h"
#include "rules/savegame.h"
#include "rules/tick.h"
#include "shell/shell.h"


// ---- Constants ----

static const float ICON = 0.25f;                  // side of a panel's icon buttons
static const float GREY[4] = {0.9f, 0.9f, 0.9f, 1.0f};   // a button not under the pointer
static const float DIM[4] = {0.3f, 0.3f, 0.3f, 1.0f};    // a button that does nothing now: plainly off

// ---- Browser state ----

// A set the browser lists: the name play asks for, and whether it is the player's.
struct listed_set {
    std::string name;   // file name under level_sets/, OWN_SET_PREFIX first when a game set has it too
    int own;            // 1 for a set in the player's folder
};

char sfilename[256];                     // file name of the set shown, without folder
static std::vector<listed_set> shandle;  // the sets of both level_sets/, in browsing order
static size_t fdata;                     // index in shandle of the set shown
static int set_readable;                 // 1 when the set shown is whole and has at least one level
int preview_level = 1;                   // the level of the set shown that the preview draws
static level_file_record preview;        // that level
static int preview_read;                 // 1 when it could be read

static const char SET_UNREADABLE[] = "This level set cannot be read.";
static const char SAVE_DAMAGED[] = "The saved game is damaged and cannot be continued.";

// ---- Drawing helpers ----

// An icon button with its top-left corner at (x, y); lit and selected under the
// pointer when active, dimmed otherwise. A dimmed button that explains still
// takes a press, so that its action can say why it does nothing.
static void icon_button(float x, float y, int icon, int code, int active, int explains = 0)
{
    if (active) {
        lit_button(x, y, ICON, -5.0f, ticon[icon], code, GREY);
        return;
    }
    glColor4fv(DIM);
    if (explains && control_lit(x, y, x + ICON, y - ICON, code))
        gui_select = code;
    glBindTexture(GL_TEXTURE_2D, ticon[icon]);
    tex_quad(x, y, x + ICON, y - ICON, -5.0f);
}

// Small-font text at (x, y, -5) from the identity, in the given colour.
static void label(float x, float y, const char *text, float r = 1, float g = 1, float b = 1)
{
    glLoadIdentity();
    glTranslatef(x, y, -5.0f);
    glColor4f(r, g, b, 1.0f);
    glsPrint("%s", text);
}

// The three difficulties, the current one in red, from the top line at y.
static void difficulty_list(float y)
{
    static const char *const NAMES[3] = {"Easy", "Normal", "Hard"};
    for (int d = 0; d < 3; d++)
        label(-9.0f, y - 0.8f * d, NAMES[d], 1, difficulty == d ? 0.0f : 1.0f, difficulty == d ? 0.0f : 1.0f);
}

// Sets up the icon state: the GUI frame with blending and texturing on.
static void begin_icons()
{
    gui_frame();
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_TEXTURE_2D);
}

static void end_icons()
{
    glDisable(GL_BLEND);
    glDisable(GL_TEXTURE_2D);
}

// ---- Actions shared by both panels ----

// Difficulty and classic-mode requests.
static void mode_actions()
{
    if (GUI_DIFF) {
        GUI_DIFF = 0;
        if (++difficulty > 2)
            difficulty = 0;
    }
    if (GUI_EDCLASSIC) {
        GUI_EDCLASSIC = 0;
        classic = !classic;
    }
}

// Leaves the menu for a fresh game of set_name at the current level; a set
// that cannot be read starts nothing and says so.
static void start_game()
{
    if (!level_set_readable(set_name, nullptr)) {
        gui_select = 0;
        show_notice(SET_UNREADABLE);
        return;
    }
    menublock = 0;
    title_fade_out();
    gui_select = 0;
    game_chosen();
    begin_new_game(level);
}

// ---- Play options ----

void play_options()
{
    menublock = 1;
    gui_win(1.2f, 0.5f, 4.8f, -0.25f, "", "", 5);
    glDisable(GL_TEXTURE_2D);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glTranslatef(-8.0f, 3.7f, -5.0f);
    glsPrint("Current level set: %s", fhead.set_title);

    begin_icons();
    icon_button(1.6f, 0.25f, ICON_DIFFICULTY, CODE_DIFF, 1);
    icon_button(2.75f, 0.25f, classic ? ICON_ON : ICON_OFF, CODE_CLASSIC, 1);
    icon_button(3.45f, 0.25f, ICON_PLAY, CODE_CONTINUE, SAVE_AVAILABLE == 1 && !SAVE_REFUSED,
                SAVE_REFUSED);
    icon_button(4.15f, 0.25f, ICON_PLAY, CODE_PLAY, 1);
    end_icons();

    label(-13.2f, -0.8f, "Difficulty");
    difficulty_list(1.5f);
    label(10.6f, -0.8f, "Play");
    label(-2.55f, -0.8f, "Classic");
    label(-2.25f, -1.6f, "Mode");
    if (SAVE_AVAILABLE == 1 && !SAVE_REFUSED)
        label(3.25f, -0.8f, "Continue");
    else
        label(3.25f, -0.8f, "Continue", 0.45f, 0.45f, 0.45f);
    gui_frame();

    if (GUI_CANCEL) {
        GUI_CANCEL = 0;
        menublock = 0;
        gui_select = 0;
        close_screen();
    }
    mode_actions();
    if (GUI_CONTINUE) {
        GUI_CONTINUE = 0;
        // A save that cannot be continued is kept as it is, and the player told.
        if (SAVE_AVAILABLE)
            game_chosen();
        if (SAVE_AVAILABLE && load_saved()) {
            PLAYING_SAVED_GAME = 1;
            menublock = 0;
            title_fade_out();
            gui_select = 0;
        } else if (SAVE_AVAILABLE) {
            gui_select = 0;
            show_notice(SAVE_DAMAGED);
        }
    }
    if (GUI_PLAY) {
        GUI_PLAY = 0;
        close_screen();
        start_game();
    }
}

// ---- Directory search ----

static int lower(int c)
{
    return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c;
}

// Compares two names with ASCII letters folded to lower case, as strcmp does.
static int casecmp(const char *a, const char *b)
{
    while (*a && lower((unsigned char)*a) == lower((unsigned char)*b))
        a++, b++;
    return lower((unsigned char)*a) - lower((unsigned char)*b);
}

// The file name of a listed set without the prefix of the player's own.
static std::string bare_name(const listed_set &s)
{
    size_t own = sizeof OWN_SET_PREFIX - 1;
    return s.name.compare(0, own, OWN_SET_PREFIX) == 0 ? s.name.substr(own) : s.name;
}

// Case-blind name order, exact order between names that differ only in case,
// and the game's set before the player's of the same name.
static bool name_before(const listed_set &a, const listed_set &b)
{
    std::string x = bare_name(a), y = bare_name(b);
    int d = casecmp(x.c_str(), y.c_str());
    if (d != 0)
        return d < 0;
    return x != y ? x < y : a.own < b.own;
}

static bool is_set_file(const std::string &name)
{
    return name.size() > 4 && casecmp(name.c_str() + name.size() - 4, ".bls") == 0;
}

// Adds the ".bls" files of one folder; 0 when the folder cannot be listed. A
// player's set named as one of the game's is listed beside it, as the player's.
static int list_folder(const std::string &folder, int own)
{
    std::vector<std::string> names;
    if (!list_regular_files(folder, &names))
        return 0;
    for (const std::string &name : names) {
        if (!is_set_file(name))
            continue;
        std::string listed = own && shipped_set_exists(name.c_str()) ? OWN_SET_PREFIX + name : name;
        if (listed.size() < sizeof sfilename)
            shandle.push_back({listed, own});
    }
    return 1;
}

// The sets the player made and the sets that came with the game, by name; 0
// when neither folder can be listed.
static int list_sets()
{
    shandle.clear();
    int player = list_folder(player_file("level_sets/"), 1);
    int shipped = list_folder("level_sets", 0);
    std::sort(shandle.begin(), shandle.end(), name_before);
    return player || shipped;
}

// The previewed level of the set shown.
static void read_preview()
{
    preview_read = set_readable && read_set_level(sfilename, preview_level, &preview, nullptr);
}

// The header of the set at fdata into fhead; an empty header if there is none
// or it cannot be read.
static void show_set()
{
    memset(&fhead, 0, sizeof fhead);
    set_readable = 0;
    sfilename[0] = 0;
    if (fdata >= shandle.size())
        return;
    snprintf(sfilename, sizeof sfilename, "%s", shandle[fdata].name.c_str());
    level_set_header h;
    set_readable = level_set_readable(sfilename, &h);
    if (set_readable)
        fhead = h;
    preview_level = 1;
    read_preview();
}

void file_search(int mode)
{
    if (mode == 3) {
        shandle.clear();
        return;
    }
    if (mode == 2 && fdata + 1 < shandle.size()) {
        fdata++;
        show_set();
        return;
    }
    fdata = 0;
    if (!list_sets()) {
        memset(&fhead, 0, sizeof fhead);
        set_readable = 0;
        snprintf(sfilename, sizeof sfilename, "ERROR");
        return;
    }
    show_set();
}

// ---- Level-set browser ----

// The preview: the set's level preview_level drawn small, with buttons to
// flip through the set's levels and "n/m" between them.
static const float PREVIEW_LEFT = 3.36f, PREVIEW_TOP = 0.06f, PREVIEW_W = 0.72f, PREVIEW_H = 0.3456f;
static const float FLIP = 0.1f, FLIP_TOP = -0.31f;
static void draw_preview()
{
    if (!set_readable)
        return;
    gui_frame();
    glDisable(GL_DEPTH_TEST);
    if (preview_read)
        draw_thumbnail(preview, PREVIEW_LEFT, PREVIEW_TOP, PREVIEW_LEFT + PREVIEW_W, PREVIEW_TOP - PREVIEW_H, -5.0f);
    begin_icons();
    lit_button(PREVIEW_LEFT, FLIP_TOP, FLIP, -5.0f, ticon[ICON_MINUS], CODE_PREVIEW_PREV, GREY);
    lit_button(PREVIEW_LEFT + PREVIEW_W - FLIP, FLIP_TOP, FLIP, -5.0f, ticon[ICON_PLUS], CODE_PREVIEW_NEXT, GREY);
    end_icons();
    char line[48];
    snprintf(line, sizeof line, "%d/%d", preview_level, fhead.level_count);
    glLoadIdentity();
    glTranslatef((PREVIEW_LEFT + 0.24f - 3.0f) * 9.0f, (FLIP_TOP - 0.08f) * 9.0f, -5.0f);
    glColor4f(1, 1, 1, 1);
    glsPrint("%s", line);
    gui_frame();
}

// The previous or next level of the set in the preview, wrapping.
static void flip_preview(int dir)
{
    if (!set_readable || fhead.level_count < 1)
        return;
    preview_level += dir;
    if (preview_level < 1)
        preview_level = fhead.level_count;
    if (preview_level > fhead.level_count)
        preview_level = 1;
    read_preview();
}

// The header of the set shown.
static void header_texts()
{
    char line[320];
    snprintf(line, sizeof line, "Set title: %s", fhead.set_title);
    label(-13.2f, 5.0f, line);
    label(-13.2f, 4.0f, fhead.description_text, 0, 1, 0);
    snprintf(line, sizeof line, "Created by: %s", fhead.author_name);
    label(-13.2f, 3.0f, line);
    snprintf(line, sizeof line, "Number of levels in set: %d", fhead.level_count);
    label(-13.2f, 2.0f, line);
    int own = fdata < shandle.size() && shandle[fdata].own;
    std::string shown = fdata < shandle.size() ? bare_name(shandle[fdata]) : std::string(sfilename);
    snprintf(line, sizeof line, "File name: %s%s", shown.c_str(), own ? "  (your own set)" : "");
    label(-13.2f, 1.0f, line);
}

void level_loader()
{
    menublock = 1;
    gui_win(1.4f, 0.9f, 4.6f, -0.55f, "", "", 5);
    glDisable(GL_TEXTURE_2D);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glTranslatef(-8.0f, 7.3f, -5.0f);
    glsPrint("Load and play a level set:");

    begin_icons();
    icon_button(1.6f, 0.0f, ICON_DIFFICULTY, CODE_DIFF, 1);
    icon_button(2.5f, 0.0f, ICON_LEVEL, CODE_LEVEL, 1);
    icon_button(3.0f, 0.0f, classic ? ICON_ON : ICON_OFF, CODE_CLASSIC, 1);
    icon_button(4.15f, 0.0f, ICON_PLAY, CODE_PLAY, set_readable, sfilename[0] != 0);
    end_icons();

    label(-13.2f, -3.3f, "Difficulty");
    difficulty_list(-0.7f);
    label(10.6f, -3.3f, "Play");
    label(-0.44f, -3.3f, "Classic");
    label(-0.1f, -4.1f, "Mode");
    label(-4.35f, -3.3f, "Next");
    label(-4.1f, -4.1f, "Set");
    header_texts();
    draw_preview();
    gui_frame();

    if (GUI_CANCEL) {
        GUI_CANCEL = 0;
        menublock = 0;
        gui_select = 0;
        close_screen();
        file_search(3);
    }
    mode_actions();
    if (GUI_LEVEL) {
        GUI_LEVEL = 0;
        file_search(2);
    }
    if (GUI_PREVIEW_PREV || GUI_PREVIEW_NEXT) {
        flip_preview(GUI_PREVIEW_NEXT ? 1 : -1);
        GUI_PREVIEW_PREV = GUI_PREVIEW_NEXT = 0;
    }
    if (GUI_PLAY) {
        GUI_PLAY = 0;
        // An empty folder has nothing to play; a set that cannot be read or
        // holds no level says so and stays in the browser.
        if (set_readable) {
            file_search(3);
            close_screen();
            memcpy(set_name, sfilename, sizeof set_name);
            start_game();
        } else if (sfilename[0]) {
            gui_select = 0;
            show_notice(SET_UNREADABLE);
        }
    }
}
