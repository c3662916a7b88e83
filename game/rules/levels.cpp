// The level loaders: a level of a level-set file for play, the editor's levels
// for a test game, and the editor's textures and first level at start-up.

#include <GL/gl.h>

#include <cstdio>
#include <cstring>
#include <sys/stat.h>

#include "editor/editor.h"
#include "files.h"
#include "graphics/graphics.h"
#include "paths.h"
#include "physics/physics.h"
#include "rules.h"
#include "shell/shell.h"

// ---- The editor's level files ----

// 1 when the editor's level file k (in the player's data folder) is a regular
// file, readable or not; a pipe or a folder in its place does not count.
static int level_file_there(int k)
{
    char rel[64];
    snprintf(rel, sizeof rel, "user_data/l%d.raw", k);
    struct stat st;
    return stat(player_file(rel).c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// The number of editor level files numbered 1, 2, ... without a gap.
static int count_level_files()
{
    int k = 0;
    while (level_file_there(k + 1))
        k++;
    return k;
}

// ---- Board conversions ----

void normal_unknown_types(int32_t *types)
{
    for (int k = 0; k < GRID_CELLS; k++)
        if (types[k] < BRICK_NORMAL || types[k] > BRICK_THREE_HIT)
            types[k] = BRICK_NORMAL;
}

// Easy: the harmful power-ups are taken out of the cells in use.
static void easy_filter()
{
    for (int r = 1; r <= GRID_ROWS; r++)
        for (int c = 1; c <= GRID_ROWS; c++) {
            int32_t &kind = powerup[grid_index(r, c)];
            if (kind >= 1 && kind <= POWERUP_KINDS && powerup_table[kind].harmful)
                kind = 0;
        }
}

// Classic: exploding bricks vanish, every other brick is normal, no power-ups.
static void classic_conversion()
{
    for (int r = 1; r <= GRID_ROWS; r++)
        for (int c = 1; c <= GRID_ROWS; c++) {
            int k = grid_index(r, c);
            if (bricktype[k] == BRICK_EXPLODING)
                board[k] = 0;
            else
                bricktype[k] = BRICK_NORMAL;
            powerup[k] = 0;
        }
}

// A new background for the level; none while there are no backgrounds.
static void pick_background()
{
    backnum = backmax > 0 ? randn(backmax) : 0;
}

// ---- Level-set files ----

// Copies a level record's six grids into the game board.
static void set_board_from(const set_level_record &rec)
{
    int32_t *dest[LEVEL_BLOCKS] = {board, rr, gg, bb, bricktype, powerup};
    for (int i = 0; i < LEVEL_BLOCKS; i++)
        memcpy(dest[i], rec.block[i].grid.cells, sizeof(grid_record));
}

// Reads and checks the header of an open level-set file: negative counts or a
// file shorter than its counts promise refuse the file (0). The texts are
// ended inside their fields.
static int read_set_header(FILE *f, level_set_header &h)
{
    if (fseek(f, 0, SEEK_END) != 0)
        return 0;
    long size = ftell(f);
    rewind(f);
    if (size < 0 || fread(&h, sizeof h, 1, f) != 1)
        return 0;
    if (h.level_count < 0 || h.texture_count < 0)
        return 0;
    long long need = SET_HEADER_BYTES + (long long)h.level_count * sizeof(set_level_record) +
                     (long long)h.texture_count * sizeof(set_texture_record);
    if (size < need)
        return 0;
    h.set_title[sizeof h.set_title - 1] = '\0';
    h.author_name[sizeof h.author_name - 1] = '\0';
    h.description_text[sizeof h.description_text - 1] = '\0';
    return 1;
}

// Opens the set file of name (the player's own, or the shipped one) when it is
// a regular file; null otherwise.
static FILE *open_set_file(const char *name)
{
    if (!name || strnlen(name, 256) >= 256)
        return nullptr;
    return open_regular_file(set_file_path(name).c_str());
}

int level_set_readable(const char *name, level_set_header *h)
{
    level_set_header head;
    FILE *f = open_set_file(name);
    int ok = f && read_set_header(f, head) && head.level_count >= 1;
    if (f)
        fclose(f);
    if (ok && h)
        *h = head;
    return ok;
}

int read_set_level(const char *name, int lev, level_file_record *out, level_set_header *h)
{
    level_set_header head;
    static set_level_record rec;
    FILE *f = open_set_file(name);
    int ok = f && read_set_header(f, head) && lev >= 1 && lev <= head.level_count &&
             fseek(f, SET_HEADER_BYTES + (long)(lev - 1) * (long)sizeof rec, SEEK_SET) == 0 &&
             fread(&rec, sizeof rec, 1, f) == 1;
    if (f)
        fclose(f);
    if (!ok)
        return 0;
    for (int i = 0; i < LEVEL_BLOCKS; i++)
        memcpy(out->block[i].cells, rec.block[i].grid.cells, sizeof(grid_record));
    if (h)
        *h = head;
    return 1;
}

int level_set_levels(const char *name)
{
    level_set_header h;
    return level_set_readable(name, &h) ? h.level_count : -1;
}

void keep_grid_in_range(int32_t *red, int32_t *green, int32_t *blue, int32_t *types,
                        int32_t *pups)
{
    for (int k = 0; k < GRID_CELLS; k++) {
        int32_t *colour[3] = {&red[k], &green[k], &blue[k]};
        for (int32_t *v : colour)
            if (*v < 0 || *v > 128)
                *v = *v < 0 ? 0 : 127;
        if (pups[k] < 0 || pups[k] > POWERUP_KINDS)
            pups[k] = 0;
    }
    normal_unknown_types(types);
}

void keep_textures_in_range(int32_t *tex, int count)
{
    int last = count >= 1 ? count : 1;
    for (int k = 0; k < GRID_CELLS; k++)
        if (tex[k] > last)
            tex[k] = last;
}

// The game board's values brought within range after a load; texture numbers
// stay within the play table's textures.
static void keep_board_in_range()
{
    keep_grid_in_range(rr, gg, bb, bricktype, powerup);
    keep_textures_in_range(board, MAX_SET_TEXTURES);
}

// Reads level lev and the textures of an open level-set file whose header
// read_set_header accepts; anything else refuses the whole file (returns 0,
// board untouched). Textures beyond the table's 511 entries are passed over.
static int read_set_file(FILE *f, int lev)
{
    level_set_header h;
    if (!read_set_header(f, h))
        return 0;
    fhead = h;

    if (lev <= h.level_count) {
        static set_level_record rec;
        if (fseek(f, SET_HEADER_BYTES + (long)(lev - 1) * (long)sizeof rec, SEEK_SET) != 0 ||
            fread(&rec, sizeof rec, 1, f) != 1)
            return 0;
        set_board_from(rec);
    }

    static set_texture_record tex;
    int count = h.texture_count < MAX_SET_TEXTURES ? h.texture_count : MAX_SET_TEXTURES;
    if (fseek(f, SET_HEADER_BYTES + (long)h.level_count * (long)sizeof(set_level_record),
              SEEK_SET) != 0)
        return 0;
    for (int t = 1; t <= count; t++) {
        if (fread(&tex, sizeof tex, 1, f) != 1)
            return 0;
        upload_brick(etexname[t], tex.rgb, GL_NEAREST);
    }
    return 1;
}

// 1 when path opens as a regular file.
static int regular_file_at(const std::string &path)
{
    FILE *f = open_regular_file(path.c_str());
    if (f)
        fclose(f);
    return f != nullptr;
}

int shipped_set_exists(const char *name)
{
    std::string shipped = "level_sets/" + std::string(name);
    if (!regular_file_at(shipped))
        return 0;
    // Where the game runs from the player's own folder, its files are the player's.
    struct stat a, b;
    std::string own = player_file(("level_sets/" + std::string(name)).c_str());
    return !(stat(shipped.c_str(), &a) == 0 && stat(own.c_str(), &b) == 0 && a.st_dev == b.st_dev &&
             a.st_ino == b.st_ino);
}

std::string set_file_path(const char *name)
{
    size_t prefix = sizeof OWN_SET_PREFIX - 1;
    if (strncmp(name, OWN_SET_PREFIX, prefix) == 0)
        return player_file(("level_sets/" + std::string(name + prefix)).c_str());
    std::string own = player_file(("level_sets/" + std::string(name)).c_str());
    if (!shipped_set_exists(name) && regular_file_at(own))
        return own;
    return "level_sets/" + std::string(name);
}

// Level lev of "level_sets/<name>" into the game board, the set's textures into
// etexname. A set that is missing or refused leaves an empty board, an empty
// header and no levels. While the editor is open only a background is picked.
void load_level_set(const char *name, int lev)
{
    if (!screen_is(SCREEN_EDITOR)) {
        clear_board();
        if (lev < 1)
            lev = 1;
        FILE *f = open_set_file(name);
        int ok = f && read_set_file(f, lev);
        if (f)
            fclose(f);
        if (!ok) {
            clear_board();
            memset(&fhead, 0, sizeof fhead);
        }
        keep_board_in_range();
        if (difficulty == 0)
            easy_filter();
        if (classic)
            classic_conversion();
        level_total = fhead.level_count;
    }
    pick_background();
}

// ---- The editor's levels ----

// The bricks/ textures back into etexname, and the editor's current level into
// the game board for a test game.
void test_level()
{
    texmax = load_brick_files(etexname, MAX_SET_TEXTURES);
    level_total = count_level_files();
    clear_board();
    for (int r = 1; r <= GRID_ROWS; r++)
        for (int c = 1; c <= GRID_ROWS; c++) {
            int k = grid_index(r, c);
            board[k] = leveled[k];
            rr[k] = ed_rr[k];
            gg[k] = ed_gg[k];
            bb[k] = ed_bb[k];
            bricktype[k] = ed_bricktype[k];
            powerup[k] = ed_powerup[k];
        }
    keep_board_in_range();
    testing_level = 1;
    if (classic)
        classic_conversion();
    pick_background();
}

// At start-up: counts the editor's levels, loads its brick textures and level 1
// (a level 1 that cannot be read is set aside and starts empty).
void edload()
{
    clear_editor_board();
    curlevel = count_level_files();
    fhead.level_count = curlevel;
    texmax = load_brick_files(edtexname, MAX_ED_TEXTURES);
    if (curlevel == 0) {
        curlevel = 1;
        return;
    }
    editor_open_level(1);
}
