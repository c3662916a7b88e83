// Power-ups: the falling icons (slots 1..3), their release from broken
// bricks, the paddle's catch and the seventeen effects.
#pragma once

#include "rules.h"

constexpr int maxpup = POWERUP_KINDS;   // number of kinds; the editor's selector runs 1..maxpup
constexpr int PUP_SLOTS = 3;            // falling power-ups at once; entries 4..6 are only cleared
constexpr float PUP_SIZE = 0.25f;       // side of the falling icon

// ---- Falling power-up slots, indexed 1..3 (pup[] itself is in rules.h) ----
extern float pupxposition[7];   // lower-left corner of the icon, board frame (before the -3 shift)
extern float pupyposition[7];
extern float pupxdirection[7];  // sideways drift, -1..1; [-1]
extern float pupydirection[7];  // -1, falling; [-1]
extern float pupspeed[7];       // falling speed, 0 at release, per frame
extern float gravity;           // speed gained per frame [0.0003]

void powerups(int row, int col, int d);     // release the cell's power-up; d = the ball's x direction
void powerup_effect(int kind, int slot);    // apply a caught power-up; the slot places its sound
void free_powerup(int slot);                // empty a slot: kind 0, speed 0, at (0, 0), directions -1
