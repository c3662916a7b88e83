// The editor's files: saving the level being edited.

#include <cstdio>
#include <string>

#include "audio/audio.h"
#include "editor.h"
#include "menus/menus.h"
#include "rules/rules.h"

// Writes the six editor grids as user_data/l<edlevel>.raw through a temporary
// file, so an interrupted save never leaves half a level behind. Plays the
// click and shows the level-saved panel; a file that cannot be written shows
// nothing and leaves the old level as it was.
void save_edited_level()
{
    char path[64];
    snprintf(path, sizeof path, "user_data/l%d.raw", edlevel);
    std::string temp = std::string(path) + ".tmp";
    FILE *f = fopen(temp.c_str(), "wb");
    if (!f)
        return;
    const int *grids[6] = {leveled, ed_rr, ed_gg, ed_bb, ed_bricktype, ed_powerup};
    bool ok = true;
    for (const int *g : grids)
        ok = ok && fwrite(g, sizeof(int), 441, f) == 441;
    ok = (fclose(f) == 0) && ok;
    if (!ok || rename(temp.c_str(), path) != 0) {
        remove(temp.c_str());
        return;
    }
    play_click();
    gui_select = 0;
    saved = 1;
}
