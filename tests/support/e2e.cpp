// The end-to-end harness: Xvfb, a scratch game folder, the game process, and
// X commands against it.

#include "e2e.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cerrno>
#include <fcntl.h>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

static const char *const GAME_TITLE = "Corvale by Halvard Software";

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

static void sleep_s(double s)
{
    std::this_thread::sleep_for(std::chrono::duration<double>(s));
}

static bool run_shell(const std::string &cmd)
{
    return system(cmd.c_str()) == 0;
}

game_run::~game_run()
{
    stop();
}

// Starts Xvfb on the first free display number from a per-process base, and
// waits until it takes connections.
bool game_run::start_xserver()
{
    for (int n = 100 + (int)(getpid() % 400), tries = 0; tries < 50; n++, tries++) {
        std::string lock = "/tmp/.X" + std::to_string(n) + "-lock";
        if (access(lock.c_str(), F_OK) == 0)
            continue;
        std::string name = ":" + std::to_string(n);
        xserver = fork();
        if (xserver == 0) {
            if (!getenv("CORVALE_E2E_XLOG")) {
                int devnull = open("/dev/null", O_WRONLY);
                dup2(devnull, 2);
            }
            execlp("Xvfb", "Xvfb", name.c_str(), "-screen", "0", "1280x1024x24",
                   "-nolisten", "tcp", "-noreset", (char *)nullptr);
            _exit(127);
        }
        for (int wait = 0; wait < 200; wait++) {
            if (Display *d = XOpenDisplay(name.c_str())) {
                XCloseDisplay(d);
                disp = name;
                return true;
            }
            if (waitpid(xserver, nullptr, WNOHANG) == xserver)
                break;  // that number was taken after all: try the next
            sleep_s(0.05);
        }
        kill(xserver, SIGKILL);
        waitpid(xserver, nullptr, 0);
        xserver = 0;
    }
    return false;
}

bool game_run::start(const bset &settings)
{
    return start_program(settings, "");
}

bool game_run::start_program(const bset &settings, const std::string &installed)
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

unsigned long game_run::window(double timeout_s)
{
    if (win)
        return win;
    auto until = std::chrono::steady_clock::now() + std::chrono::duration<double>(timeout_s);
    while (std::chrono::steady_clock::now() < until) {
        std::string cmd = "DISPLAY=" + disp + " xdotool search --name '" + GAME_TITLE + "' 2>/dev/null";
        FILE *p = popen(cmd.c_str(), "r");
        unsigned long id = 0;
        if (p) {
            if (fscanf(p, "%lu", &id) != 1)
                id = 0;
            pclose(p);
        }
        if (id) {
            win = id;
            return win;
        }
        if (wait_exit(0) != -1)
            return 0;
        sleep_s(0.05);
    }
    return 0;
}

bool game_run::window_size(int *w, int *h)
{
    Display *d = XOpenDisplay(disp.c_str());
    if (!d || !window())
        return false;
    XWindowAttributes a;
    bool ok = XGetWindowAttributes(d, (Window)win, &a) != 0;
    if (ok) {
        *w = a.width;
        *h = a.height;
    }
    XCloseDisplay(d);
    return ok;
}

bool game_run::close_window()
{
    Display *d = XOpenDisplay(disp.c_str());
    if (!d || !window())
        return false;
    XEvent e = {};
    e.xclient.type = ClientMessage;
    e.xclient.window = (Window)win;
    e.xclient.message_type = XInternAtom(d, "WM_PROTOCOLS", False);
    e.xclient.format = 32;
    e.xclient.data.l[0] = (long)XInternAtom(d, "WM_DELETE_WINDOW", False);
    e.xclient.data.l[1] = CurrentTime;
    bool ok = XSendEvent(d, (Window)win, False, NoEventMask, &e) != 0;
    XFlush(d);
    XCloseDisplay(d);
    return ok;
}

int game_run::wait_exit(double timeout_s)
{
    if (exited)
        return exit_status;
    if (!game)
        return -1;
    auto until = std::chrono::steady_clock::now() + std::chrono::duration<double>(timeout_s);
    for (;;) {
        int status = 0;
        pid_t r = waitpid(game, &status, WNOHANG);
        if (r == game) {
            exited = true;
            exit_status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            return exit_status;
        }
        if (std::chrono::steady_clock::now() >= until)
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
    return x_command("import -window root '" + png + "'") == 0;
}

void game_run::stop()
{
    if (game && !exited) {
        kill(game, SIGKILL);
        wait_exit(5);
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

bool game_run::move_to(int x, int y)
{
    if (!window())
        return false;
    return x_command("xdotool mousemove --window " + std::to_string(win) + " " +
                     std::to_string(x) + " " + std::to_string(y)) == 0;
}

bool game_run::click_at(int x, int y)
{
    if (!move_to(x, y))
        return false;
    // Software rendering on a loaded machine can take a tenth of a second a
    // frame: give the game several frames to see the pointer, and hold the
    // button across frames so press and release are not taken in one pass.
    sleep_s(0.5);
    return x_command("xdotool mousedown 1 sleep 0.3 mouseup 1") == 0;
}

double game_run::brightness(int x, int y, int w, int h)
{
    std::string geometry = std::to_string(w) + "x" + std::to_string(h) + "+" +
                           std::to_string(x) + "+" + std::to_string(y);
    std::string out = x_output("import -window " + std::to_string(window()) +
                               " -crop " + geometry + " -format '%[fx:mean]' info:");
    return out.empty() ? -1.0 : atof(out.c_str());
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

bool game_run::press_key(const std::string &key)
{
    return x_command("xdotool keydown " + key + " sleep 0.6 keyup " + key) == 0;
}
