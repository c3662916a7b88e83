// The saved game: written when the player leaves a game, read by Continue,
// removed when a continued game finishes its set.

#include "savegame.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>

#include "files.h"
#include "menus/menus.h"
#include "paths.h"
#include "physics/ball.h"
#include "physics/physics.h"
#include "progress.h"
#include "rules.h"
#include "shell/shell.h"

const char SAVE_FILE[] = "level_sets/corvale.sav";

std::string save_path()
{
    return player_file(SAVE_FILE);
}

char set_name[256] = "default.bls";
int SAVE_AVAILABLE;
int SAVE_REFUSED;
int PLAYING_SAVED_GAME;
saved_game Sgame;

void report_write_failure(const char *what, const std::string &path, const std::string &folder_error)
{
    std::string reason = strerror(errno);
    if (!folder_error.empty())
        reason = folder_error.substr(folder_error.rfind(": ") + 2);
    std::string why = folder_error.empty() ? path + ": " + reason : folder_error;
    std::string headline = std::string("Corvale could not write ") + what + ".";
    std::string text = headline + "\n" + why + "\nThe file that was there before is unchanged.";
    // The panel in the game's window is seen even where no box can be shown;
    // it names the file without its folders, to fit.
    std::string file = path.substr(path.rfind('/') + 1);
    show_notice((headline + "\n" + file + ": " + reason).c_str());
    message_box(text.c_str(), "Corvale", MB_WARNING);
    keys[VK_ESCAPE] = 0;  // the box took the key's release
}

// A save there that Continue would refuse (damaged, or unreadable) is renamed
// aside as corvale.sav.damaged before a new save takes its place, and the
// player told. 0 (errno set) when it could not be moved: nothing replaces it.
static int keep_refused_save_aside(const std::string &path)
{
    save_check();
    if (!SAVE_REFUSED)
        return 1;
    char aside[600];
    if (!rename_aside(path.c_str(), ".damaged", aside, sizeof aside))
        return 0;
    const char *base = strrchr(aside, '/');
    std::string text = std::string("The saved game that could not be continued\nis kept as ") +
                       (base ? base + 1 : aside) + ".";
    show_notice(text.c_str());
    return 1;
}

int save_progress()
{
    saved_game &g = Sgame;
    memset(&g, 0, sizeof g);
    g.lcount = lcount;
    g.counter = counter;
    g.oldlives = oldlives;
    g.score = score;
    g.newlives = newlives;
    g.level = level;
    g.difficulty = difficulty;
    g.classic = classic;
    for (int k = 0; k < 10; k++)
        g.goodies[k] = goodies[k];
    for (int n = 0; n <= 16; n++)
        g.balls[n] = balls[n];
    snprintf(g.set_name, sizeof g.set_name, "%s", set_name);
    for (int r = 1; r <= GRID_ROWS; r++)
        for (int c = 1; c <= GRID_ROWS; c++) {
            g.presence[save_index(r, c)] = board[grid_index(r, c)] > 0 ? 1 : 0;
            g.types[save_index(r, c)] = bricktype[grid_index(r, c)];
        }
    std::string folder_error;
    std::string path = player_path(SAVE_FILE, &folder_error);
    if (keep_refused_save_aside(path) && replace_file(path.c_str(), &g, sizeof g))
        return 1;
    report_write_failure("the saved game", path, folder_error);
    return 0;
}

// Reads the whole save; 0 when it is missing, not a regular file, or not
// exactly one record.
static int read_save(saved_game &g)
{
    FILE *f = open_regular_file(save_path().c_str());
    if (!f)
        return 0;
    size_t got = fread(&g, 1, sizeof g, f);
    int extra = fgetc(f) != EOF;
    fclose(f);
    return got == sizeof g && !extra;
}

void save_check()
{
    // A regular file that does not open (no read permission) is a save all
    // the same, one that Continue refuses.
    struct stat st;
    SAVE_AVAILABLE = stat(save_path().c_str(), &st) == 0 && S_ISREG(st.st_mode);
    static saved_game g;
    SAVE_REFUSED = SAVE_AVAILABLE && !(read_save(g) && save_acceptable(g));
}

void delete_saved()
{
    remove(save_path().c_str());
    SAVE_AVAILABLE = 0;
    SAVE_REFUSED = 0;
    PLAYING_SAVED_GAME = 0;
}

int plain_set_name(const char *name, size_t field)
{
    const char *end = (const char *)memchr(name, 0, field);
    if (!end || end == name)
        return 0;
    if (strncmp(name, OWN_SET_PREFIX, sizeof OWN_SET_PREFIX - 1) == 0)
        name += sizeof OWN_SET_PREFIX - 1;
    if (!*name)
        return 0;
    if (strchr(name, '/') || strchr(name, '\\'))
        return 0;
    return strcmp(name, ".") != 0 && strcmp(name, "..") != 0;
}

// 1 when v is within lo..hi.
static bool within(int32_t v, int32_t lo, int32_t hi)
{
    return v >= lo && v <= hi;
}

// Every value is one that play can leave in a saved game: a plain name of a
// set that can be read, a level of that set, a score within 0..SCORE_MAX,
// lives counters within their ranges (a game left at "GAME OVER" holds
// counter 6), 0/1 flags, and known brick types where bricks stand (a cleared
// cell may hold type 0).
int save_acceptable(const saved_game &g)
{
    if (!plain_set_name(g.set_name, sizeof g.set_name))
        return 0;
    if (!within(g.difficulty, 0, 2) || !within(g.classic, 0, 1) ||
        !within(g.score, 0, SCORE_MAX) || !within(g.lcount, 1, 4) ||
        !within(g.counter, COUNTER_MIN, 6) || !within(g.oldlives, 0, MAX_LIVES) ||
        !within(g.newlives, 0, MAX_LIVES))
        return 0;
    for (int32_t flag : g.goodies)
        if (!within(flag, 0, 1))
            return 0;
    for (int32_t flag : g.balls)
        if (!within(flag, 0, 1))
            return 0;
    for (int r = 1; r <= GRID_ROWS; r++)
        for (int c = 1; c <= GRID_ROWS; c++) {
            int32_t present = g.presence[save_index(r, c)];
            int32_t type = g.types[save_index(r, c)];
            if (!within(present, 0, 1) || !within(type, present ? BRICK_NORMAL : 0, BRICK_THREE_HIT))
                return 0;
        }
    return within(g.level, 1, level_set_levels(g.set_name));
}

// Leaves only the bricks the save says still stand, with the types it kept.
static void restore_bricks(const saved_game &g)
{
    for (int r = 1; r <= GRID_ROWS; r++)
        for (int c = 1; c <= GRID_ROWS; c++) {
            int k = grid_index(r, c);
            if (g.presence[save_index(r, c)] == 0)
                board[k] = bricktype[k] = rr[k] = gg[k] = bb[k] = powerup[k] = 0;
        }
    for (int r = 1; r <= GRID_ROWS; r++)
        for (int c = 1; c <= GRID_ROWS; c++)
            bricktype[grid_index(r, c)] = g.types[save_index(r, c)];
}

int load_saved()
{
    saved_game g;
    if (!read_save(g) || !save_acceptable(g)) {
        SAVE_REFUSED = SAVE_AVAILABLE;
        return 0;
    }
    SAVE_REFUSED = 0;
    Sgame = g;
    restore_saved(g);
    return 1;
}

void restore_saved(const saved_game &g)
{
    for (int k = 0; k < 10; k++)
        goodies[k] = g.goodies[k];
    for (int n = 0; n <= 16; n++)
        balls[n] = g.balls[n];
    memcpy(set_name, g.set_name, sizeof set_name);

    block_timer = 0;
    balls[1] = 1;
    in_flight = 0;
    ball_start = 1;
    clear_play_board();
    // The load filters with the difficulty and mode chosen before the restore.
    load_level_set(set_name, g.level);

    lcount = g.lcount;
    counter = g.counter;
    oldlives = g.oldlives;
    newlives = g.newlives;
    score = g.score;
    level = g.level;
    difficulty = g.difficulty;
    classic = g.classic;
    restore_bricks(g);
    reset_play_effects();
}

void leave_game_saved()
{
    save_progress();
    save_check();  // a failed save leaves whatever save was there before
    PLAYING_SAVED_GAME = 0;
}
