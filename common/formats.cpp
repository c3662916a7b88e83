// The power-up table: each kind's name, icon and whether it hurts the player.

#include "formats.h"

// One row for each kind 1..POWERUP_KINDS, after the row of "no power-up".
static constexpr powerup_info KINDS[] = {
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
static_assert(sizeof KINDS / sizeof KINDS[0] == POWERUP_KINDS + 1, "one row for every power-up kind");
static_assert(PUP_LAST_KIND == POWERUP_KINDS, "one name for every power-up kind");

const powerup_info *const powerup_table = KINDS;
