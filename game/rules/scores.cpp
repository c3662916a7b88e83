// The high-score tables: reading and writing the file, and placing a finished
// game's score in the table of its mode.

#include "scores.h"

#include <cstdio>
#include <cstring>
#include <sys/stat.h>

#include "files.h"
#include "menus/menus.h"
#include "paths.h"
#include "rules.h"
#include "replay.h"
#include "savegame.h"
#include "shell/shell.h"

const char SCORES_FILE[] = "level_sets/scores.hst";

std::string scores_path()
{
    return player_file(SCORES_FILE);
}

score_entry hstable[SCORE_ENTRIES];
int hs_classic;
int hs_score;
int table_pos;
int scores_stale = 1;

// 1 while an unreadable table could not be moved aside: it is never written over.
static int keep_file;
// 1 once the player has been told that the table stays unreadable.
static int told_kept;

// Names and titles always end inside their fields, whatever the file held.
static void terminate_texts()
{
    for (score_entry &e : hstable) {
        e.player_name[sizeof e.player_name - 1] = 0;
        e.entry_set_title[sizeof e.entry_set_title - 1] = 0;
    }
}

// A table that exists but cannot be read is moved aside whole, the player is
// told where it went, and a new table starts; if it cannot be moved, it is
// kept where it is and no table is written over it.
static void set_damaged_table_aside()
{
    char aside[600], text[700];
    keep_file = !rename_aside(scores_path().c_str(), ".damaged", aside, sizeof aside);
    if (!keep_file) {
        const char *name = strrchr(aside, '/');
        snprintf(text, sizeof text, "The high-score table could not be read.\nIt was kept as %s; a new table is started.",
                 name ? name + 1 : aside);
        show_notice(text);
    } else if (!told_kept) {
        told_kept = 1;
        show_notice("The high-score table could not be read.\nIt is left as it is; new scores are not kept.");
    }
}

void readscores()
{
    memset(hstable, 0, sizeof hstable);
    memset(score_replay, 0, sizeof score_replay);
    keep_file = 0;
    FILE *f = open_regular_file(scores_path().c_str());
    if (!f) {
        // A missing file (or a pipe or folder in its place) is an empty table;
        // a regular file that cannot be opened is a table that cannot be read.
        struct stat st;
        if (stat(scores_path().c_str(), &st) == 0 && S_ISREG(st.st_mode))
            set_damaged_table_aside();
        return;
    }
    size_t got = fread(hstable, 1, sizeof hstable, f);
    int whole = got == sizeof hstable && fgetc(f) == EOF && !ferror(f);
    fclose(f);
    if (!whole) {
        memset(hstable, 0, sizeof hstable);
        set_damaged_table_aside();
    }
    terminate_texts();
    read_score_replays();
}

int writescores()
{
    if (keep_file)
        return 0;
    std::string folder_error;
    std::string path = player_path(SCORES_FILE, &folder_error);
    int ok = replace_file(path.c_str(), hstable, sizeof hstable);
    if (ok) {
        scores_stale = 1;
        write_score_replays();
    }
    else
        report_write_failure("the high scores", path, folder_error);
    return ok;
}

int place_score(int cls, int points, const char *title, int diff)
{
    int first = cls ? TABLE_ENTRIES : 0, last = first + TABLE_ENTRIES - 1;
    int pos = first;
    while (pos <= last && hstable[pos].entry_score >= points)
        pos++;
    if (pos > last)
        return -1;
    memmove(&hstable[pos + 1], &hstable[pos], (last - pos) * sizeof(score_entry));
    score_entry &e = hstable[pos];
    e.entry_score = points;
    snprintf(e.entry_set_title, sizeof e.entry_set_title, "%s", title ? title : "");
    e.entry_difficulty = diff;
    return pos;
}

void checkscores()
{
    load_level_set(set_name, 1);
    readscores();
    char title[sizeof fhead.set_title + 1] = {0};
    memcpy(title, fhead.set_title, sizeof fhead.set_title);
    int pos = place_score(hs_classic, hs_score, title, difficulty);
    if (pos < 0)
        return;
    link_score_replay(hs_classic, pos, last_replay.c_str());
    table_pos = pos;
    hs_sequence = 1;
    open_screen(SCREEN_SCORE_NAME);
}
