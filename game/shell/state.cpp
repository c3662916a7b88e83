// The shell's globals: loop and timing, window, settings-derived values and
// the play-state flags, with their initial values.

#include "shell.h"

int active = 1;
volatile std::sig_atomic_t end_requested;
int keys[256];
int targetFPS = 62;
int64_t m_ticksPerSecond;
int64_t m_startTime;
int64_t s_lastTime;
float fps;
float bar_alpha = 1.0f;

int fullscreen = 1;
int screenx = 640, screeny = 480;
int bit = 32;

int psystem;
float evolume;
float volume;
char plist[1024];
int background;
float msensitivity;

int test;
int testing_level;
int menublock;
int gui_block;
int game_pause;
int gameover;
int newlevel = 1;
int bonus;
int classic;

int quake_frame;
