// Entry points of the high-score name dialog and table, which the title
// screen calls, and the highlight state the title fades; they draw nothing
// until the high-score screens are written.

#include "menus.h"

int highscore;
int hs_sequence;
int fadehs;
float hsfade = 1.0f;

void hsnotify()
{
}

void display_scores()
{
}
