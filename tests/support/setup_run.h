// The setup program under test: a private Xvfb X server, and corvale_setup
// started in a scratch copy of the game folder with its own settings folder,
// driven by real key presses and window events.
#pragma once

#include <string>
#include <vector>
#include <sys/types.h>

#include "settings.h"
#include "xserver.h"

class setup_run : public x_program {
public:
    // Copies the game folder, writes settings (none when null), starts Xvfb and
    // the setup program. Returns false (with a reason in error()) when anything fails.
    bool start(const bset *settings, const std::string &alsoft_conf = "");
    // The dialog's X window, waiting up to timeout_s for it to be shown; 0 if none.
    unsigned long window(double timeout_s = 30);
    // Waits up to timeout_s until a window's picture has stayed the same for a
    // moment (it has finished loading and drawing); false if it never settles.
    bool wait_still(unsigned long id, double timeout_s = 30);
    // Waits up to timeout_s for a window to be gone; false if it stays.
    bool wait_gone(unsigned long id, double timeout_s = 30);
    // Gives a window the keyboard focus.
    bool focus(unsigned long id);
    // Presses and releases a key (xdotool's name) into the focused window.
    bool key(const std::string &name);
    // Types text into the focused window.
    bool type(const std::string &text);
    // Asks a window to close, as its close box does.
    bool close_window(unsigned long id);
    // Client size of a window.
    bool window_size(unsigned long id, int *w, int *h);
    // Process id of the program owning a window, 0 if unknown.
    pid_t window_pid(unsigned long id);
    // A window's pixels as 8-bit RGB rows, width * height * 3 bytes (empty on failure).
    std::vector<unsigned char> pixels(unsigned long id);
    // Presses the left button at a window position, moves the pointer by dy in
    // small steps with the button held, and lets go: a drag.
    bool drag(unsigned long id, int x, int y, int dy);
    // Clicks the left button at a window position without moving.
    bool click(unsigned long id, int x, int y);
    // Saves a picture of a window into a PNG file.
    bool snapshot(unsigned long id, const std::string &png);
    // Whether the settings file exists; its bytes into *bytes when it does.
    bool settings_file(std::string *bytes) const;

private:
    unsigned long win = 0;
};

// The record the setup program writes for a player who changes nothing and has
// no settings file: 800 x 600 full-screen, effects 0.85, music 1.0, the default playlist.
bset setup_default_record();
// A settings record's bytes, as the file holds them.
inline std::string bytes_of(const bset &s) { return std::string((const char *)&s, sizeof s); }
