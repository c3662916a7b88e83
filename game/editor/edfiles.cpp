// The editor's files: saving the level being edited, moving between levels,
// clearing and deleting levels, and packing the levels into a new level set.
// Every file is replaced whole through a temporary file, and every result is
// checked: a failed write shows the failure panel and keeps the old file.

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <sys/stat.h>
#include <vector>

#include "audio/audio.h"
#include "editor.h"
#include "files.h"
#include "graphics/graphics.h"
#include "menus/menus.h"
#include "paths.h"
#include "rules/rules.h"
#include "rules/savegame.h"

int maxlevels = MAX_EDITOR_LEVELS;
char filename[256];
level_set_header edhead;

// Failure texts of the message panel.
static const char WRITE_FAILED[] = "The file could not be written.";
static const char SAVE_FAILED[] = "The level could not be saved.";
static const char SET_NOT_SAVED[] = "The level could not be saved; the level set was not created.";
static const char LEVEL_CHANGE_FAILED[] = "The levels could not be changed; every level is still in a file.";
const char *writefail_text = WRITE_FAILED;
char created_text[192];

// What level file on_disk_level of the data folder on_disk_folder holds, so
// the board can be compared with it every frame without reading the file.
// on_disk_whole is 0 when that file is missing or shorter than a level.
static level_file_record on_disk;
static int on_disk_level;
static std::string on_disk_folder;
static int on_disk_whole;

// The six editor grids in file order.
static int32_t *const editor_grids[LEVEL_BLOCKS] = {leveled, ed_rr, ed_gg, ed_bb, ed_bricktype,
                                                    ed_powerup};

// ---- Paths ----

// Full path of the editor's level file n; its folder is made only for writing.
static std::string level_path(int n, bool for_writing = false)
{
    char rel[64];
    snprintf(rel, sizeof rel, "user_data/l%d.raw", n);
    return for_writing ? player_path(rel) : player_file(rel);
}

int plain_file_name(const char *text)
{
    size_t n = strnlen(text, 256);
    if (n == 0 || n > 255)
        return 0;
    for (size_t i = 0; i < n; i++) {
        char c = text[i];
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')))
            return 0;
    }
    return 1;
}

// Full path of the set named by `filename`; empty when the name is not a plain
// name, so nothing typed or stored can reach outside level_sets/. Its folder
// is made only for writing.
static std::string set_path(bool for_writing = false)
{
    if (!plain_file_name(filename))
        return std::string();
    std::string rel = "level_sets/" + std::string(filename) + ".bls";
    return for_writing ? player_path(rel.c_str()) : player_file(rel.c_str());
}

// ---- The board and its file ----

// What a level file holds: nothing (no file, or no regular file: a pipe or a
// folder is left alone), one whole level, or something that cannot be read as
// one (a regular file of another size, or one that does not open).
enum { LEVEL_MISSING, LEVEL_WHOLE, LEVEL_DAMAGED };

// Reads level file n into rec; LEVEL_WHOLE only for exactly one level record.
static int read_level_file(int n, level_file_record *rec)
{
    std::string path = level_path(n);
    FILE *f = open_regular_file(path.c_str());
    if (!f) {
        struct stat st;
        return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) ? LEVEL_DAMAGED : LEVEL_MISSING;
    }
    int whole = fread(rec, sizeof *rec, 1, f) == 1 && fgetc(f) == EOF && !ferror(f);
    fclose(f);
    return whole ? LEVEL_WHOLE : LEVEL_DAMAGED;
}

int read_editor_level(int n, level_file_record *rec)
{
    return read_level_file(n, rec) == LEVEL_WHOLE;
}

// 1 when level file n exists (whether or not it is whole).
static int level_file_exists(int n)
{
    FILE *f = open_regular_file(level_path(n).c_str());
    if (f)
        fclose(f);
    return f != nullptr;
}

// Remembers what level file n holds.
static void remember_file(int n)
{
    on_disk_level = n;
    on_disk_folder = player_dir();
    on_disk_whole = read_level_file(n, &on_disk) == LEVEL_WHOLE;
}

// 1 when a cell of rows and columns 1..20 holds a brick or a power-up.
static int board_has_content()
{
    for (int r = 1; r <= GRID_ROWS; r++)
        for (int c = 1; c <= GRID_ROWS; c++)
            if (leveled[grid_index(r, c)] != 0 || ed_powerup[grid_index(r, c)] != 0)
                return 1;
    return 0;
}

// Compares rows and columns 1..20: row 0 and column 0 are never drawn or
// played, so a press beside the grid does not count as a change.
int level_unsaved()
{
    if (on_disk_level != edlevel || on_disk_folder != player_dir())
        remember_file(edlevel);
    if (!on_disk_whole)
        return board_has_content();
    for (int b = 0; b < LEVEL_BLOCKS; b++)
        for (int r = 1; r <= GRID_ROWS; r++)
            for (int c = 1; c <= GRID_ROWS; c++)
                if (editor_grids[b][grid_index(r, c)] != on_disk.block[b].cells[grid_index(r, c)])
                    return 1;
    return 0;
}

// A level file n that cannot be read is renamed aside as lN.raw.damaged (or
// .damaged.2, ...) and the player told, so that nothing written later
// replaces it. 0 when it is damaged and could not be moved: it is left as it
// is and must not be written over.
static int keep_damaged_aside(int n)
{
    static level_file_record rec;
    if (read_level_file(n, &rec) != LEVEL_DAMAGED)
        return 1;
    char aside[600];
    std::string path = level_path(n), text = "Level " + std::to_string(n) + " cannot be read";
    if (!rename_aside(path.c_str(), ".damaged", aside, sizeof aside)) {
        int why = errno;
        show_notice((text + ", nor moved aside:\n" + strerror(why) + ". It is not saved over.").c_str());
        errno = why;
        return 0;
    }
    level_files_changed++;
    const char *base = strrchr(aside, '/');
    show_notice((text + "; it is kept as " + (base ? base + 1 : aside) + "\nand the level starts empty.").c_str());
    return 1;
}

// Writes rec as level file n and remembers it as that level's content; the
// number of levels grows when n was a new one. 0 when it could not be written.
static int write_record(int n, const level_file_record &rec)
{
    if (!keep_damaged_aside(n) || !replace_file(level_path(n, true).c_str(), &rec, sizeof rec))
        return 0;
    level_files_changed++;
    on_disk = rec;
    on_disk_level = n;
    on_disk_folder = player_dir();
    on_disk_whole = 1;
    if (n > curlevel)
        curlevel = n;
    return 1;
}

// Writes the editor board as level file `edlevel`; 0 when it failed.
static int write_level()
{
    static level_file_record rec;
    for (int b = 0; b < LEVEL_BLOCKS; b++)
        memcpy(rec.block[b].cells, editor_grids[b], sizeof(grid_record));
    return write_record(edlevel, rec);
}

char writefail_file[512];
char writefail_reason[128];

// Opens the failure panel with one of its texts, the file it was about and
// the system's reason why (an errno value).
static void show_failure(const char *text, int why, const std::string &path)
{
    writefail_text = text;
    snprintf(writefail_file, sizeof writefail_file, "%s", path.c_str());
    snprintf(writefail_reason, sizeof writefail_reason, "%s", why ? strerror(why) : "unknown reason");
    open_dialog(DLG_WRITE_FAILED);
}

int save_edited_level()
{
    if (!write_level()) {
        int why = errno;
        play_bad(0, 0);
        show_failure(WRITE_FAILED, why, level_path(edlevel));
        return 0;
    }
    play_click();
    gui_select = 0;
    open_dialog(DLG_SAVED);
    return 1;
}

// Saves a board that differs from its file before it is left; 0 (with the
// failure panel saying `failure`) when that save failed.
static int keep_changes(const char *failure = SAVE_FAILED)
{
    if (!level_unsaved())
        return 1;
    if (write_level())
        return 1;
    int why = errno;
    play_bad(0, 0);
    show_failure(failure, why, level_path(edlevel));
    return 0;
}

int save_before_leaving()
{
    return keep_changes();
}

void discard_changes()
{
    editor_open_level(edlevel);
}

// Every cell of the whole board empty: texture 0, colour 127, type 1, no power-up.
static void empty_board()
{
    for (int k = 0; k < GRID_CELLS; k++) {
        empty_cell(editor_cells(), k, EDITOR_SHADE, BRICK_NORMAL);
        ed_powerup[k] = 0;
    }
}

void editor_open_level(int n)
{
    edlevel = n;
    load_edited_level();
    undo_reset();
}

void editor_go_to_level(int n)
{
    undo_record();
    edlevel = n;
    load_edited_level();
    undo_record_switch();
}

void load_edited_level()
{
    int n = edlevel;
    // A damaged file is set aside and an empty level written in its place, so
    // the levels after it stay numbered without a gap.
    if (read_level_file(n, &on_disk) == LEVEL_DAMAGED && keep_damaged_aside(n)) {
        empty_board();
        write_level();
    }
    remember_file(n);
    if (on_disk_whole) {
        for (int b = 0; b < LEVEL_BLOCKS; b++)
            memcpy(editor_grids[b], on_disk.block[b].cells, sizeof(grid_record));
        keep_grid_in_range(ed_rr, ed_gg, ed_bb, ed_bricktype, ed_powerup);
        keep_textures_in_range(leveled, texmax);
    } else {
        empty_board();
    }
}

int editor_next_level()
{
    if (edlevel >= maxlevels || !keep_changes())
        return 0;
    // A level that is not a file yet (new and empty) is the last one.
    if (!level_file_exists(edlevel))
        return 0;
    editor_go_to_level(edlevel + 1);
    return 1;
}

int editor_prev_level()
{
    if (edlevel <= 1 || !keep_changes())
        return 0;
    editor_go_to_level(edlevel - 1);
    return 1;
}

void clear_edited_level()
{
    for (int r = 1; r <= GRID_ROWS; r++)
        for (int c = 1; c <= GRID_ROWS; c++) {
            int k = grid_index(r, c);
            empty_cell(editor_cells(), k, EDITOR_SHADE, BRICK_NORMAL);
            ed_powerup[k] = 0;
        }
}

// The cleared board is written as level 1 first (a failure changes nothing);
// only then are levels curlevel down to 2 removed, highest first, so the files
// left are always numbered without a gap. A file already gone counts as removed.
void delete_all_levels()
{
    static level_file_record rec;
    for (int b = 0; b < LEVEL_BLOCKS; b++)
        memcpy(rec.block[b].cells, editor_grids[b], sizeof(grid_record));
    for (int r = 1; r <= GRID_ROWS; r++)
        for (int c = 1; c <= GRID_ROWS; c++) {
            int k = grid_index(r, c);
            empty_cell(record_cells(rec), k, EDITOR_SHADE, BRICK_NORMAL);
            rec.block[LEVEL_POWERUPS].cells[k] = 0;
        }
    if (!write_record(1, rec)) {
        int why = errno;
        play_bad(0, 0);
        show_failure(WRITE_FAILED, why, level_path(1));
        return;
    }
    clear_edited_level();
    edlevel = 1;
    undo_reset();
    while (curlevel > 1) {
        if (remove(level_path(curlevel).c_str()) != 0 && errno != ENOENT) {
            int why = errno;
            play_bad(0, 0);
            show_failure(WRITE_FAILED, why, level_path(curlevel));
            return;
        }
        curlevel--;
        level_files_changed++;
    }
}

// ---- Level management ----
// The level files stay numbered 1..curlevel without a gap. Each change is a
// row of file steps, each replacing one file whole (or removing the last),
// ordered so that a stop after any step leaves whole files without a gap and
// every level still in some file: levels are copied towards the free end
// first, so a level is written over only once a copy of it stands elsewhere.

int level_step_budget = -1;

// The level a change saw in file n: an empty level when it cannot be read.
static void level_content(int n, level_file_record *rec)
{
    if (read_level_file(n, rec) != LEVEL_WHOLE) {
        memset(rec, 0, sizeof *rec);
        for (int k = 0; k < GRID_CELLS; k++) {
            rec->block[LEVEL_RED].cells[k] = rec->block[LEVEL_GREEN].cells[k] = 127;
            rec->block[LEVEL_BLUE].cells[k] = 127;
            rec->block[LEVEL_TYPES].cells[k] = BRICK_NORMAL;
        }
    }
}

// The record of an empty level.
static const level_file_record &empty_level()
{
    static level_file_record rec;
    static int made;
    if (!made) {
        level_content(0, &rec);
        made = 1;
    }
    return rec;
}

// One step: level file n replaced whole by rec. 0 (errno set) when it failed.
static int step_write(int n, const level_file_record &rec)
{
    if (level_step_budget == 0) {
        errno = EIO;
        return 0;
    }
    if (level_step_budget > 0)
        level_step_budget--;
    return write_record(n, rec);
}

// One step: the last level file removed.
static int step_remove_last()
{
    if (level_step_budget == 0) {
        errno = EIO;
        return 0;
    }
    if (level_step_budget > 0)
        level_step_budget--;
    if (remove(level_path(curlevel).c_str()) != 0 && errno != ENOENT)
        return 0;
    curlevel--;
    level_files_changed++;
    return 1;
}

// Level rec put in at n: levels n..curlevel move one later, the last first.
static int insert_level(int n, const level_file_record &rec)
{
    static level_file_record moved;
    for (int k = curlevel; k >= n; k--) {
        level_content(k, &moved);
        if (!step_write(k + 1, moved))
            return 0;
    }
    return step_write(n, rec);
}

// Level n taken out: levels n+1..curlevel move one earlier, then the last
// file goes. The only level is emptied instead.
static int delete_level(int n)
{
    if (curlevel <= 1)
        return step_write(1, empty_level());
    static level_file_record moved;
    for (int k = n; k < curlevel; k++) {
        level_content(k + 1, &moved);
        if (!step_write(k, moved))
            return 0;
    }
    return step_remove_last();
}

// Levels a and b trade places, through a copy of a after the last level.
static int swap_levels(int a, int b)
{
    static level_file_record la, lb;
    level_content(a, &la);
    level_content(b, &lb);
    int spare = curlevel + 1;
    return step_write(spare, la) && step_write(a, lb) && step_write(b, la) && step_remove_last();
}

int apply_level_op(const level_op &op, int backwards)
{
    int files_before = level_files_changed, ok = 0;
    switch (op.kind) {
    case CHANGE_INSERT:
        ok = backwards ? delete_level(op.n) : insert_level(op.n, op.content);
        break;
    case CHANGE_DELETE:
        ok = backwards ? (op.only ? step_write(1, op.content) : insert_level(op.n, op.content))
                       : delete_level(op.n);
        break;
    case CHANGE_SWAP:
        ok = swap_levels(op.n, op.m);
        break;
    default:
        return 1;
    }
    on_disk_level = 0;   // read the file of the level shown again
    if (!ok) {
        int why = errno;
        play_bad(0, 0);
        show_failure(LEVEL_CHANGE_FAILED, why, level_path(curlevel));
        // Stopped part way, the files are whole and without a gap but no
        // longer those the undo history knows: it is forgotten (making the
        // change again would not find the files it expects), and the board
        // shows what the file of its level holds now.
        if (level_files_changed != files_before) {
            edlevel = edlevel > curlevel ? curlevel : edlevel;
            editor_open_level(edlevel);
        }
    }
    return ok;
}

// Saves the board first (a level not yet a file becomes one), then makes the
// change and opens `show`; the change goes into the undo history.
static int change_levels(level_op &op, int show)
{
    if (!keep_changes())
        return 0;
    if (edlevel > curlevel && !write_level()) {
        int why = errno;
        play_bad(0, 0);
        show_failure(WRITE_FAILED, why, level_path(edlevel));
        return 0;
    }
    undo_record();
    if (!apply_level_op(op, 0))
        return 0;
    edlevel = show < 1 ? 1 : show > curlevel ? curlevel : show;
    load_edited_level();
    undo_record_level_op(op);
    return 1;
}

int insert_level_before()
{
    if (curlevel >= maxlevels)
        return 0;
    static level_op op;
    op = {CHANGE_INSERT, edlevel > curlevel ? curlevel + 1 : edlevel, 0, 0, empty_level()};
    return change_levels(op, op.n);
}

int duplicate_level()
{
    if (curlevel >= maxlevels || edlevel > maxlevels - 1)
        return 0;
    static level_op op;
    op.kind = CHANGE_INSERT;
    op.n = edlevel + 1;
    op.only = 0;
    for (int b = 0; b < LEVEL_BLOCKS; b++)
        memcpy(op.content.block[b].cells, editor_grids[b], sizeof(grid_record));
    return change_levels(op, op.n);
}

int delete_edited_level()
{
    static level_op op;
    op.kind = CHANGE_DELETE;
    op.n = edlevel;
    op.only = curlevel <= 1;
    for (int b = 0; b < LEVEL_BLOCKS; b++)
        memcpy(op.content.block[b].cells, editor_grids[b], sizeof(grid_record));
    return change_levels(op, edlevel);
}

int move_level(int dir)
{
    int other = edlevel + dir;
    if (other < 1 || other > curlevel || edlevel > curlevel)
        return 0;
    static level_op op;
    op = {CHANGE_SWAP, edlevel, other, 0, empty_level()};
    return change_levels(op, other);
}

// ---- Level sets ----

int level_exists()
{
    // Anything at the name counts, without opening it: a pipe would never open.
    std::string path = set_path();
    struct stat st;
    return !path.empty() && lstat(path.c_str(), &st) == 0;
}

int shipped_set_named()
{
    return plain_file_name(filename) && shipped_set_exists((std::string(filename) + ".bls").c_str());
}

// 1 when a level holds a brick in rows and columns 1..20.
static int level_has_brick(const level_file_record &rec)
{
    for (int r = 1; r <= GRID_ROWS; r++)
        for (int c = 1; c <= GRID_ROWS; c++)
            if (rec.block[LEVEL_TEXTURES].cells[grid_index(r, c)] != 0)
                return 1;
    return 0;
}

// The file a failed set creation could not read or write.
static std::string set_file_failed;

// Appends size bytes and an 8-byte zero separator to the file image.
static void append_block(std::vector<char> &out, const void *data, size_t size)
{
    const char *p = static_cast<const char *>(data);
    out.insert(out.end(), p, p + size);
    out.insert(out.end(), 8, '\0');
}

// Appends brick texture file t, as the start-up loader reads it (a short file
// black at the end); 0 when it does not open.
static int append_texture(std::vector<char> &out, int t)
{
    static uint8_t rgb[BRICK_TEX_BYTES];
    if (!read_brick_file(t, rgb))
        return 0;
    append_block(out, rgb, sizeof rgb);
    return 1;
}

// "Level set created: N levels", naming the levels left out for having no brick.
static void describe_set(int count, const std::vector<int> &left_out)
{
    std::string text = "Level set created: " + std::to_string(count) + (count == 1 ? " level" : " levels");
    size_t n = left_out.size();
    if (n > 0) {
        text += n == 1 ? " (level " : " (levels ";
        for (size_t k = 0; k < n; k++) {
            if (k > 0)
                text += k + 1 == n ? " and " : ", ";
            text += std::to_string(left_out[k]);
        }
        text += n == 1 ? " was empty and left out)" : " were empty and left out)";
    }
    text += ".";
    snprintf(created_text, sizeof created_text, "%s", text.c_str());
}

// The set holds the level files 1..curlevel that have a brick (a level without
// one would end the moment it starts) and every brick texture of the editor,
// so each texture number a level uses is covered.
int create_level_set()
{
    std::string path = set_path(true);
    set_file_failed = path;
    if (path.empty()) {
        errno = EINVAL;
        return -1;
    }
    static level_file_record rec;
    std::vector<char> levels;
    std::vector<int> left_out;
    int count = 0;
    std::string unread;
    int unread_count = 0;
    for (int n = 1; n <= curlevel; n++) {
        int state = read_level_file(n, &rec);
        if (state == LEVEL_DAMAGED)
            unread += (unread_count++ ? ", " : "") + std::to_string(n);
        if (state == LEVEL_WHOLE && !level_has_brick(rec))
            left_out.push_back(n);
        if (state != LEVEL_WHOLE || !level_has_brick(rec)) {
            continue;
        }
        for (int b = 0; b < LEVEL_BLOCKS; b++)
            append_block(levels, rec.block[b].cells, sizeof(grid_record));
        count++;
    }
    if (!unread.empty()) {
        std::string text = std::string("Left out of the set, as they cannot be read:\n") +
                           (unread_count > 1 ? "levels " : "level ") + unread + ".";
        show_notice(text.c_str());
    }
    if (count == 0)
        return 0;
    describe_set(count, left_out);

    edhead.level_count = count;
    edhead.texture_count = texmax;
    memset(edhead.padding, 0, sizeof edhead.padding);
    std::vector<char> out;
    out.reserve(SET_HEADER_BYTES + levels.size() + (size_t)texmax * sizeof(set_texture_record));
    append_block(out, &edhead, sizeof edhead);
    out.insert(out.end(), levels.begin(), levels.end());
    for (int t = 1; t <= texmax; t++)
        if (!append_texture(out, t)) {
            char rel[64];
            snprintf(rel, sizeof rel, "bricks/b%d.raw", t);
            set_file_failed = rel;
            return -1;
        }
    if (!replace_file(path.c_str(), out.data(), out.size()))
        return -1;
    return 1;
}

// Writes the set named by `filename` after saving a changed board, and opens
// the panel that tells the outcome.
void finish_level_set()
{
    int changed = level_unsaved();
    if (!keep_changes(SET_NOT_SAVED))
        return;
    switch (create_level_set()) {
    case 1:
        if (changed) {
            size_t len = strlen(created_text);
            snprintf(created_text + len, sizeof created_text - len, "\nLevel %d was saved first.", edlevel);
        }
        open_dialog(DLG_SET_CREATED);
        break;
    case 0:
        play_bad(0, 0);
        open_dialog(DLG_NO_BRICKS);
        break;
    default: {
        int why = errno;
        play_bad(0, 0);
        show_failure(WRITE_FAILED, why, set_file_failed);
        break;
    }
    }
}
