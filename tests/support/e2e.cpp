// The end-to-end harness: Xvfb on a display it picks itself, a scratch game
// folder, the game process, real input through xdotool, frames counted from the
// X server's damage reports and pixels read straight from the server.

#include "e2e.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xdamage.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <poll.h>

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
// Frames a screen or panel is given to open after its icon was clicked.
static const int OPENING_FRAMES = 60;

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

bool game_run::start(const bset &settings, void (*prepare)(const std::string &game_dir))
{
    if (!prepare_run(true, &settings, builtin_fonts_only))
        return false;
    if (prepare)
        prepare(dir);
    program = dir + "/corvale";
    return launch_game();
}

bool game_run::start_program(const bset &settings, const std::string &installed)
{
    program = installed;
    return prepare_run(false, &settings, builtin_fonts_only) && launch_game();
}

bool game_run::restart()
{
    if (wait_exit(0) == -1) {
        why = "the game still runs";
        return false;
    }
    win = damage = 0;
    return launch_game();
}

bool game_run::launch_game()
{
    return launch(program, [&] {
        setenv("BROWSER", "true", 1);  // the end screen's web page opens nowhere
        // The harness counts the frames the game presents; a still screen
        // presents none, so the game draws every frame unless a test asks.
        if (!still_frames)
            setenv("CORVALE_FULL_FRAMES", "1", 1);
    });
}

bool game_run::key_to_window(unsigned long id, const std::string &key)
{
    return xs.key_to_window(id, key);
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
        poll(&p, 1, (int)(POLL_INTERVAL_S * 1000));
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

bool game_run::screenshot(const std::string &png)
{
    Display *d = xs.connection();
    return d && x_window_png(d, DefaultRootWindow(d), png);
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

std::vector<unsigned char> game_run::grab(int x, int y, int w, int h)
{
    return window() ? x_window_rgb(xs.connection(), win, x, y, w, h) : std::vector<unsigned char>();
}

double game_run::gui_brightness(double x1, double y1, double x2, double y2)
{
    int l, t, r, b;
    view.pixel(x1, y1, &l, &t);
    view.pixel(x2, y2, &r, &b);
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

// Window pixels a GUI unit: the shown height spans GUI y -2.07 .. 2.07, the
// field seen at depth 5 through the game's 45-degree view.
static double pixels_per_unit(const gui_view &v)
{
    return std::min(v.h, v.w * 3 / 4) / (10 * 0.41421356);
}

void gui_view::pixel(double gx, double gy, int *sx, int *sy) const
{
    double k = pixels_per_unit(*this);
    *sx = (int)(w / 2.0 + (gx - 3.0) * k + 0.5);
    *sy = (int)(h / 2.0 - gy * k + 0.5);
}

void gui_view::mouse(double gx, double gy, int *mx, int *my) const
{
    *mx = (int)((gx - 0.25) / step + 0.5);
    *my = (int)((2.0 - gy) / step + 0.5);
}

void gui_view::mouse_at_pixel(int sx, int sy, int *mx, int *my) const
{
    double k = pixels_per_unit(*this);
    mouse(3.0 + (sx - w / 2.0) / k, (h / 2.0 - sy) / k, mx, my);
}

double share_changed(const std::vector<unsigned char> &a, const std::vector<unsigned char> &b)
{
    size_t differ = 0;
    for (size_t k = 0; k < a.size() && k < b.size(); k++)
        differ += std::abs(a[k] - b[k]) > 40;
    return a.empty() || b.empty() ? 0.0 : (double)differ / (double)a.size();
}

bool game_run::click_menu(menu_icon icon)
{
    return click_pixel(MENU_ICON_X[icon], MENU_ICON_Y);
}

int game_run::paddle_column()
{
    // The paddle's white top edge lies just under field y -1.5, over the
    // darkest part of the background; its columns are the bright ones.
    int left, right, top, bottom;
    view.pixel(0.5, -1.51, &left, &top);
    view.pixel(5.5, -1.53, &right, &bottom);
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

bool game_run::open_from_title(menu_icon icon)
{
    auto logo = [&] { return brightness(150, 100, 500, 120); };
    auto band = [&] { return brightness(200, 250, 400, 60); };
    double logo_before = logo(), band_before = band();
    return click_menu(icon) && wait_until_or_frames([&] {
        return std::abs(logo() - logo_before) > 0.03 || std::abs(band() - band_before) > 0.03;
    }, OPENING_FRAMES);
}

bool game_run::open_play_options()
{
    return wait_for_title() && open_from_title(MENU_PLAY);
}

bool game_run::point_gui(double gx, double gy)
{
    int mx, my;
    view.mouse(gx, gy, &mx, &my);
    return move_to(mx, my);
}

bool game_run::click_gui(double gx, double gy)
{
    int mx, my;
    view.mouse(gx, gy, &mx, &my);
    return click_at(mx, my);
}

bool game_run::click_pixel(int sx, int sy)
{
    int mx, my;
    view.mouse_at_pixel(sx, sy, &mx, &my);
    return click_at(mx, my);
}
