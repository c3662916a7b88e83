// Entry points of the play options and the level-set browser, which the title
// screen, the frame dispatcher and the window procedure call; they draw
// nothing until those screens are written.

#include "browser.h"
#include "menus.h"
#include "shell/shell.h"

void play_options()
{
}

// An open browser closes at once, so the menu stays usable.
void level_loader()
{
    loadgui = 0;
}

void file_search(int)
{
}
