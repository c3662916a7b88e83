// The end-to-end harness: Xvfb on a display it picks itself, a scratch game
// folder, the game process, real input through xdotool, frames counted from the
// X server's damage reports and pixels read straight from the server.

#include "e2e.h"
#include "gl_view.h"   // before Xlib, whose macros gtest cannot take

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xdamage.h>

#include <cmath>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <poll.h>
#include <unistd.h>

#include "player_folder.h"
#include "xshot.h"

static const char *const GAME_TITLE = "Corvale by Halvard Software";
// The game window's class: a message box may carry the same title.
static const char *const GAME_CLASS = "corvale";

// Frames a key or button is held down, and frames left to pass after the
// release: the game reads its key table once a frame, so a press shorter than
// a frame can go unseen.
static const int HOLD_FRAMES = 4;
static const int RELEASE_FRAMES = 2;
// Seconds without a frame that show the game took a held key instead of drawing
// (far longer than any frame of a loaded machine).
static const double STALL_S = 5.0;
// Frames the game must draw with the pointer in place before a click.
static const int POINTER_FRAMES = 4;
// Frames across which the finished title stands still.
static const int TITLE_STILL_FRAMES = 12;
// Mean change of a colour byte across those frames that still counts as still.
static const double TITLE_STILL_CHANGE = 0.05;
// Frames the options panel is given to open after its icon was clicked.
static const int OPTIONS_FRAMES = 30;
// How often the frame watch looks again, in seconds.
static const double POLL_S = 0.02;

bset windowed_settings(int resolution)
{
    bset s = {};
    s.resolution = resolution;
    s.windowed = 1;
    s.seffects = 0.8f;
    s.music = 1.0f;
    strcpy(s.playlist, DEFAULT_PLAYLIST);
    return s;
}

game_run::~game_run()
{
    stop();
}

bool game_run::start(const bset &settings, void (*prepare)(const std::string &game_dir))
{
    return start_program(settings, "", prepare);
}

bool game_run::start_program(const bset &settings, const std::string &installed,
                             void (*prepare)(const std::string &game_dir))
{
    if (!scratch.make("corvale-e2e", installed.empty())) {
        why = "cannot copy the game folder";
        return false;
    }
    dir = scratch.game();
    config = scratch.config();
    data = scratch.path() + "/data";
    std::ofstream(config + "/corvale.set", std::ios::binary)
        .write((const char *)&settings, sizeof settings);
    if (prepare && installed.empty())
        prepare(dir);
    if (!xs.start(E2E_DEADLINE_S, builtin_fonts_only)) {
        why = "Xvfb did not start";
        return false;
    }
    pid_t child = fork();
    if (child == 0) {
        setenv("DISPLAY", xs.display().c_str(), 1);
        setenv("XDG_CONFIG_HOME", config.c_str(), 1);
        setenv("XDG_DATA_HOME", data.c_str(), 1);
        setenv("BROWSER", "true", 1);  // the end screen's web page opens nowhere
        setenv("NO_AT_BRIDGE", "1", 1);  // message boxes: no accessibility bus to wait for
        // The harness counts the frames the game presents; a still screen
        // presents none, so the game draws every frame unless a test asks.
        if (!still_frames)
            setenv("CORVALE_FULL_FRAMES", "1", 1);
        std::string program = installed.empty() ? dir + "/corvale" : installed;
        // Started from elsewhere on purpose: the game must find its own folder.
        if (chdir("/") != 0)
            _exit(126);
        execl(program.c_str(), program.c_str(), (char *)nullptr);
        _exit(127);
    }
    game.started(child > 0 ? child : 0);
    return child > 0;
}

unsigned long game_run::find_window(const std::string &title, const std::string &wm_class)
{
    return xs.find_named(title, wm_class);
}

bool game_run::key_to_window(unsigned long id, const std::string &key)
{
    return xs.key_to_window(id, key);
}

int game_run::x_command(const std::string &cmd)
{
    return xs.command(cmd);
}

std::string game_run::x_output(const std::string &cmd)
{
    return xs.output(cmd);
}

unsigned long game_run::window(double timeout_s)
{
    if (win || !xs.connection())
        return win;
    poll_until([&] { return (win = xs.find_named(GAME_TITLE, GAME_CLASS)) != 0 || wait_exit(0) != -1; },
               timeout_s);
    if (win)
        watch_frames();
    return win;
}

// Asks the server to report drawing into the game window: every frame the game
// shows is an image put into it.
bool game_run::watch_frames()
{
    Display *d = xs.connection();
    int error_base;
    if (!XDamageQueryExtension(d, &damage_event, &error_base))
        return false;
    damage = XDamageCreate(d, (Window)win, XDamageReportNonEmpty);
    XSync(d, False);
    return damage != 0;
}

// Takes every damage report waiting, clearing the damage each time; returns
// how many there were. Reports of frames shown in quick succession can merge
// into one, so the count never exceeds the frames drawn.
int game_run::drain_frames()
{
    Display *d = xs.connection();
    int frames = 0;
    while (XPending(d)) {
        XEvent e;
        XNextEvent(d, &e);
        if (e.type == damage_event + XDamageNotify) {
            XDamageSubtract(d, (Damage)damage, None, None);
            frames++;
        }
    }
    XFlush(d);
    return frames;
}

// Polls done() while counting frames: 1 when done() held, 2 when max_frames
// frames were drawn first, 0 when the deadline passed or the game ended.
int game_run::watch(const std::function<bool()> &done, int max_frames, double timeout_s)
{
    if (!window() || !damage)
        return 0;
    Display *d = xs.connection();
    drain_frames();  // frames drawn before now do not count
    int frames = 0;
    auto until = deadline_after(timeout_s);
    for (;;) {
        if (done())
            return 1;
        if (frames >= max_frames)
            return 2;
        if (deadline_clock::now() >= until || wait_exit(0) != -1)
            return 0;
        pollfd p = {ConnectionNumber(d), POLLIN, 0};
        poll(&p, 1, (int)(POLL_S * 1000));
        frames += drain_frames();
    }
}

bool game_run::wait_frames(int n, double timeout_s)
{
    return watch([] { return false; }, n, timeout_s) == 2;
}

bool game_run::wait_until_or_frames(const std::function<bool()> &done, int max_frames,
                                    double timeout_s)
{
    return watch(done, max_frames, timeout_s) == 1;
}

bool game_run::wait_until(const std::function<bool()> &done, double timeout_s)
{
    return poll_until(done, timeout_s);
}

bool game_run::wait_for_title()
{
    move_to(700, 560);  // out of the way of the menu
    // The fade lasts 101 frames, however slow they are. The title is up when
    // the logo is bright and a dozen frames leave its pixels as they were: a
    // mean brightness alone can stand still mid-fade, when the game scene
    // fading out is as bright as the logo fading in.
    auto until = deadline_after(E2E_DEADLINE_S);
    std::vector<unsigned char> last = grab(150, 100, 500, 120);
    while (deadline_clock::now() < until) {
        if (!wait_frames(TITLE_STILL_FRAMES))
            return false;
        std::vector<unsigned char> now = grab(150, 100, 500, 120);
        if (now.empty() || now.size() != last.size())
            return false;
        double sum = 0, change = 0;
        for (size_t k = 0; k < now.size(); k++) {
            sum += now[k];
            change += std::abs((int)now[k] - (int)last[k]);
        }
        if (sum > 0.2 * 255.0 * now.size() && change < TITLE_STILL_CHANGE * now.size())
            return true;
        last = now;
    }
    return false;
}

bool game_run::window_size(int *w, int *h)
{
    return window() && xs.window_size(win, w, h);
}

bool game_run::close_window()
{
    return window() && xs.close_window(win);
}

int game_run::wait_exit(double timeout_s)
{
    return game.wait_exit(timeout_s);
}

bool game_run::screenshot(const std::string &png)
{
    Display *d = xs.connection();
    return d && x_window_png(d, DefaultRootWindow(d), png);
}

void game_run::stop()
{
    game.kill_and_reap();
    xs.stop();
    scratch.remove();
    dir.clear();
}

bool game_run::move_to(int x, int y)
{
    if (!window())
        return false;
    if (x_command("xdotool mousemove --window " + std::to_string(win) + " " +
                  std::to_string(x) + " " + std::to_string(y)) != 0)
        return false;
    return wait_frames(POINTER_FRAMES);
}

bool game_run::click_at(int x, int y)
{
    if (!move_to(x, y))
        return false;
    if (x_command("xdotool mousedown 1") != 0)
        return false;
    wait_frames(HOLD_FRAMES);
    bool ok = x_command("xdotool mouseup 1") == 0;
    wait_frames(RELEASE_FRAMES);  // a click that ends the game draws no more
    return ok;
}

// Waits while a key is held until HOLD_FRAMES frames were drawn, or until the
// game stops drawing: Escape and F12 run their action instead of frames.
void game_run::hold_frames()
{
    int frames = 0;
    while (frames < HOLD_FRAMES)
        if (watch([] { return false; }, 1, STALL_S) != 2)
            return;
        else
            frames++;
}

bool game_run::press_key(const std::string &key, const std::function<bool()> &done)
{
    if (x_command("xdotool keydown " + key) != 0)
        return false;
    if (done)
        wait_until(done);
    else
        hold_frames();
    bool ok = x_command("xdotool keyup " + key) == 0;
    if (!done)
        wait_frames(RELEASE_FRAMES);  // a key that ends the game draws no more
    return ok;
}

bool game_run::type_text(const std::string &text)
{
    static const struct { char c; const char *key; } PUNCTUATION[] = {
        {' ', "space"}, {',', "comma"}, {'.', "period"}, {'-', "minus"}, {';', "semicolon"},
        {'!', "shift+1"}, {'?', "shift+slash"}, {'\'', "apostrophe"},
    };
    for (char c : text) {
        std::string key;
        if (c >= 'A' && c <= 'Z')
            key = std::string("shift+") + (char)(c - 'A' + 'a');
        else if ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'))
            key = std::string(1, c);
        for (const auto &p : PUNCTUATION)
            if (p.c == c)
                key = p.key;
        if (key.empty())
            return false;
        if (!press_key(key))
            return false;
    }
    return true;
}

// The red, green and blue bytes of a client rectangle as it is now; empty
// when it cannot be read.
std::vector<unsigned char> game_run::grab(int x, int y, int w, int h)
{
    std::vector<unsigned char> rgb;
    if (!window())
        return rgb;
    XImage *img = XGetImage(xs.connection(), (Window)win, x, y, (unsigned)w, (unsigned)h, AllPlanes,
                            ZPixmap);
    if (!img)
        return rgb;
    rgb.reserve((size_t)w * h * 3);
    for (int j = 0; j < h; j++)
        for (int i = 0; i < w; i++) {
            unsigned long p = XGetPixel(img, i, j);
            rgb.push_back((unsigned char)(p >> 16));
            rgb.push_back((unsigned char)(p >> 8));
            rgb.push_back((unsigned char)p);
        }
    XDestroyImage(img);
    return rgb;
}

double game_run::gui_brightness(double x1, double y1, double x2, double y2)
{
    int l, t, r, b;
    gui_to_pixel(x1, y1, &l, &t);
    gui_to_pixel(x2, y2, &r, &b);
    return brightness(l, t, r - l, b - t);
}

bool game_run::click_changes(double gx, double gy, double x1, double y1, double x2, double y2,
                             int max_frames)
{
    double before = gui_brightness(x1, y1, x2, y2);
    return click_gui(gx, gy) &&
           wait_until_or_frames([&] { return std::abs(gui_brightness(x1, y1, x2, y2) - before) > 0.03; },
                                max_frames);
}

double game_run::brightness(int x, int y, int w, int h)
{
    std::vector<unsigned char> rgb = grab(x, y, w, h);
    if (rgb.empty())
        return -1.0;
    double sum = 0;
    for (unsigned char b : rgb)
        sum += b;
    return sum / (255.0 * rgb.size());
}

void mouse_for_gui(double gx, double gy, int *mx, int *my)
{
    *mx = (int)((gx - 0.25) / 0.007 + 0.5);
    *my = (int)((2.0 - gy) / 0.007 + 0.5);
}

void mouse_for_pixel(int sx, int sy, int *mx, int *my)
{
    // The GUI frame is the field shifted by -3 on x, seen at depth 5 through a
    // 45-degree, 4:3 perspective.
    const double half_h = 5.0 * 0.41421356, half_w = half_h * 800.0 / 600.0;
    double gx = 3.0 - half_w + sx * (2 * half_w / 800.0);
    double gy = half_h - sy * (2 * half_h / 600.0);
    mouse_for_gui(gx, gy, mx, my);
}

void gui_to_pixel(double gx, double gy, int *sx, int *sy)
{
    const double half_h = 5.0 * 0.41421356, half_w = half_h * 800.0 / 600.0;
    *sx = (int)((gx - 3.0 + half_w) / (2 * half_w / 800.0) + 0.5);
    *sy = (int)((half_h - gy) / (2 * half_h / 600.0) + 0.5);
}

double canvas_cell_x(int c) { return cell_centre_x(c); }
double canvas_cell_y(int r) { return cell_centre_y(r); }

std::string read_file(const std::string &path) { return file_bytes(path); }

bool game_run::click_menu(menu_icon icon)
{
    return click_pixel(MENU_ICON_X[icon], MENU_ICON_Y);
}

int game_run::paddle_column()
{
    // The paddle's white top edge lies just under field y -1.5, over the
    // darkest part of the background; its columns are the bright ones.
    int left, right, top, bottom;
    gui_to_pixel(0.5, -1.51, &left, &top);
    gui_to_pixel(5.5, -1.53, &right, &bottom);
    int w = right - left, h = bottom - top + 1;
    std::vector<unsigned char> rgb = grab(left, top, w, h);
    if (rgb.empty())
        return -1;
    long sum = 0, count = 0;
    for (int x = 0; x < w; x++) {
        int lit = 0;
        for (int y = 0; y < h; y++) {
            const unsigned char *p = &rgb[((size_t)y * w + x) * 3];
            lit += p[0] + p[1] + p[2] > 3 * 60;
        }
        if (lit == h) {
            sum += x;
            count++;
        }
    }
    return count ? left + (int)(sum / count) : -1;
}

bool game_run::open_play_options()
{
    if (!wait_for_title())
        return false;
    // The options panel covers the middle of the title.
    double middle = brightness(200, 250, 400, 60);
    return click_menu(MENU_PLAY) &&
           wait_until_or_frames([&] { return std::abs(brightness(200, 250, 400, 60) - middle) > 0.05; },
                                OPTIONS_FRAMES);
}

bool game_run::click_gui(double gx, double gy)
{
    int mx, my;
    mouse_for_gui(gx, gy, &mx, &my);
    return click_at(mx, my);
}

bool game_run::click_pixel(int sx, int sy)
{
    int mx, my;
    mouse_for_pixel(sx, sy, &mx, &my);
    return click_at(mx, my);
}

bool game_run::point_pixel(int sx, int sy)
{
    int mx, my;
    mouse_for_pixel(sx, sy, &mx, &my);
    return move_to(mx, my);
}
