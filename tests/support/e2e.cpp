// The end-to-end harness: Xvfb on a display it picks itself, a scratch game
// folder, the game process, real input through xdotool, frames counted from the
// X server's damage reports and pixels read straight from the server.

#include "e2e.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xdamage.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <poll.h>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "xshot.h"

static const char *const GAME_TITLE = "Corvale by Halvard Software";

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
// How often a poll looks again, in seconds.
static const double POLL_S = 0.02;

typedef std::chrono::steady_clock clock_type;

static clock_type::time_point deadline_after(double s)
{
    return clock_type::now() +
           std::chrono::duration_cast<clock_type::duration>(std::chrono::duration<double>(s));
}

static void sleep_s(double s)
{
    std::this_thread::sleep_for(std::chrono::duration<double>(s));
}

static bool run_shell(const std::string &cmd)
{
    return system(cmd.c_str()) == 0;
}

static Display *dpy(void *xd)
{
    return (Display *)xd;
}

// X errors (a sample outside a window that just closed, say) show up as failed
// calls, never as the end of the test program.
static int ignore_x_error(Display *, XErrorEvent *)
{
    return 0;
}

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

std::string screenshot_path(const char *name)
{
    std::string folder = std::string(CORVALE_BINARY_DIR) + "/screenshots";
    mkdir(folder.c_str(), 0755);
    return folder + "/" + name;
}

game_run::~game_run()
{
    stop();
}

// Starts Xvfb on a display number it chooses itself (so parallel runs never
// collide) and waits until it has said which one and takes connections.
bool game_run::start_xserver()
{
    int fds[2];
    if (pipe(fds) != 0)
        return false;
    xserver = fork();
    if (xserver == 0) {
        close(fds[0]);
        if (!getenv("CORVALE_E2E_XLOG")) {
            int devnull = open("/dev/null", O_WRONLY);
            dup2(devnull, 1);
            dup2(devnull, 2);
        }
        std::string fd = std::to_string(fds[1]);
        execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1280x1024x24",
               "-nolisten", "tcp", "-noreset", (char *)nullptr);
        _exit(127);
    }
    close(fds[1]);
    if (xserver < 0) {
        close(fds[0]);
        xserver = 0;
        return false;
    }
    std::string number;
    auto until = deadline_after(E2E_DEADLINE_S);
    while (number.find('\n') == std::string::npos && clock_type::now() < until) {
        pollfd p = {fds[0], POLLIN, 0};
        if (poll(&p, 1, 100) <= 0)
            continue;
        char c;
        if (read(fds[0], &c, 1) != 1)
            break;  // the server ended without naming a display
        number += c;
    }
    close(fds[0]);
    if (number.find('\n') == std::string::npos)
        return false;
    disp = ":" + number.substr(0, number.find('\n'));
    Display *d = XOpenDisplay(disp.c_str());
    if (!d)
        return false;
    XSetErrorHandler(ignore_x_error);
    // A key held across slow frames must not turn into several presses.
    XAutoRepeatOff(d);
    XSync(d, False);
    xd = d;
    return true;
}

bool game_run::start(const bset &settings, void (*prepare)(const std::string &game_dir))
{
    return start_program(settings, "", prepare);
}

bool game_run::start_program(const bset &settings, const std::string &installed,
                             void (*prepare)(const std::string &game_dir))
{
    char scratch[] = "/tmp/corvale-e2e-XXXXXX";
    if (!mkdtemp(scratch)) {
        why = "no scratch folder";
        return false;
    }
    dir = std::string(scratch) + "/game";
    config = std::string(scratch) + "/config";
    data = std::string(scratch) + "/data";
    std::string copy = installed.empty() ? "cp -a '" CORVALE_GAME_DIR "' '" + dir + "' && " : "";
    if (!run_shell(copy + "mkdir -p '" + config + "'")) {
        why = "cannot copy the game folder";
        return false;
    }
    std::ofstream(config + "/corvale.set", std::ios::binary)
        .write((const char *)&settings, sizeof settings);
    if (prepare && installed.empty())
        prepare(dir);
    if (!start_xserver()) {
        why = "Xvfb did not start";
        return false;
    }
    game = fork();
    if (game == 0) {
        setenv("DISPLAY", disp.c_str(), 1);
        setenv("XDG_CONFIG_HOME", config.c_str(), 1);
        setenv("XDG_DATA_HOME", data.c_str(), 1);
        setenv("BROWSER", "true", 1);  // the end screen's web page opens nowhere
        std::string program = installed.empty() ? dir + "/corvale" : installed;
        // Started from elsewhere on purpose: the game must find its own folder.
        if (chdir("/") != 0)
            _exit(126);
        execl(program.c_str(), program.c_str(), (char *)nullptr);
        _exit(127);
    }
    return game > 0;
}

int game_run::x_command(const std::string &cmd)
{
    std::string full = "DISPLAY=" + disp + " " + cmd + " >/dev/null 2>&1";
    int rc = system(full.c_str());
    return WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
}

std::string game_run::x_output(const std::string &cmd)
{
    std::string full = "DISPLAY=" + disp + " " + cmd + " 2>/dev/null";
    std::string out;
    if (FILE *p = popen(full.c_str(), "r")) {
        char buf[512];
        size_t n;
        while ((n = fread(buf, 1, sizeof buf, p)) > 0)
            out.append(buf, n);
        pclose(p);
    }
    return out;
}

// The first top-level window under root whose name is the game's title.
static Window find_named(Display *d, Window w)
{
    char *name = nullptr;
    if (XFetchName(d, w, &name) && name) {
        bool match = strcmp(name, GAME_TITLE) == 0;
        XFree(name);
        if (match)
            return w;
    }
    Window root, parent, *children = nullptr;
    unsigned n = 0;
    Window found = 0;
    if (XQueryTree(d, w, &root, &parent, &children, &n)) {
        for (unsigned k = 0; k < n && !found; k++)
            found = find_named(d, children[k]);
        if (children)
            XFree(children);
    }
    return found;
}

unsigned long game_run::window(double timeout_s)
{
    if (win || !xd)
        return win;
    Display *d = dpy(xd);
    auto until = deadline_after(timeout_s);
    while (clock_type::now() < until) {
        Window id = find_named(d, DefaultRootWindow(d));
        if (id) {
            win = id;
            watch_frames();
            return win;
        }
        if (wait_exit(0) != -1)
            return 0;
        sleep_s(0.05);
    }
    return 0;
}

// Asks the server to report drawing into the game window: every frame the game
// shows is an image put into it.
bool game_run::watch_frames()
{
    Display *d = dpy(xd);
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
    Display *d = dpy(xd);
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
    Display *d = dpy(xd);
    drain_frames();  // frames drawn before now do not count
    int frames = 0;
    auto until = deadline_after(timeout_s);
    for (;;) {
        if (done())
            return 1;
        if (frames >= max_frames)
            return 2;
        if (clock_type::now() >= until || wait_exit(0) != -1)
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
    auto until = deadline_after(timeout_s);
    for (;;) {
        if (done())
            return true;
        if (clock_type::now() >= until)
            return false;
        sleep_s(POLL_S);
    }
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
    while (clock_type::now() < until) {
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
    if (!window())
        return false;
    XWindowAttributes a;
    if (!XGetWindowAttributes(dpy(xd), (Window)win, &a))
        return false;
    *w = a.width;
    *h = a.height;
    return true;
}

bool game_run::close_window()
{
    if (!window())
        return false;
    Display *d = dpy(xd);
    XEvent e = {};
    e.xclient.type = ClientMessage;
    e.xclient.window = (Window)win;
    e.xclient.message_type = XInternAtom(d, "WM_PROTOCOLS", False);
    e.xclient.format = 32;
    e.xclient.data.l[0] = (long)XInternAtom(d, "WM_DELETE_WINDOW", False);
    e.xclient.data.l[1] = CurrentTime;
    bool ok = XSendEvent(d, (Window)win, False, NoEventMask, &e) != 0;
    XFlush(d);
    return ok;
}

int game_run::wait_exit(double timeout_s)
{
    if (exited)
        return exit_status;
    if (!game)
        return -1;
    auto until = deadline_after(timeout_s);
    for (;;) {
        int status = 0;
        pid_t r = waitpid(game, &status, WNOHANG);
        if (r == game) {
            exited = true;
            exit_status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            return exit_status;
        }
        if (clock_type::now() >= until)
            return -1;
        sleep_s(0.05);
    }
}

double game_run::cpu_seconds()
{
    std::ifstream f("/proc/" + std::to_string(game) + "/stat");
    std::string line;
    std::getline(f, line);
    size_t close_paren = line.rfind(')');
    if (close_paren == std::string::npos)
        return 0;
    std::istringstream rest(line.substr(close_paren + 2));
    std::string field;
    long utime = 0, stime = 0;
    for (int i = 3; i <= 15 && rest >> field; i++) {
        if (i == 14)
            utime = atol(field.c_str());
        if (i == 15)
            stime = atol(field.c_str());
    }
    return (double)(utime + stime) / (double)sysconf(_SC_CLK_TCK);
}

bool game_run::screenshot(const std::string &png)
{
    if (!xd)
        return false;
    return x_window_png(dpy(xd), DefaultRootWindow(dpy(xd)), png);
}

void game_run::stop()
{
    if (game && !exited) {
        kill(game, SIGKILL);
        wait_exit(5);
    }
    if (xd) {
        XCloseDisplay(dpy(xd));
        xd = nullptr;
    }
    if (xserver) {
        kill(xserver, SIGTERM);
        waitpid(xserver, nullptr, 0);
        xserver = 0;
    }
    if (!dir.empty()) {
        std::string scratch = dir.substr(0, dir.rfind('/'));
        run_shell("rm -rf '" + scratch + "'");
        dir.clear();
    }
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
    for (char c : text) {
        std::string key;
        if (c >= 'A' && c <= 'Z')
            key = std::string("shift+") + (char)(c - 'A' + 'a');
        else if ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'))
            key = std::string(1, c);
        else if (c == ' ')
            key = "space";
        else
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
    XImage *img = XGetImage(dpy(xd), (Window)win, x, y, (unsigned)w, (unsigned)h, AllPlanes,
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
