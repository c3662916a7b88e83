// Fuzz target: an editor level file, read at start-up by the editor's loader
// and played as a test game.

#include "fuzz_support.h"

#include "paths.h"
#include "rules/progress.h"
#include "rules/rules.h"
#include "shell/shell.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz_startup();
    fuzz_write(player_path("user_data/l1.raw").c_str(), data, size);
    classic = (int)(size % 2);
    gameover = 0;
    edload();
    testing_level = 1;
    new_game();
    fuzz_play(120);
    testing_level = 0;
    return 0;
}
