// The setup program's end-to-end harness: Xvfb, a scratch game folder and
// settings folder, the program itself, and X commands against it.

#include "setup_run.h"

#include <X11/Xlib.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "xshot.h"

static void sleep_s(double s)
{
    std::this_thread::sleep_for(std::chrono::duration<double>(s));
}

static double seconds_since(std::chrono::steady_clock::time_point t)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t).count();
}

bset setup_default_record()
{
    bset s = {};
    s.resolution = 2;
    s.seffects = 0.85f;
    s.music = 1.0f;
    strcpy(s.playlist, DEFAULT_PLAYLIST);
    return s;
}

bool x_server::start()
{
    // Display numbers from a per-process base, away from the game's harness.
    for (int n = 600 + (int)(getpid() % 300), tries = 0; tries < 50; n++, tries++) {
        std::string lock = "/tmp/.X" + std::to_string(n) + "-lock";
        if (access(lock.c_str(), F_OK) == 0)
            continue;
        std::string name = ":" + std::to_string(n);
        pid = fork();
        if (pid == 0) {
            int devnull = open("/dev/null", O_WRONLY);
            dup2(devnull, 1);
            dup2(devnull, 2);
            execlp("Xvfb", "Xvfb", name.c_str(), "-screen", "0", "1280x1024x24", "-nolisten",
                   "tcp", "-noreset", (char *)nullptr);
            _exit(127);
        }
        auto began = std::chrono::steady_clock::now();
        while (seconds_since(began) < 30) {
            if (Display *d = XOpenDisplay(name.c_str())) {
                XCloseDisplay(d);
                disp = name;
                return true;
            }
            if (waitpid(pid, nullptr, WNOHANG) == pid)
                break;  // that number was taken after all: try the next
            sleep_s(0.05);
        }
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
        pid = 0;
    }
    return false;
}

void x_server::stop()
{
    if (pid) {
        kill(pid, SIGTERM);
        waitpid(pid, nullptr, 0);
        pid = 0;
    }
}

setup_run::~setup_run()
{
    stop();
}

bool setup_run::start(const bset *settings, const std::string &alsoft_conf)
{
    char tmpl[] = "/tmp/corvale-setup-e2e-XXXXXX";
    if (!mkdtemp(tmpl)) {
        why = "no scratch folder";
        return false;
    }
    scratch = tmpl;
    dir = scratch + "/game";
    config = scratch + "/config";
    std::string copy = "cp -a '" CORVALE_GAME_DIR "' '" + dir + "' && mkdir -p '" + config + "'";
    if (system(copy.c_str()) != 0) {
        why = "cannot copy the game folder";
        return false;
    }
    if (settings)
        std::ofstream(config + "/corvale.set", std::ios::binary)
            .write((const char *)settings, sizeof *settings);
    if (!xserver.start()) {
        why = "Xvfb did not start";
        return false;
    }
    program = fork();
    if (program == 0) {
        setenv("DISPLAY", xserver.display().c_str(), 1);
        setenv("XDG_CONFIG_HOME", config.c_str(), 1);
        setenv("NO_AT_BRIDGE", "1", 1);           // no accessibility bus to wait for
        setenv("GSETTINGS_BACKEND", "memory", 1); // no desktop settings store
        setenv("GTK_THEME", "Adwaita", 1);
        if (alsoft_conf.empty()) {
            setenv("ALSOFT_DRIVERS", "null", 1);
        } else {
            setenv("ALSOFT_CONF", alsoft_conf.c_str(), 1);
            unsetenv("ALSOFT_DRIVERS");
        }
        std::string exe = dir + "/corvale_setup";
        // Started from elsewhere on purpose: the program must find its own folder.
        if (chdir("/") != 0)
            _exit(126);
        execl(exe.c_str(), exe.c_str(), (char *)nullptr);
        _exit(127);
    }
    return program > 0;
}

int setup_run::x_command(const std::string &cmd)
{
    std::string full = "DISPLAY=" + xserver.display() + " " + cmd + " >/dev/null 2>&1";
    int rc = system(full.c_str());
    return WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
}

std::string setup_run::x_output(const std::string &cmd)
{
    std::string full = "DISPLAY=" + xserver.display() + " " + cmd + " 2>/dev/null";
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

unsigned long setup_run::find_window(const std::string &name, double timeout_s)
{
    auto began = std::chrono::steady_clock::now();
    while (seconds_since(began) < timeout_s) {
        std::istringstream ids(x_output("xdotool search --onlyvisible --name '^" + name + "$'"));
        unsigned long id = 0;
        if (ids >> id)
            return id;
        sleep_s(0.1);
    }
    return 0;
}

unsigned long setup_run::window(double timeout_s)
{
    if (!win) {
        auto began = std::chrono::steady_clock::now();
        while (!win && seconds_since(began) < timeout_s && wait_exit(0) == -1)
            win = find_window("Corvale Setup", 0.5);
    }
    return win;
}

bool setup_run::wait_still(unsigned long id, double timeout_s)
{
    std::string last;
    auto began = std::chrono::steady_clock::now();
    while (seconds_since(began) < timeout_s) {
        std::string now = pixels(id);
        if (now == last && !now.empty())
            return true;
        last = now;
        sleep_s(0.3);
    }
    return false;
}

bool setup_run::wait_gone(unsigned long id, double timeout_s)
{
    std::string query = "xdotool search --onlyvisible --name . | grep -qx " + std::to_string(id);
    auto began = std::chrono::steady_clock::now();
    while (seconds_since(began) < timeout_s) {
        if (x_command(query) != 0)
            return true;
        sleep_s(0.1);
    }
    return false;
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
    Display *d = XOpenDisplay(xserver.display().c_str());
    if (!d)
        return false;
    XEvent e = {};
    e.xclient.type = ClientMessage;
    e.xclient.window = (Window)id;
    e.xclient.message_type = XInternAtom(d, "WM_PROTOCOLS", False);
    e.xclient.format = 32;
    e.xclient.data.l[0] = (long)XInternAtom(d, "WM_DELETE_WINDOW", False);
    e.xclient.data.l[1] = CurrentTime;
    bool ok = XSendEvent(d, (Window)id, False, NoEventMask, &e) != 0;
    XFlush(d);
    XCloseDisplay(d);
    return ok;
}

bool setup_run::window_size(unsigned long id, int *w, int *h)
{
    Display *d = XOpenDisplay(xserver.display().c_str());
    if (!d)
        return false;
    XWindowAttributes a;
    bool ok = XGetWindowAttributes(d, (Window)id, &a) != 0;
    if (ok) {
        *w = a.width;
        *h = a.height;
    }
    XCloseDisplay(d);
    return ok;
}

pid_t setup_run::window_pid(unsigned long id)
{
    return (pid_t)atol(x_output("xdotool getwindowpid " + std::to_string(id)).c_str());
}

std::string setup_run::pixels(unsigned long id)
{
    Display *d = XOpenDisplay(xserver.display().c_str());
    if (!d)
        return "";
    int w, h;
    std::string rgb = x_window_rgb(d, id, &w, &h);
    XCloseDisplay(d);
    return rgb;
}

bool setup_run::click(unsigned long id, int x, int y)
{
    std::string at = "xdotool mousemove --window " + std::to_string(id) + " " +
                     std::to_string(x) + " " + std::to_string(y);
    return x_command(at) == 0 && x_command("xdotool mousedown 1 sleep 0.2 mouseup 1") == 0;
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
    Display *d = XOpenDisplay(xserver.display().c_str());
    if (!d)
        return false;
    bool ok = x_window_png(d, id, png);
    XCloseDisplay(d);
    return ok;
}

int setup_run::wait_exit(double timeout_s)
{
    if (exited)
        return exit_status;
    if (!program)
        return -1;
    auto began = std::chrono::steady_clock::now();
    for (;;) {
        int status = 0;
        if (waitpid(program, &status, WNOHANG) == program) {
            exited = true;
            exit_status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            return exit_status;
        }
        if (seconds_since(began) >= timeout_s)
            return -1;
        sleep_s(0.05);
    }
}

bool setup_run::settings_file(std::string *bytes) const
{
    std::ifstream f(config + "/corvale.set", std::ios::binary);
    if (!f)
        return false;
    std::ostringstream all;
    all << f.rdbuf();
    *bytes = all.str();
    return true;
}

void setup_run::stop()
{
    if (program && !exited) {
        kill(program, SIGKILL);
        wait_exit(10);
    }
    xserver.stop();
    if (!scratch.empty()) {
        std::string rm = "rm -rf '" + scratch + "'";
        if (system(rm.c_str()) != 0)
            perror(rm.c_str());
        scratch.clear();
    }
}
