// The application shell: start-up, main loop and frame lock, window and
// rendering context, input, the frame dispatcher, the screen state and the play-state flags.
#pragma once

#include <csignal>
#include <cstdint>
#include <string>
#include <vector>

#include "winmsg.h"

// ---- Loop and timing (main loop, frame lock) ----
extern int active;                  // window active (not minimised); initially 1
// Set by SIGTERM, SIGINT or SIGHUP: the main loop saves a running game, as F12
// does, and a high score whose name is being typed, and ends the program; an
// open message box stops waiting. [0]
extern volatile std::sig_atomic_t end_requested;
extern int keys[256];               // by virtual-key code: 1 while down
extern int targetFPS;               // frame-rate cap, 62 (0 is taken as 1)
extern int64_t m_ticksPerSecond;    // counter frequency, 0 when there is no counter
extern int64_t m_startTime;         // counter stamp taken before each frame is drawn
extern int64_t s_lastTime;          // the last frame's deadline (counter value); 0 before the first
extern float fps;                   // rate the frames are achieving, per second

// ---- Window and rendering context ----
extern int fullscreen;              // 1 = full-screen; initially 1
extern int screenx, screeny;        // client size in pixels; initially 640 x 480
extern int bit;                     // full-screen display depth: 32, or 16 when forced
extern HWND hWnd;                   // the game window, null until created
extern void *hRC;                   // the OpenGL context, null until created

// ---- From the settings file ----
extern int psystem;                 // 1 = particles are drawn
extern float evolume;               // effects volume, 0.0 .. 1.0
extern float volume;                // music volume, 0.0 .. 1.0
extern char plist[1024];            // playlist path, NUL-terminated
extern int background;              // the background image is drawn; always 1
extern float msensitivity;          // mouse sensitivity, 8.0

// ---- Screen state (screens.cpp) ----
// Which screen is up. The title's sub-screens are drawn over it; the editor
// owns the whole frame; in play the title is gone.
enum screen_id {
    SCREEN_TITLE,        // [*] the title with its main menu
    SCREEN_OPTIONS,      // the play options over the title
    SCREEN_BROWSER,      // the level-set browser over the title
    SCREEN_SCORE_NAME,   // the high-score name dialog over the title
    SCREEN_SCORES,       // the high-score tables over the title
    SCREEN_HELP,         // the help page over the title
    SCREEN_CREDITS,      // the end screen; the next press quits
    SCREEN_EDITOR,       // the level editor
    SCREEN_PLAY,         // the game, the title gone
};
// The title's fade: in over the game scene, or out (sliding) before play.
enum fade_id { FADE_NONE, FADE_IN, FADE_OUT };
screen_id screen_up();               // the screen up [SCREEN_TITLE]
int screen_is(screen_id s);          // 1 while s is up
fade_id fade_running();              // the fade running [FADE_IN]
int title_up();                      // 1 while the title (or a screen opened from it) is up, not in play
int game_scene_started();            // 1 once the run's first fade-in has finished [0]
// Puts the state as given, for tests: the screen, the fade, and whether the
// run's first fade-in has finished.
void screen_set(screen_id s, fade_id f = FADE_NONE, int started = 1);
void screen_reset();                 // the state of a fresh run: the title fading in, not started
// The changes between screens.
void open_screen(screen_id s);       // a screen opened from the title (or the name dialog after a game)
void close_screen();                 // the screen closed: back to the title
void title_fade_out();               // the title fades out; play follows
void title_fade_in();                // back to the title, fading in over a fresh game
void fade_in_finished();             // the fade-in is done: the title at rest, or the editor after a test game
void fade_out_finished();            // the fade-out is done: play

// ---- Play-state flags (0/1; initial value in brackets) ----
extern int test;            // [0] the game is a test run of the edited level
extern int testing_level;   // [0] levels come from the editor board (not `testing`: the test framework has one)
extern int menublock;       // [0] main menu items do not react
extern int gui_block;       // [0] a panel is open; editor painting blocked
extern int game_pause;      // [0] game paused (not `pause`: the C library has one)
extern int gameover;        // [0] game has ended, "GAME OVER" shown
extern int newlevel;        // [1] a level waits for the launch
extern int bonus;           // [0] previous level finished without losing a life
extern int classic;         // [0] classic (plain) mode

// ---- Input ----
extern int mouseX, mouseY;  // last accepted pointer position, client pixels
extern float oldMouseX, oldMouseY;  // the previous position
extern int mx, my;          // client position of the last button press or release
extern int colorlag, bricklag, puplag;  // editor +/- repeat delays [7, 9, 9]

// ---- Play actions shared by the mouse, the keys and the gamepad (input.cpp) ----
void play_launch();         // as a left click in play: sticky-held balls let go, the waiting ball launched; after "GAME OVER" the game ends
void play_pause();          // as a right click in play: pause or resume, with the music (the system cursor shows while paused in a window)

// ---- Steering and the keys' actions (controls.cpp) ----
// Who steers the paddle: whichever of the mouse and the keys (or a gamepad)
// moved last.
enum steer_id { STEER_MOUSE, STEER_KEYS };
extern steer_id steer_by;            // [STEER_MOUSE]
// Paddle speed in field units per frame after a direction key has been held
// for `frames` frames (1 on the first): a slow start rising to full speed
// within a third of a second; 0 for 0 frames.
float steer_speed(int frames);
constexpr float STEER_FULL_SPEED = 0.09f;  // field units per frame
// This frame's paddle position from whoever steers: the mouse's place, or the
// paddle moved by the held keys. The one place a frame's steering is decided;
// play reads it once a frame (play_frame), and it counts the frames a key is held.
float paddle_target();
void key_pressed(int vk, int fresh); // a key went down (fresh: it was up; else the keyboard repeats it)
void key_released(int vk);           // a key went up
void mouse_moved();                  // the mouse moved: it steers, and the pointer takes the menus back
void menu_press();                   // the menus' chosen control pressed, as a click on it

// ---- Gamepads (pump.cpp, the platform's side; pad.cpp, the game's) ----
enum pad_button_id { PAD_A, PAD_B, PAD_BACK, PAD_START, PAD_UP, PAD_DOWN, PAD_LEFT, PAD_RIGHT, PAD_OTHER };
enum pad_axis_id { PAD_STICK_X, PAD_STICK_Y };   // the left stick
int gamepad_start();                 // pads and their mappings; 0 (said on standard error) when none can be used
void gamepad_stop();                 // every pad closed
int gamepads_open();                 // pads open now
// What the platform hands over; pad is the pad's number for this session.
void pad_button(int pad, pad_button_id b, int down);
void pad_stick(int pad, pad_axis_id axis, float value);  // -1.0 .. 1.0, right and down positive
void pad_unplugged(int pad);
constexpr float PAD_DEAD_ZONE = 0.25f;  // the stick's share of its travel that moves nothing
extern int steering_pad;             // [-1] the pad that steers and chooses: the first to press a button; -1 none
extern int pad_lost;                 // [0] 1 from the steering pad's unplugging in play until play resumes: a notice under "PAUSED"
// Paddle speed for the stick pushed to x: 0 within the dead zone, then in
// proportion to the push beyond it, up to the keys' full speed; signed as x.
float pad_stick_speed(float x);
int pad_direction();                 // the steering pad's d-pad: -1 left, 1 right, 0 neither or both
float pad_stick_x();                 // the steering pad's stick across, -1.0 .. 1.0

// ---- Frame dispatcher ----
extern float bar_alpha;     // alpha of the side bars' inner edge [1.0]

// ---- Frame globals ----
extern int quake_frame;     // set to 1 at the start of every frame

// ---- Main loop (mainloop.cpp) ----
int WinMain();                       // the program: start-up, loop, shut-down; exit code
// ---- Random numbers (random.cpp) ----
// Play's generator, seeded when a game starts: play draws from nothing else.
int randn(int n);                    // a random integer in 1..n from play's generator
void crt_srand(unsigned seed);       // seed play's generator
int crt_rand();                      // play's next value, 0..32767
unsigned random_state();             // play's generator as it stands, for the state check
// The sound's generator (music order, effects' pitch), mixed with the clock.
int sound_rand();                    // next value, 0..32767
unsigned fresh_seed();               // a seed for a new game, from the clock and the sound's generator

// ---- Timer (timer.cpp) ----
int timer_init();                    // read counter frequency and stamp m_startTime; 0 without counter
int64_t read_counter();              // current high-resolution counter value
float LockFPS(int targetfps);        // wait for the next frame's deadline; returns the achieved rate

// ---- Frame lock arithmetic (framelock.cpp) ----
int64_t frame_deadline(int64_t now, int64_t period);  // next deadline (advances s_lastTime); resyncs after a stall
float frame_started(int64_t start);  // note a frame's start; returns the rate since the previous one
void frame_lock_reset();             // forget the deadlines (the next frame starts at once)

// ---- Window and context (window.cpp, initgl.cpp) ----
int CreateGLWindow(const char *title, int width, int height, int bits, int fullscreenflag);
void KillGLWindow();                 // tear down whatever exists, in order
void ReSizeGLScene(int width, int height);  // viewport and projection for a client area
int InitGL();                        // graphics state and start-up loading; 0 when a file is unusable
void remove_write_leftovers();       // at start-up: what interrupted writes of the game's own files left
int load_startup();                  // fonts, loading messages, images, editor levels, icons, default set;
                                     // 0 (the player told) when a file the game needs is missing or damaged
void InitVSync();                    // find the swap-interval control
int VSyncEnabled();                  // 1 when the swap interval is above 0
void SetVSyncState(int enable);      // swap interval 1 or 0
void present_frame();                // swap the window's buffers
void give_back_memory();             // return the allocator's freed memory to the system
void map_large_blocks();             // large blocks go back to the system when freed
void show_cursor(int show);          // system cursor on or off
void capture_mouse();                // keep mouse reports coming while a button is held outside
void focus_window();                 // give the window the keyboard focus
int mouse_buttons_held();            // 1 while a mouse button is down
int open_web_page();                 // the game's manual in the player's browser; 0 when no opener started
int web_page_failed();               // 1 once, when the opener started last has ended without success

// ---- Folders (folders.cpp) ----
// Adds the names of the regular files of folder (links followed) to names, in
// no particular order; 0 when the folder cannot be listed.
int list_regular_files(const std::string &folder, std::vector<std::string> *names);

// ---- Messages (pump.cpp, msgbox.cpp, input.cpp) ----
int pump_messages(int *quit_code);   // dispatch pending messages; 1 when the quit message came
int messages_arrived();              // events pumped since the last call (input, expose, resize, focus), then 0
void leave_end_signals_to_game();    // SDL sets no SIGTERM/SIGINT handlers of its own; before SDL starts
void wait_messages(int ms);          // sleep until a message arrives or ms have passed
void PostQuitMessage(int code);      // ask the loop to end with this exit code
LRESULT WndProc(HWND hWnd, unsigned msg, WPARAM wParam, LPARAM lParam);
int vk_from_sdl(int sdl_keycode, int sdl_scancode);  // virtual-key code, 0 when unmapped
void poll_keys();                    // the polled volume, music and editor hot-keys
void escape_action();                // runs instead of a frame while Escape is down

enum msg_kind { MB_ERROR, MB_WARNING, MB_INFO };
void message_box(const char *text, const char *title, msg_kind kind);  // OK box
int message_box_yesno(const char *text, const char *title);            // 1 = Yes

// ---- Settings (ini.cpp) ----
void open_ini();                     // read the settings file into the game globals

// ---- Still frames (still.cpp) ----
// A pass draws and presents a frame only when its picture may differ from the
// one on screen; otherwise it runs the tick's counters and keeps the cadence.
extern int full_frames;              // 1 = every pass draws (CORVALE_FULL_FRAMES set and not "0"); -1 until read
void mark_changed();                 // the picture may change: a message came (input, expose, resize, focus)
int frame_wanted();                  // 1 when this pass must draw and present a frame
void frame_presented();              // after a presented frame: what it shows
void frame_skipped();                // a pass without a frame: the tick's counters, then the frame lock

// ---- Play frames drawn in part (moved.cpp) ----
// A play frame after another redraws only boxes under what moved: balls, the
// paddle, power-ups, debris, changed bricks, the fire and the bottom's texts.
extern int part_frames;              // play frames drawn in part, counted up
extern int back_kept;                // 1 = the back buffer is seen kept across swaps; 0 not known yet, -1 not
// This frame's passes, or -1 to draw it whole; fit = 0 when the frame cannot
// be drawn in part; band = the bottom's box when its texts change, else null.
int plan_play_frame(int fit, const int band[4]);
void begin_pass(int n);              // scissor and pass box for pass n, the GL state saved
void end_pass();                     // the GL state as before the pass
// The fire cells outside every pass, alone; 1 when the HUD's texts, which
// may lie over them, are to be drawn again (opaque, they cover what they did).
int draw_quick_fire();
void mark_back_buffer();             // before a swap: mark the buffer on the first frames at a size
void check_back_buffer();            // after it: was the mark kept?

// ---- Frame dispatcher (frame.cpp) ----
int DrawGLScene();                   // draw one frame; always 1
