// Fuzz target: a replay file, checked, and when it passes, watched: its
// version and set hash made this game's, so that its frames play.

#include "fuzz_support.h"

#include <cstdio>
#include <string>

#include "rules/replayfile.h"
#include "rules/rules.h"
#include "rules/watch.h"
#include "shell/shell.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz_startup();
    replay_file f;
    std::string why;
    if (!replay_parse(data, size, &f, &why))
        return 0;
    int ok;
    f.header.set_hash = file_hash(set_file_path(f.header.set_name), &ok);
    snprintf(f.header.game_version, sizeof f.header.game_version, "%s", watch_version());
    if (!watch_begin(f, &why))
        return 0;
    for (int k = 0; k < 3000 && watch_tick() == WATCH_PLAYING; k++) {
    }
    screen_reset();
    return 0;
}
