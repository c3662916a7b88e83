// What both end-to-end harnesses share: a private Xvfb X server with a
// connection of the harness's own, the programs started under it, and their
// scratch folders.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <sys/types.h>

#include "deadline.h"
#include "player_folder.h"   // scratch_dir
#include "settings.h"

typedef struct _XDisplay Display;

// How long any single wait may last before it counts as a failure: software
// rendering on two busy cores can fall to a few frames a second.
const double E2E_DEADLINE_S = 180.0;

// An Xvfb server on a display number it chooses itself, so that parallel runs
// never collide, and this harness's connection to it. X errors (a window that
// just closed) show up as failed calls, never as the end of the test program.
class x_server {
public:
    ~x_server() { stop(); }
    // Starts the server and waits up to timeout_s until it takes connections.
    // With builtin_fonts_only the server has no core fonts beyond its own two,
    // as on a machine where no X font package is installed.
    bool start(double timeout_s, bool builtin_fonts_only = false);
    void stop();
    const std::string &display() const { return disp; }
    Display *connection() const { return conn; }
    // Runs a shell command (xdotool, xprop, ...) against this server; its exit code.
    int command(const std::string &cmd);
    // Runs a shell command against this server and returns what it printed.
    std::string output(const std::string &cmd);
    // The first shown window, from the root down, whose title is name (and
    // whose class or instance name is wm_class, when given); 0 if none.
    unsigned long find_named(const std::string &name, const std::string &wm_class = "");
    // Focuses a window and presses and releases a key (xdotool's name) there.
    bool key_to_window(unsigned long id, const std::string &key);
    // Asks a window to close, as its close box does.
    bool close_window(unsigned long id);
    // Client size of a window.
    bool window_size(unsigned long id, int *w, int *h);

private:
    pid_t pid = 0;
    Display *conn = nullptr;
    std::string disp;
};

// A program started by a harness and how it ended.
class child_process {
public:
    void started(pid_t p)
    {
        pid = p;
        ended = false;
        status = -1;
    }
    pid_t id() const { return pid; }
    // Waits up to timeout_s for it to end; its exit code (128 + signal when a
    // signal ended it), or -1 while it still runs.
    int wait_exit(double timeout_s);
    // Ends it with SIGKILL if it still runs, and reaps it.
    void kill_and_reap();

private:
    pid_t pid = 0;
    bool ended = false;
    int status = -1;
};

// A scratch folder under /tmp holding a copy of the built game folder in game/
// (when copy_game) and an empty config/; removed when the object goes away.
class scratch_folder {
public:
    bool make(bool copy_game);
    void remove() { root.reset(); }
    const std::string &path() const { return root->path(); }
    std::string game() const { return path() + "/game"; }
    std::string config() const { return path() + "/config"; }

private:
    std::optional<scratch_dir> root;
};

// A program under test in an X server of its own, with its settings and data
// folders in a scratch folder (and, unless it is installed, a copy of the
// game folder there, which it runs from).
class x_program {
public:
    ~x_program() { stop(); }
    // Runs a command (xdotool, xprop, ...) against this X server; its exit code.
    int x_command(const std::string &cmd) { return xs.command(cmd); }
    // Runs a command against this X server and returns what it printed.
    std::string x_output(const std::string &cmd) { return xs.output(cmd); }
    // The first shown window whose title is this (and whose class is
    // wm_class, when given), waiting up to timeout_s for it; 0 if none.
    unsigned long find_window(const std::string &title, double timeout_s = 0,
                              const std::string &wm_class = "");
    // Waits up to timeout_s for the program to end; its exit code, or -1.
    int wait_exit(double timeout_s) { return proc.wait_exit(timeout_s); }
    void stop();
    const std::string &error() const { return why; }
    const std::string &game_dir() const { return dir; }
    const std::string &display() const { return xs.display(); }
    pid_t pid() const { return proc.id(); }

protected:
    // Makes the scratch folder (copying the game folder into it when
    // copy_game), writes the settings file (none when null) and starts Xvfb;
    // false with a reason in error().
    bool prepare_run(bool copy_game, const bset *settings, bool builtin_fonts_only = false);
    // Starts a program under this X server with the scratch folder's settings
    // and data folders; env sets the program's own variables in the child.
    bool launch(const std::string &program, const std::function<void()> &env);
    x_server xs;
    child_process proc;
    scratch_folder scratch;
    std::string dir, config, why;
};
