// The power-up table: each kind's name, icon and whether it hurts the player.

#include "formats.h"

const powerup_info powerup_table[POWERUP_KINDS + 1] = {
    {"None", "", false},
    {"Detonate", "explode", false},
    {"Big Ball", "bigball", false},
    {"Small Ball", "smallball", true},
    {"Fast Ball", "speedup", true},
    {"Slow Ball", "slowdown", false},
    {"Next Board", "nextboard", false},
    {"Death", "death", true},
    {"Ballsplosion!", "ballsplosion", false},
    {"Big Paddle", "bigpaddle", false},
    {"Small Paddle", "smallpaddle", true},
    {"Extra Life", "1up", false},
    {"Sticky Paddle", "glue", false},
    {"Heavy Ball", "thru", false},
    {"Nuclear Ball", "explosive", false},
    {"Show Invisible", "visible", false},
    {"Brick Wall", "line", true},
    {"Earthquake!", "earthquake", true},
};
