// The sound system's start-up, shared by the game and the setup program: the
// library's version check, driver 0's speaker mode and capabilities, its
// name's special format, and the system's initialisation, with the texts the
// player is told on the way.
#pragma once

#include <cstddef>

#include "sound_lib.h"

// How a caller shows the start-up's messages to the player.
enum sound_message_kind { SOUND_MESSAGE_ERROR, SOUND_MESSAGE_WARNING };
typedef void (*sound_message_fn)(const char *text, const char *title, sound_message_kind kind);

// The oldest library version the programs accept.
constexpr unsigned SOUND_REQUIRED_VERSION = 0x41200;

// Creates and initialises *system with maxchannels channels and flags. A
// library older than required is told through tell and gives FMOD_ERR_VERSION;
// emulated hardware is warned about and given a larger mixing buffer. Returns
// FMOD_OK, or the result of the first call that failed, which the caller
// reports as its result check does; *system is left as created (null when
// creation failed), for the caller to release.
FMOD_RESULT start_sound_system(FMOD_SYSTEM **system, int maxchannels, FMOD_INITFLAGS flags,
                               sound_message_fn tell);

// The caption of a failed sound call's message box: "FMOD error# <result>".
void sound_error_caption(FMOD_RESULT r, char *caption, size_t size);
