// The saved game: written when the player leaves a game, read by Continue,
// removed when a continued game finishes its set.

#include "savegame.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "paths.h"
#include "physics/ball.h"
#include "physics/physics.h"
#include "progress.h"
#include "rules.h"
#include "shell/shell.h"

const char SAVE_FILE[] = "level_sets/corvale.sav";

std::string save_path()
{
    return std::string(player_dir()) + "/" + SAVE_FILE;
}

char set_name[256] = "default.bls";
int SAVE_AVAILABLE;
int PLAYING_SAVED_GAME;
saved_game Sgame;

int replace_file(const char *path, const void *data, size_t size)
{
    char temp[512];
    int n = snprintf(temp, sizeof temp, "%s.tmp", path);
    if (n <= 0 || n >= (int)sizeof temp)
        return 0;
    FILE *f = fopen(temp, "wb");
    if (!f)
        return 0;
    int ok = fwrite(data, 1, size, f) == size;
    ok = fflush(f) == 0 && ok;
    ok = fclose(f) == 0 && ok;
    if (ok && rename(temp, path) == 0)
        return 1;
    int err = errno;
    remove(temp);
    errno = err;
    return 0;
}

void report_write_failure(const char *what, const std::string &path, const std::string &folder_error)
{
    std::string why = folder_error.empty() ? path + ": " + strerror(errno) : folder_error;
    std::string text = std::string("Corvale could not write ") + what + ".\n" + why +
                       "\nThe file that was there before is unchanged.";
    message_box(text.c_str(), "Corvale", MB_WARNING);
    keys[VK_ESCAPE] = 0;  // the box took the key's release
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
    if (replace_file(path.c_str(), &g, sizeof g))
        return 1;
    report_write_failure("the saved game", path, folder_error);
    return 0;
}

void save_check()
{
    FILE *f = fopen(save_path().c_str(), "rb");
    SAVE_AVAILABLE = f != nullptr;
    if (f)
        fclose(f);
}

void delete_saved()
{
    remove(save_path().c_str());
    SAVE_AVAILABLE = 0;
    PLAYING_SAVED_GAME = 0;
}

int plain_set_name(const char *name, size_t field)
{
    const char *end = (const char *)memchr(name, 0, field);
    if (!end || end == name)
        return 0;
    if (strchr(name, '/') || strchr(name, '\\'))
        return 0;
    return strcmp(name, ".") != 0 && strcmp(name, "..") != 0;
}

// A plain set name that opens, a level and difficulty in range, known brick types.
int save_acceptable(const saved_game &g)
{
    if (!plain_set_name(g.set_name, sizeof g.set_name))
        return 0;
    if (g.level < 1 || g.difficulty < 0 || g.difficulty > 2)
        return 0;
    for (int r = 1; r <= GRID_ROWS; r++)
        for (int c = 1; c <= GRID_ROWS; c++)
            if (g.types[save_index(r, c)] < 0 || g.types[save_index(r, c)] > BRICK_THREE_HIT)
                return 0;
    FILE *f = fopen(set_file_path(g.set_name).c_str(), "rb");
    if (!f)
        return 0;
    fclose(f);
    return 1;
}

// Reads the whole save; 0 when it cannot be opened or is not exactly one record.
static int read_save(saved_game &g)
{
    FILE *f = fopen(save_path().c_str(), "rb");
    if (!f)
        return 0;
    size_t got = fread(&g, 1, sizeof g, f);
    int extra = fgetc(f) != EOF;
    fclose(f);
    return got == sizeof g && !extra;
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
    if (!read_save(g) || !save_acceptable(g))
        return 0;
    Sgame = g;
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
    return 1;
}

void leave_game_saved()
{
    save_progress();
    save_check();  // a failed save leaves whatever save was there before
    PLAYING_SAVED_GAME = 0;
}
