// The high-score tables, one for each mode.
#pragma once

extern int hs_classic;   // 1 when the game to check was played in classic mode
extern int hs_score;     // score of the game to check

void checkscores();      // ask for a name when hs_score enters its table
