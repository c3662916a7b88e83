// Fuzz target: the saved game, continued and played for a few hundred frames.

#include "fuzz_support.h"

#include <cstdio>

#include "paths.h"
#include "rules/progress.h"
#include "rules/rules.h"
#include "rules/savegame.h"
#include "shell/shell.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz_startup();
    fuzz_write(player_path(SAVE_FILE).c_str(), data, size);
    snprintf(set_name, sizeof set_name, "default.bls");
    difficulty = 1;
    classic = 0;
    testing_level = 0;
    gameover = 0;
    new_game();
    PLAYING_SAVED_GAME = 1;
    if (load_saved())
        fuzz_play(300);
    PLAYING_SAVED_GAME = 0;
    return 0;
}
