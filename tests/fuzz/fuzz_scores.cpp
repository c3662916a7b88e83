// Fuzz target: the high-score table, read, given a new entry in each mode,
// written back and read again.

#include "fuzz_support.h"

#include <cstring>

#include "paths.h"
#include "rules/scores.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz_game_folder();
    fuzz_write(player_path(SCORES_FILE).c_str(), data, size);
    int points = 0;
    memcpy(&points, data, size < sizeof points ? size : sizeof points);
    readscores();
    place_score(0, points, "Fuzz set", (int)(size % 3));
    place_score(1, points / 2, "Fuzz set", 1);
    writescores();
    readscores();
    return 0;
}
