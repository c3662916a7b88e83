// The editor's canvas and controls.

#include "editor.h"
#include "shell/shell.h"

int edrag;
int get_drops;
int edlevel = 1;
int texnumber = 1;
int curr = 127, curg = 127, curb = 127;
int curbrick = 1;
int guibrick = 1;
int curpup = 1;
int maxpup = 17;
int grid = 1;
int visible = 1;
int pupedit;
int selx, sely;

const int brick_selector_map[6] = {0, 1, 4, 2, 5, 3};

// The editor's screen comes with the editor itself; until then opening it
// returns straight to the title screen.
void editor()
{
    edit = 0;
    menublock = 0;
}

// Painting on the canvas comes with the editor's screen.
void editor_paint()
{
}

void editor_erase()
{
}

void test_play()
{
}
