// The replays of the high scores: which entry of the tables keeps which replay,
// in level_sets/scores.rpl beside the tables, whose own file stays as it is.
// One line per linked entry: its index, its score and the replay's file name.

#include <cstdio>
#include <cstring>
#include <string>

#include "files.h"
#include "paths.h"
#include "replayfile.h"
#include "savegame.h"
#include "scores.h"

const char SCORE_REPLAYS_FILE[] = "level_sets/scores.rpl";
char score_replay[SCORE_ENTRIES][REPLAY_NAME_FIELD];

void read_score_replays()
{
    memset(score_replay, 0, sizeof score_replay);
    FILE *f = open_regular_file(player_file(SCORE_REPLAYS_FILE).c_str());
    if (!f)
        return;
    char line[128];
    while (fgets(line, sizeof line, f)) {
        int index, points;
        char name[64];
        // A line that names no replay of the entry as the table holds it now
        // (the tables were replaced, or the line is damaged) links nothing.
        if (sscanf(line, "%d %d %63s", &index, &points, name) != 3 || index < 0 ||
            index >= SCORE_ENTRIES || hstable[index].entry_score != points || !replay_name_ok(name))
            continue;
        memcpy(score_replay[index], name, strlen(name) + 1);   // the name's shape fits the field
    }
    fclose(f);
}

int write_score_replays()
{
    std::string text;
    for (int k = 0; k < SCORE_ENTRIES; k++) {
        if (!score_replay[k][0])
            continue;
        text += std::to_string(k) + " " + std::to_string(hstable[k].entry_score) + " " + score_replay[k] + "\n";
    }
    std::string folder_error;
    std::string path = player_path(SCORE_REPLAYS_FILE, &folder_error);
    if (replace_file(path.c_str(), text.data(), text.size()))
        return 1;
    report_write_failure("the high scores' replays", path, folder_error);
    return 0;
}

void link_score_replay(int cls, int pos, const char *name)
{
    int first = cls ? TABLE_ENTRIES : 0, last = first + TABLE_ENTRIES - 1;
    if (pos < first || pos > last)
        return;
    memmove(score_replay[pos + 1], score_replay[pos], (last - pos) * sizeof score_replay[0]);
    score_replay[pos][0] = 0;
    if (replay_name_ok(name))
        memcpy(score_replay[pos], name, strlen(name) + 1);
}

int replay_linked(const char *name)
{
    for (const char *linked : score_replay)
        if (linked[0] && strcmp(linked, name) == 0)
            return 1;
    return 0;
}
