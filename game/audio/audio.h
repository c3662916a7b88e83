// Audio: the sound library's start-up and result check, the sound effects and
// the music playlist.
#pragma once

#include "sound_lib.h"

extern FMOD_SYSTEM *system_fmod;   // the game's sound system
extern FMOD_RESULT result;         // result of the last library call
extern FMOD_SOUND *playlist;       // the playlist opened by the library
extern int isplaylist;             // 1 when playlist is a playlist; else no music
extern FMOD_SOUND *sound;          // the current song stream, null when none
extern FMOD_CHANNEL *channel;      // the music channel, null when none
extern FMOD_CHANNEL *seffects;     // the channel of the newest sound effect

void ERRCHECK(FMOD_RESULT r);      // 0 and 25 pass (25 stops the music); else message and exit -1
int init_sound();                  // create, version-check and initialise the system; 0 to exit
void start_music();                // open the playlist and start its first song
void change_track();               // start the next song once the current one has ended
void init_oal();                   // load the sound effects, with their loading screen
void shutdown_sound();             // release the song, the playlist and the system
