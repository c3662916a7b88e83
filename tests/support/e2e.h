// End-to-end harness: the real game in a real X server (Xvfb), in a scratch
// copy of the game folder with its own settings, driven by real input events.
// Every wait watches what the game shows (frames drawn, pixels, files) up to a
// generous deadline, so a slow machine only makes a test slower, never wrong.
#pragma once

#include <functional>
#include <string>
#include <vector>
#include <sys/types.h>

#include "player_folder.h"   // file_bytes
#include "settings.h"
#include "xserver.h"

// A settings record for a windowed game of the given resolution index.
bset windowed_settings(int resolution);

// Where GUI points lie on a game window of w x h pixels: GUI (3, 0) at its
// middle, GUI y -2.07 .. 2.07 over its height (over a centred 4:3 band on a
// window narrower than 4:3). The game draws its own pointer, moved from the
// mouse by its own scale: the tip lies at GUI (0.25 + step x, 2.0 - step y).
struct gui_view {
    int w = 800, h = 600;
    double step = 0.007;
    // The window pixel of a GUI point.
    void pixel(double gx, double gy, int *sx, int *sy) const;
    // The mouse position that puts the pointer's tip on a GUI point, or on a
    // window pixel.
    void mouse(double gx, double gy, int *mx, int *my) const;
    void mouse_at_pixel(int sx, int sy, int *mx, int *my) const;
};

// The title's menu icons, left to right, and their centres on an 800 x 600
// window (pixels).
enum menu_icon { MENU_PLAY, MENU_LOAD, MENU_EDIT, MENU_SCORES, MENU_HELP, MENU_EXIT };
const int MENU_ICON_Y = 361;
const int MENU_ICON_X[6] = {227, 298, 371, 443, 515, 588};
// The play options panel's Continue and Play buttons (centres, GUI units).
const double OPTIONS_CONTINUE_X = 3.575, OPTIONS_PLAY_X = 4.275, OPTIONS_BUTTONS_Y = 0.125;

// The share of the bytes of two pictures of one region that differ by more
// than a faint flicker; 0 when either is empty.
double share_changed(const std::vector<unsigned char> &a, const std::vector<unsigned char> &b);

// Frames the title's fade-in or fade-out lasts, and a margin beyond it.
const int FADE_FRAMES = 101;
const int FADE_MARGIN_FRAMES = 20;

class game_run : public x_program {
public:
    // Starts Xvfb, copies the game folder, writes the settings file and starts
    // the game. Returns false (with a reason in error()) when anything fails.
    // prepare, when given, may change the copied game folder before the start.
    bool start(const bset &settings, void (*prepare)(const std::string &game_dir) = nullptr);
    // The same with a program that is already installed, run where it is.
    bool start_program(const bset &settings, const std::string &program);
    // Starts the game again, in the same folders and X server, once it has ended.
    bool restart();
    // Set before start: the X server has only its built-in fonts, none of the
    // core fonts an X font package adds.
    bool builtin_fonts_only = false;
    // Set before start: the game presents frames only when its picture
    // changes, as it does for a player. Frame-counting waits (wait_frames,
    // wait_for_title, move_to, click_at) then stall on a still screen; such a
    // test waits for what the screen shows instead.
    bool still_frames = false;
    // The window's size and scale, for the GUI positions below; set it when
    // the window is not 800 x 600.
    gui_view view;
    // The game window's X id, waiting up to timeout_s for it to appear; 0 if none.
    unsigned long window(double timeout_s = E2E_DEADLINE_S);
    // Client size of the game window.
    bool window_size(int *w, int *h);
    // Focuses a window (a message box) and presses a key there.
    bool key_to_window(unsigned long id, const std::string &key);

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
    // Clicks one of the title's menu icons.
    bool click_menu(menu_icon icon);
    // Clicks one of the title's menu icons; true once the screen it opens
    // covers the logo or the band under it.
    bool open_from_title(menu_icon icon);
    // From the settled title: clicks Play and waits for the play options panel.
    bool open_play_options();
    // The window column of the paddle's middle during play on an 800 x 600
    // window; -1 when no paddle shows.
    int paddle_column();

    // Moves the pointer to a client position; returns once the game has drawn
    // frames that saw it there.
    bool move_to(int x, int y);
    // Moves there, then holds the left button down across several frames.
    bool click_at(int x, int y);
    // Points or clicks with the game's pointer on a GUI point, or clicks on a
    // window pixel.
    bool point_gui(double gx, double gy);
    bool click_gui(double gx, double gy);
    bool click_pixel(int sx, int sy);
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
                       int max_frames = 60);
    // Its red, green and blue bytes, row by row; empty when it cannot be read.
    std::vector<unsigned char> grab(int x, int y, int w, int h);
    // Asks the window to close, as its close box does.
    bool close_window();
    // Screenshot of the whole screen into a PNG file.
    bool screenshot(const std::string &png);
    // The player's data folder of this run ($XDG_DATA_HOME/corvale).
    std::string player_dir() const { return scratch.path() + "/data/corvale"; }

private:
    bool watch_frames();
    int drain_frames();
    void hold_frames();
    int watch(const std::function<bool()> &done, int max_frames, double timeout_s);
    bool launch_game();
    std::string program;             // the game's program file
    unsigned long win = 0;
    unsigned long damage = 0;        // damage record on the game window
    int damage_event = 0;            // first event code of the damage extension
};
