// The sound effects, named once for the game, the setup program's preview
// and the sound tool: each effect's file is sounds/effects/<name>.wav.
#pragma once

enum sound_effect {
    SFX_NEXT_LEVEL, SFX_BLIP, SFX_BONUS, SFX_HIT, SFX_EXPLOSION, SFX_GLASS, SFX_PING,
    SFX_GOOD, SFX_BAD, SFX_PUP, SFX_PUPBOUNCE, SFX_CLICK,
    SFX_COUNT
};

// By effect.
inline constexpr const char *SOUND_EFFECT_NAMES[] = {
    "next_level", "blip", "bonus", "hit", "explosion", "glass", "ping",
    "good", "bad", "pup", "pupbounce", "click",
};
static_assert(sizeof SOUND_EFFECT_NAMES / sizeof SOUND_EFFECT_NAMES[0] == SFX_COUNT,
              "a name for every sound effect");
