// End-to-end harness: the real game in a real X server (Xvfb), in a scratch
// copy of the game folder with its own settings, driven by real input events.
// Every wait watches what the game shows (frames drawn, pixels, files) up to a
// generous deadline, so a slow machine only makes a test slower, never wrong.
#pragma once

#include <functional>
#include <string>
#include <vector>
#include <sys/types.h>

#include "settings.h"
#include "xserver.h"

// A settings record for a windowed game of the given resolution index.
bset windowed_settings(int resolution);

// The game draws its own pointer, moved from the mouse by its own scale: on an
// 800 x 600 window the pointer's tip lies at GUI (0.25 + 0.007 x, 2.0 - 0.007 y).
// These give the mouse position that puts the tip on a GUI point or on a
// screen pixel of an 800 x 600 window.
void mouse_for_gui(double gx, double gy, int *mx, int *my);
void mouse_for_pixel(int sx, int sy, int *mx, int *my);

// Path of a screenshot file in the build folder's screenshots/ (made on demand).
std::string screenshot_path(const std::string &name);

// The window pixel of a GUI point on an 800 x 600 window.
void gui_to_pixel(double gx, double gy, int *sx, int *sy);

// The centre of the editor canvas's cell (r, c) in GUI units.
double canvas_cell_x(int c);
double canvas_cell_y(int r);

// The title's menu icons, left to right, and their centres on an 800 x 600
// window (pixels).
enum menu_icon { MENU_PLAY, MENU_LOAD, MENU_EDIT, MENU_SCORES, MENU_HELP, MENU_EXIT };
const int MENU_ICON_Y = 361;
const int MENU_ICON_X[6] = {227, 298, 371, 443, 515, 588};
// The play options panel's Continue and Play buttons (centres, GUI units).
const double OPTIONS_CONTINUE_X = 3.575, OPTIONS_PLAY_X = 4.275, OPTIONS_BUTTONS_Y = 0.125;

// The whole of a file as bytes; empty when it cannot be read.
std::string read_file(const std::string &path);

// How long any single wait may last before it counts as a failure: software
// rendering on two busy cores can fall to a few frames a second.
const double E2E_DEADLINE_S = 180.0;

// Frames the title's fade-in or fade-out lasts, and a margin beyond it.
const int FADE_FRAMES = 101;
const int FADE_MARGIN_FRAMES = 20;

class game_run {
public:
    ~game_run();
    // Starts Xvfb, copies the game folder, writes the settings file and starts
    // the game. Returns false (with a reason in error()) when anything fails.
    // prepare, when given, may change the copied game folder before the start.
    bool start(const bset &settings, void (*prepare)(const std::string &game_dir) = nullptr);
    // The same with a program that is already installed, run where it is
    // (prepare is not called: there is no copied folder).
    bool start_program(const bset &settings, const std::string &program,
                       void (*prepare)(const std::string &game_dir) = nullptr);
    // Set before start: the X server has only its built-in fonts, none of the
    // core fonts an X font package adds.
    bool builtin_fonts_only = false;
    // Set before start: the game presents frames only when its picture
    // changes, as it does for a player. Frame-counting waits (wait_frames,
    // wait_for_title, move_to, click_at) then stall on a still screen; such a
    // test waits for what the screen shows instead.
    bool still_frames = false;
    // The game window's X id, waiting up to timeout_s for it to appear; 0 if none.
    unsigned long window(double timeout_s = E2E_DEADLINE_S);
    // Client size of the game window.
    bool window_size(int *w, int *h);
    // A shown window of this X server by its title (and class, when given); 0 if none.
    unsigned long find_window(const std::string &title, const std::string &wm_class = "");
    // Focuses a window (a message box) and presses a key there.
    bool key_to_window(unsigned long id, const std::string &key);
    // Runs a command (xdotool, xprop, ...) against this X server; its exit code.
    int x_command(const std::string &cmd);
    // Runs a command against this X server and returns what it printed.
    std::string x_output(const std::string &cmd);

    // Waits until the game has put n more frames on the screen; false when the
    // deadline passed or the game ended first.
    bool wait_frames(int n, double timeout_s = E2E_DEADLINE_S);
    // Polls done() until it holds; false when the deadline passed first.
    bool wait_until(const std::function<bool()> &done, double timeout_s = E2E_DEADLINE_S);
    // Polls done() until it holds; false when the game drew max_frames frames,
    // the deadline passed or the game ended first.
    bool wait_until_or_frames(const std::function<bool()> &done, int max_frames,
                              double timeout_s = E2E_DEADLINE_S);
    // Waits until the title has faded in completely: bright, and standing
    // still across several frames. Moves the pointer out of the menu's way.
    bool wait_for_title();
    // From the settled title: clicks Play and waits for the play options panel.
    bool open_play_options();
    // Clicks one of the title's menu icons.
    bool click_menu(menu_icon icon);
    // The window column of the paddle's middle during play on an 800 x 600
    // window; -1 when no paddle shows.
    int paddle_column();

    // Moves the pointer to a client position; returns once the game has drawn
    // frames that saw it there.
    bool move_to(int x, int y);
    // Moves there, then holds the left button down across several frames.
    bool click_at(int x, int y);
    // Clicks with the game's pointer on a GUI point or on a window pixel.
    bool click_gui(double gx, double gy);
    bool click_pixel(int sx, int sy);
    bool point_pixel(int sx, int sy);
    // Holds a key (xdotool's name, "shift+a" for a chord) down across several
    // frames (or until the game stops drawing to act on it, as on Escape), or,
    // when done is given, until done() holds.
    bool press_key(const std::string &key, const std::function<bool()> &done = nullptr);
    // Types text one held key at a time on the US layout: letters, digits,
    // spaces and the punctuation , . - ; ! ? '.
    bool type_text(const std::string &text);

    // Mean brightness 0..1 of a client rectangle of the screen as it is now.
    double brightness(int x, int y, int w, int h);
    // The same of a GUI rectangle (left, top, right, bottom).
    double gui_brightness(double x1, double y1, double x2, double y2);
    // Clicks a GUI point; true once the picture of a GUI rectangle changes
    // within max_frames frames.
    bool click_changes(double gx, double gy, double x1, double y1, double x2, double y2,
                       int max_frames);
    // Its red, green and blue bytes, row by row; empty when it cannot be read.
    std::vector<unsigned char> grab(int x, int y, int w, int h);
    // Asks the window to close, as its close box does.
    bool close_window();
    // Waits up to timeout_s for the game to end; its exit code, or -1 on timeout.
    int wait_exit(double timeout_s);
    // Screenshot of the whole screen into a PNG file.
    bool screenshot(const std::string &png);
    void stop();
    const std::string &error() const { return why; }
    const std::string &game_dir() const { return dir; }
    // The player's data folder of this run ($XDG_DATA_HOME/corvale).
    std::string player_dir() const { return data + "/corvale"; }
    const std::string &display() const { return xs.display(); }
    pid_t pid() const { return game.id(); }

private:
    bool watch_frames();
    int drain_frames();
    void hold_frames();
    int watch(const std::function<bool()> &done, int max_frames, double timeout_s);
    x_server xs;
    child_process game;
    scratch_folder scratch;
    unsigned long win = 0;
    unsigned long damage = 0;        // damage record on the game window
    int damage_event = 0;            // first event code of the damage extension
    std::string dir, config, data, why;
};
