// Fuzz target: a level-set file, loaded at several levels in each difficulty
// and mode, then played for a while.

#include "fuzz_support.h"

#include "rules/progress.h"
#include "rules/rules.h"
#include "shell/shell.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz_startup();
    fuzz_write("level_sets/fuzz.bls", data, size);
    snprintf(set_name, sizeof set_name, "fuzz.bls");
    difficulty = (int)(size % 3);
    classic = (int)(size / 3 % 2);
    testing_level = 0;
    gameover = 0;
    load_level_set(set_name, 2);
    load_level_set(set_name, 0);
    new_game();
    fuzz_play(120);
    return 0;
}
