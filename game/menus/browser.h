// The play options and the level-set browser.
#pragma once

void file_search(int mode);   // 1 first set, 2 next set (wrapping), 3 end the search
void level_loader();          // draw the browser and act on its requests
extern int preview_level;     // [1] the level of the set shown that its preview draws, 1..level count
void print_set(int line);     // model-view matrix for an in-game HUD text line
