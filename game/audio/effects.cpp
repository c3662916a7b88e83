// The sound effects: the twelve sounds loaded once at start-up, and the play
// family every other part raises them through, one table row per effect.

#include <cstdio>

#include "audio.h"
#include "shell/shell.h"
#include "sound_effects.h"

FMOD_SOUND *level_end;
FMOD_SOUND *blip;
FMOD_SOUND *prize;
FMOD_SOUND *hit;
FMOD_SOUND *boom;
FMOD_SOUND *glass;
FMOD_SOUND *ping;
FMOD_SOUND *good;
FMOD_SOUND *bad;
FMOD_SOUND *phit;
FMOD_SOUND *pbounce;
FMOD_SOUND *click;
FMOD_CHANNEL *seffects;

// ---- Loading ----

static const FMOD_MODE SOFTWARE_3D = FMOD_SOFTWARE | FMOD_3D;  // 0x50
static const FMOD_MODE SOFTWARE_2D = FMOD_SOFTWARE;            // 0x40

// One effect file: where its handle goes, how it is opened, and its 3-D
// distances (min 0: the library's defaults are kept).
struct effect_file {
    FMOD_SOUND **sound;
    sound_effect effect;  // names the file
    FMOD_MODE mode;
    float min_distance, max_distance;
};

// In loading order.
static const effect_file effect_files[] = {
    {&level_end, SFX_NEXT_LEVEL, SOFTWARE_3D, 0.0f, 0.0f},
    {&blip, SFX_BLIP, SOFTWARE_3D, 15.0f, 750.0f},
    {&prize, SFX_BONUS, SOFTWARE_3D, 0.0f, 0.0f},
    {&hit, SFX_HIT, SOFTWARE_3D, 15.0f, 90.0f},
    {&boom, SFX_EXPLOSION, SOFTWARE_3D, 15.0f, 90.0f},
    {&glass, SFX_GLASS, SOFTWARE_3D, 15.0f, 90.0f},
    {&ping, SFX_PING, SOFTWARE_3D, 15.0f, 90.0f},
    {&good, SFX_GOOD, SOFTWARE_3D, 15.0f, 90.0f},
    {&bad, SFX_BAD, SOFTWARE_3D, 15.0f, 90.0f},
    {&phit, SFX_PUP, SOFTWARE_3D, 15.0f, 90.0f},
    {&pbounce, SFX_PUPBOUNCE, SOFTWARE_3D, 15.0f, 90.0f},
    {&click, SFX_CLICK, SOFTWARE_2D, 0.0f, 0.0f},
};
static_assert(sizeof effect_files / sizeof effect_files[0] == SFX_COUNT, "a handle for every sound effect");

// A file that cannot be loaded leaves its handle null, and that effect is
// simply not heard: a lost effect file must not end a game later on.
void load_effects()
{
    for (const effect_file &f : effect_files) {
        *f.sound = nullptr;
        char path[96];
        snprintf(path, sizeof path, "sounds/effects/%s.wav", SOUND_EFFECT_NAMES[f.effect]);
        if (FMOD_System_CreateSound(system_fmod, path, f.mode, 0, f.sound) != FMOD_OK) {
            *f.sound = nullptr;
            continue;
        }
        if (f.min_distance > 0.0f) {
            result = FMOD_Sound_Set3DMinMaxDistance(*f.sound, f.min_distance, f.max_distance);
            ERRCHECK(result);
        }
    }
}

// ---- Playing ----

static const float FIELD_TO_SOUND_X = -3.0f;  // play-field x to sound-space x
static const float BOOM_DEPTH = 35.0f;        // the explosion sounds from further back
static const int RATE_SPREAD = 3500;          // random pitch: base + rand % 3500 Hz
static const int LOW_RATE = 22501;            // for the 22050 Hz effects
static const int HIGH_RATE = 44101;           // for the 44100 Hz effects

// How one effect is played: its sound, its fixed channel, whether it is placed
// in sound space, its random rate base (0 = its own rate) and its depth offset.
struct effect_play {
    FMOD_SOUND **sound;
    int channel_index;
    int placed;
    int rate_base;
    float depth;
};

enum effect_id {
    FX_BOUNCE, FX_HIT, FX_PING, FX_GLASS, FX_PUP_BOUNCE, FX_PUP_HIT,
    FX_BOOM, FX_GOOD, FX_BAD, FX_END, FX_PRIZE, FX_CLICK
};

// Indexed by effect_id.
static const effect_play effect_plays[] = {
    {&blip, 7, 1, LOW_RATE, 0.0f},
    {&hit, 8, 1, LOW_RATE, 0.0f},
    {&ping, 10, 1, HIGH_RATE, 0.0f},
    {&glass, 11, 1, HIGH_RATE, 0.0f},
    {&pbounce, 5, 1, LOW_RATE, 0.0f},
    {&phit, 4, 1, LOW_RATE, 0.0f},
    {&boom, 9, 1, 0, BOOM_DEPTH},
    {&good, 2, 1, 0, 0.0f},
    {&bad, 3, 1, 0, 0.0f},
    {&level_end, 6, 0, 0, 0.0f},
    {&prize, 1, 0, 0, 0.0f},
    {&click, 1, 0, 0, 0.0f},
};

// Starts one effect into seffects: paused, placed at (x - 3, 0, y + depth) with
// velocity (vx, 0, vz), pitched and set to evolume, then heard. Everything is
// set before the channel is unpaused, so no effect is ever heard for an
// instant at full volume when the player has turned the effects down.
static void play_effect(effect_id id, float x, float y, float vx, float vz)
{
    const effect_play &e = effect_plays[id];
    if (!*e.sound)
        return;
    result = FMOD_System_PlaySound(system_fmod, e.channel_index, *e.sound, 1, &seffects);
    ERRCHECK(result);
    if (e.placed) {
        FMOD_VECTOR pos = {x + FIELD_TO_SOUND_X, 0.0f, y + e.depth};
        FMOD_VECTOR vel = {vx, 0.0f, vz};
        result = FMOD_Channel_Set3DAttributes(seffects, &pos, &vel);
        ERRCHECK(result);
    }
    if (e.rate_base) {
        result = FMOD_Channel_SetFrequency(seffects, (float)(e.rate_base + sound_rand() % RATE_SPREAD));
        ERRCHECK(result);
    }
    result = FMOD_Channel_SetVolume(seffects, evolume);
    ERRCHECK(result);
    result = FMOD_Channel_SetPaused(seffects, 0);
    ERRCHECK(result);
}

void play_bounce(float x, float y) { play_effect(FX_BOUNCE, x, y, 0.0f, 0.0f); }
void play_hit(float x, float y) { play_effect(FX_HIT, x, y, 0.0f, 0.0f); }
void play_ping(float x, float y) { play_effect(FX_PING, x, y, 0.0f, 0.0f); }
void play_glass(float x, float y) { play_effect(FX_GLASS, x, y, 0.0f, 0.0f); }
void pup_bounce(float x, float y) { play_effect(FX_PUP_BOUNCE, x, y, 0.0f, 0.0f); }
void pup_hit(float x, float y, float vx, float vz) { play_effect(FX_PUP_HIT, x, y, vx, vz); }
void play_boom(float x, float y) { play_effect(FX_BOOM, x, y, 0.0f, 0.0f); }
void play_good(float x, float y) { play_effect(FX_GOOD, x, y, 0.0f, 0.0f); }
void play_bad(float x, float y) { play_effect(FX_BAD, x, y, 0.0f, 0.0f); }
void play_end() { play_effect(FX_END, 0.0f, 0.0f, 0.0f, 0.0f); }
void play_prize() { play_effect(FX_PRIZE, 0.0f, 0.0f, 0.0f, 0.0f); }
void play_click() { play_effect(FX_CLICK, 0.0f, 0.0f, 0.0f, 0.0f); }
