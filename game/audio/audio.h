// Audio: the sound library's start-up and result check, the sound effects and
// the music playlist.
#pragma once

#include <cstddef>

#include "sound_lib.h"

// ---- Sound system (soundsys.cpp) ----
extern FMOD_SYSTEM *system_fmod;   // the game's sound system
extern FMOD_RESULT result;         // result of the last library call

void ERRCHECK(FMOD_RESULT r);      // 0 and 25 pass (25 stops the music); else message and exit -1
int init_sound();                  // create, version-check and initialise the system; 0 to exit
void shutdown_sound();             // release the song, the playlist and the system

// ---- Sound effects (effects.cpp, loadscreen.cpp) ----
extern FMOD_SOUND *level_end;      // sounds/effects/next_level.wav, 3-D
extern FMOD_SOUND *blip;           // sounds/effects/blip.wav, 3-D: ball off a wall or the paddle
extern FMOD_SOUND *prize;          // sounds/effects/bonus.wav, 3-D
extern FMOD_SOUND *hit;            // sounds/effects/hit.wav, 3-D: normal brick broken
extern FMOD_SOUND *boom;           // sounds/effects/explosion.wav, 3-D
extern FMOD_SOUND *glass;          // sounds/effects/glass.wav, 3-D: invisible brick revealed
extern FMOD_SOUND *ping;           // sounds/effects/ping.wav, 3-D: multi-hit brick struck
extern FMOD_SOUND *good;           // sounds/effects/good.wav, 3-D
extern FMOD_SOUND *bad;            // sounds/effects/bad.wav, 3-D
extern FMOD_SOUND *phit;           // sounds/effects/pup.wav, 3-D: power-up released
extern FMOD_SOUND *pbounce;        // sounds/effects/pupbounce.wav, 3-D: power-up off a wall
extern FMOD_SOUND *click;          // sounds/effects/click.wav, 2-D: interface clicks
extern FMOD_CHANNEL *seffects;     // the channel of the newest sound effect, null before the first

void init_oal();                   // the "Loading sound effects..." screen, then load_effects
void load_effects();               // load the twelve effects from the working directory
// The play family: play-field coordinates, placed in sound space at (x - 3, 0, y).
void play_bounce(float x, float y);
void play_hit(float x, float y);
void play_ping(float x, float y);
void play_glass(float x, float y);
void pup_bounce(float x, float y);
void pup_hit(float x, float y, float vx, float vz);  // (vx, 0, vz) is the sound's velocity
void play_boom(float x, float y);  // placed 35 units further back
void play_good(float x, float y);
void play_bad(float x, float y);
void play_end();
void play_prize();
void play_click();

// ---- Music playlist (music.cpp) ----
extern FMOD_SOUND *playlist;       // the playlist opened by the library, null when none
extern int soundtype;              // the library's type of playlist; 15 = a playlist
extern int isplaylist;             // 1 when playlist is a playlist; else no music all run
extern int playnum;                // number of tags in the playlist (three per entry)
extern int songcount;              // index of the current entry, from 0
extern char song_file[1024];       // path of the current song, from its "FILE" tag
extern char *song_title;           // the current song's "TITLE" text (the library's), null when none
extern FMOD_SOUND *sound;          // the current song stream, null when none
extern FMOD_CHANNEL *channel;      // the music channel, null until the first song starts
extern int isplaying;              // channel still plays; refreshed by change_track
extern int random_play;            // [0] 0 = songs in order, 1 = at random
extern int first_song;             // [1] cleared by the first in-order change or any song command
extern unsigned int lenms;         // length of the current song, ms (status bar)
extern unsigned int ms;            // play position of the current song, ms (status bar)
extern int paused;                 // the music channel's pause state (status bar)

void start_music();                // open plist, set the 3-D world, start the first song
void change_track();               // once per frame: start the next song once the current one ended
void pause_song();                 // toggle the music channel's pause state
void next_song();                  // stop the song; change_track starts the following one
void previous_song();              // stop the song and step back so the one before plays
void toggle_random();              // switch order/random; to random starts a random song at once
void music_volume_step(int dir);   // volume +/- 0.05 (dir > 0 up), within 0.0..1.0, applied at once
void effects_volume_step(int dir); // evolume +/- 0.05, within 0.0..1.0, applied to seffects
void music_status(char *out, size_t n);  // update the system, read the song's times, format the bar
