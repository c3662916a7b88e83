// The setup program's end-to-end harness: Xvfb, a scratch game folder and
// settings folder, the program itself, and X commands against it.

#include "setup_run.h"

#include <cstdlib>
#include <cstring>
#include <unistd.h>

#include "player_folder.h"
#include "xshot.h"

// Seconds a window's picture must stay the same to count as drawn.
static const double STILL_S = 0.3;

bset setup_default_record()
{
    bset s = {};
    s.resolution = 2;
    s.seffects = 0.85f;
    s.music = 1.0f;
    strcpy(s.playlist, DEFAULT_PLAYLIST);
    return s;
}

bool setup_run::start(const bset *settings, const std::string &alsoft_conf)
{
    return prepare_run(true, settings) && launch(dir + "/corvale_setup", [&] {
        setenv("GSETTINGS_BACKEND", "memory", 1); // no desktop settings store
        setenv("GTK_THEME", "Adwaita", 1);
        if (alsoft_conf.empty()) {
            setenv("ALSOFT_DRIVERS", "null", 1);
        } else {
            setenv("ALSOFT_CONF", alsoft_conf.c_str(), 1);
            unsetenv("ALSOFT_DRIVERS");
        }
    });
}

unsigned long setup_run::window(double timeout_s)
{
    if (!win)
        poll_until([&] { return (win = find_window("Corvale Setup")) != 0 || wait_exit(0) != -1; },
                   timeout_s);
    return win;
}

bool setup_run::wait_still(unsigned long id, double timeout_s)
{
    // Still: the same picture for STILL_S, however many times it was read.
    std::vector<unsigned char> last;
    auto settled = deadline_after(STILL_S);
    return poll_until([&] {
        std::vector<unsigned char> now = pixels(id);
        if (now.empty() || now != last) {
            last = now;
            settled = deadline_after(STILL_S);
            return false;
        }
        return deadline_clock::now() >= settled;
    }, timeout_s);
}

bool setup_run::wait_gone(unsigned long id, double timeout_s)
{
    std::string query = "xdotool search --onlyvisible --name . | grep -qx " + std::to_string(id);
    return poll_until([&] { return x_command(query) != 0; }, timeout_s);
}

bool setup_run::focus(unsigned long id)
{
    return x_command("xdotool windowfocus --sync " + std::to_string(id)) == 0;
}

bool setup_run::key(const std::string &name)
{
    return x_command("xdotool keydown " + name + " sleep 0.1 keyup " + name) == 0;
}

bool setup_run::type(const std::string &text)
{
    return x_command("xdotool type --delay 60 '" + text + "'") == 0;
}

bool setup_run::close_window(unsigned long id)
{
    return xs.close_window(id);
}

bool setup_run::window_size(unsigned long id, int *w, int *h)
{
    return xs.window_size(id, w, h);
}

pid_t setup_run::window_pid(unsigned long id)
{
    return (pid_t)atol(x_output("xdotool getwindowpid " + std::to_string(id)).c_str());
}

std::vector<unsigned char> setup_run::pixels(unsigned long id)
{
    int w = 0, h = 0;
    return xs.connection() ? x_window_rgb(xs.connection(), id, 0, 0, w, h) : std::vector<unsigned char>();
}

bool setup_run::click(unsigned long id, int x, int y)
{
    return x_command("xdotool mousemove --window " + std::to_string(id) + " " + std::to_string(x) + " " +
                     std::to_string(y) + " mousedown 1 sleep 0.2 mouseup 1") == 0;
}

bool setup_run::drag(unsigned long id, int x, int y, int dy)
{
    std::string window = std::to_string(id);
    if (x_command("xdotool mousemove --window " + window + " " + std::to_string(x) + " " +
                  std::to_string(y) + " mousedown 1 sleep 0.2") != 0)
        return false;
    for (int step = 1; step <= 5; step++) {
        std::string to = std::to_string(y + dy * step / 5);
        if (x_command("xdotool mousemove --window " + window + " " + std::to_string(x) + " " +
                      to + " sleep 0.1") != 0)
            return false;
    }
    return x_command("xdotool mouseup 1") == 0;
}

bool setup_run::snapshot(unsigned long id, const std::string &png)
{
    return xs.connection() && x_window_png(xs.connection(), id, png);
}

bool setup_run::settings_file(std::string *bytes) const
{
    *bytes = file_bytes(config + "/corvale.set");
    return access((config + "/corvale.set").c_str(), F_OK) == 0;
}
