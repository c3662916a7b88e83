// Watching a replay: the recorded game played again through play's own frame,
// checked against its state hashes, with its own speed and pause.
#pragma once

#include <string>

#include "replayfile.h"

const char *watch_version();   // the game's version, as replays record it

enum watch_status { WATCH_PLAYING, WATCH_ENDED, WATCH_MISMATCH };

// Checks that the replay can be played by this game (its version, its level
// set's bytes, its saved game) and puts play's state at its start. 0 with the
// reason in *why, nothing changed.
int watch_begin(const replay_file &f, std::string *why);
// One recorded frame: its events, then play's frame with its input. Returns
// WATCH_MISMATCH when play's state is not what was recorded (nothing is run
// then), WATCH_ENDED once the frames are over.
int watch_tick();

// ---- Watching on screen ----
extern int watching;          // [0] a replay is shown; play's input is the replay's
extern char watch_label[128]; // what the screen says over it: "REPLAY: name, score" or "DEMO"
// Watches replays/<name>, labelled label. A replay that cannot be watched is
// refused with the reason in a notice, and nothing changes. 1 when it runs.
int watch_replay(const char *name, const char *label);
// The replay's frames of this screen frame: 4 while F is held, none while
// paused with Space, none once the frames are over. Ends the watching when
// the state stops matching.
void watch_frame();
void watch_key(int vk, int fresh);   // Space pauses, Escape ends; F is read each frame
void watch_stop();                   // back to where the replay was started, nothing written

// ---- The title's demo ----
constexpr int ATTRACT_IDLE_FRAMES = 30 * 62;   // frames of no input on the title before the demo
constexpr int DEMO_FRAMES = 60 * 62;           // the longest a demo runs
extern int demo;              // [0] the demo runs (watching is 1 with it)
extern int autopilot;         // [0] the demo is a game played live by the autopilot
// Once a frame outside play: counts the frames the title stands idle, and
// starts the demo when they reach ATTRACT_IDLE_FRAMES.
void attract_frame();
// The player touched something (a key, the mouse, a pad): the idle count
// starts again, and a key, a click, the wheel or a pad's button ends a demo
// at once (ends is 1 for those).
// 1 when it ended a demo: the input then does nothing more.
int player_input(int ends);
// The demo: the best replay of the set in play from its start, else a live
// game of its first level played by the autopilot. 1 when it runs.
int start_demo();
// Where the autopilot puts the paddle, and when it launches, in frame f of its game.
float autopilot_paddle(int f);
