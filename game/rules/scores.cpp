// The high-score tables: reading and writing the file, and placing a finished
// game's score in the table of its mode.

#include "scores.h"

#include <cstdio>
#include <cstring>

#include "menus/menus.h"
#include "paths.h"
#include "rules.h"
#include "savegame.h"

const char SCORES_FILE[] = "level_sets/scores.hst";

std::string scores_path()
{
    return std::string(player_dir()) + "/" + SCORES_FILE;
}

score_entry hstable[SCORE_ENTRIES];
int hs_classic;
int hs_score;
int table_pos;

// Names and titles always end inside their fields, whatever the file held.
static void terminate_texts()
{
    for (score_entry &e : hstable) {
        e.player_name[sizeof e.player_name - 1] = 0;
        e.entry_set_title[sizeof e.entry_set_title - 1] = 0;
    }
}

void readscores()
{
    FILE *f = fopen(scores_path().c_str(), "rb");
    size_t got = 0;
    if (f) {
        got = fread(hstable, 1, sizeof hstable, f);
        fclose(f);
    }
    if (got != sizeof hstable)
        memset(hstable, 0, sizeof hstable);
    terminate_texts();
}

void writescores()
{
    std::string folder_error;
    std::string path = player_path(SCORES_FILE, &folder_error);
    if (!replace_file(path.c_str(), hstable, sizeof hstable))
        report_write_failure("the high scores", path, folder_error);
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
    table_pos = pos;
    hs_sequence = 1;
    highscore = 1;
}
