// The end-to-end harnesses' common ground: Xvfb started on a display of its
// own choosing, X commands against it, child programs and scratch folders.

#include "xserver.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include "command.h"

static int ignore_x_error(Display *, XErrorEvent *)
{
    return 0;
}

// Xvfb names the display it took on a pipe (-displayfd); the server is up
// once it has said so.
bool x_server::start(double timeout_s, bool builtin_fonts_only)
{
    int fds[2];
    if (pipe(fds) != 0)
        return false;
    pid = fork();
    if (pid == 0) {
        close(fds[0]);
        if (!getenv("CORVALE_E2E_XLOG")) {
            int devnull = open("/dev/null", O_WRONLY);
            dup2(devnull, 1);
            dup2(devnull, 2);
        }
        std::string fd = std::to_string(fds[1]);
        const char *font_path = builtin_fonts_only ? "built-ins" : nullptr;
        execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1280x1024x24",
               "-nolisten", "tcp", "-noreset", font_path ? "-fp" : (char *)nullptr, font_path,
               (char *)nullptr);
        _exit(127);
    }
    close(fds[1]);
    if (pid < 0) {
        close(fds[0]);
        pid = 0;
        return false;
    }
    std::string number;
    auto until = deadline_after(timeout_s);
    while (number.find('\n') == std::string::npos && deadline_clock::now() < until) {
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
    conn = XOpenDisplay(disp.c_str());
    if (!conn)
        return false;
    XSetErrorHandler(ignore_x_error);
    // A key held across slow frames must not turn into several presses.
    XAutoRepeatOff(conn);
    XSync(conn, False);
    return true;
}

void x_server::stop()
{
    if (conn) {
        XCloseDisplay(conn);
        conn = nullptr;
    }
    if (pid) {
        kill(pid, SIGTERM);
        waitpid(pid, nullptr, 0);
        pid = 0;
    }
}

int x_server::command(const std::string &cmd)
{
    return run_command("DISPLAY=" + disp + " " + cmd);
}

std::string x_server::output(const std::string &cmd)
{
    std::string out;
    run_command("(DISPLAY=" + disp + " " + cmd + " 2>/dev/null)", &out);
    return out;
}

// True when the window's class or instance name is wm_class (or none is asked).
static bool of_class(Display *d, Window w, const std::string &wm_class)
{
    if (wm_class.empty())
        return true;
    XClassHint hint = {};
    if (!XGetClassHint(d, w, &hint))
        return false;
    bool match = (hint.res_name && wm_class == hint.res_name) ||
                 (hint.res_class && wm_class == hint.res_class);
    XFree(hint.res_name);
    XFree(hint.res_class);
    return match;
}

// A window's title: its UTF-8 _NET_WM_NAME, or the bytes of WM_NAME (SDL's
// message boxes give WM_NAME an encoding of their own, "UTF-8", which Xlib's
// text conversions do not know).
static bool window_title(Display *d, Window w, std::string *title)
{
    Atom type;
    int format;
    unsigned long n, after;
    unsigned char *data = nullptr;
    Atom net_name = XInternAtom(d, "_NET_WM_NAME", False);
    if (XGetWindowProperty(d, w, net_name, 0, 1024, False, AnyPropertyType, &type, &format, &n,
                           &after, &data) == Success && data && format == 8) {
        title->assign((const char *)data, n);
        XFree(data);
        return true;
    }
    if (data)
        XFree(data);
    XTextProperty prop = {};
    if (!XGetWMName(d, w, &prop) || !prop.value)
        return false;
    bool ok = prop.format == 8;
    if (ok)
        title->assign((const char *)prop.value, prop.nitems);
    XFree(prop.value);
    return ok;
}

// The first shown window at or below w whose title is the given one. A
// program may create its window hidden, with its title, and show it once it
// is complete (the game: GL context and icon); only then does it count.
static Window named_below(Display *d, Window w, const std::string &title, const std::string &wm_class)
{
    std::string name;
    if (window_title(d, w, &name)) {
        bool match = title == name;
        XWindowAttributes a;
        if (match && XGetWindowAttributes(d, w, &a) && a.map_state == IsViewable &&
            of_class(d, w, wm_class))
            return w;
    }
    Window root, parent, *children = nullptr;
    unsigned n = 0;
    Window found = 0;
    if (XQueryTree(d, w, &root, &parent, &children, &n)) {
        for (unsigned k = 0; k < n && !found; k++)
            found = named_below(d, children[k], title, wm_class);
        if (children)
            XFree(children);
    }
    return found;
}

unsigned long x_server::find_named(const std::string &name, const std::string &wm_class)
{
    return conn ? named_below(conn, DefaultRootWindow(conn), name, wm_class) : 0;
}

bool x_server::key_to_window(unsigned long id, const std::string &key)
{
    std::string w = std::to_string(id);
    return command("xdotool windowfocus --sync " + w) == 0 &&
           command("xdotool key --clearmodifiers " + key) == 0;
}

bool x_server::close_window(unsigned long id)
{
    if (!conn)
        return false;
    XEvent e = {};
    e.xclient.type = ClientMessage;
    e.xclient.window = (Window)id;
    e.xclient.message_type = XInternAtom(conn, "WM_PROTOCOLS", False);
    e.xclient.format = 32;
    e.xclient.data.l[0] = (long)XInternAtom(conn, "WM_DELETE_WINDOW", False);
    e.xclient.data.l[1] = CurrentTime;
    bool ok = XSendEvent(conn, (Window)id, False, NoEventMask, &e) != 0;
    XFlush(conn);
    return ok;
}

bool x_server::window_size(unsigned long id, int *w, int *h)
{
    XWindowAttributes a;
    if (!conn || !XGetWindowAttributes(conn, (Window)id, &a))
        return false;
    *w = a.width;
    *h = a.height;
    return true;
}

int child_process::wait_exit(double timeout_s)
{
    if (!ended && pid)
        poll_until([&] {
            int how = 0;
            if (waitpid(pid, &how, WNOHANG) != pid)
                return false;
            ended = true;
            status = WIFEXITED(how) ? WEXITSTATUS(how) : 128 + WTERMSIG(how);
            return true;
        }, timeout_s);
    return ended ? status : -1;
}

void child_process::kill_and_reap()
{
    if (pid && !ended) {
        kill(pid, SIGKILL);
        wait_exit(10);
    }
}

bool scratch_folder::make(bool copy_game)
{
    root.emplace();
    std::string cmd = (copy_game ? "cp -a '" CORVALE_GAME_DIR "' '" + game() + "' && " : "") +
                      std::string("mkdir -p '") + config() + "'";
    return system(cmd.c_str()) == 0;
}

unsigned long x_program::find_window(const std::string &title, double timeout_s,
                                     const std::string &wm_class)
{
    unsigned long id = 0;
    poll_until([&] { return (id = xs.find_named(title, wm_class)) != 0; }, timeout_s);
    return id;
}

void x_program::stop()
{
    proc.kill_and_reap();
    xs.stop();
    scratch.remove();
    dir.clear();
}

bool x_program::prepare_run(bool copy_game, const bset *settings, bool builtin_fonts_only)
{
    if (!scratch.make(copy_game)) {
        why = "cannot make the scratch folder";
        return false;
    }
    dir = scratch.game();
    config = scratch.config();
    if (settings)
        std::ofstream(config + "/corvale.set", std::ios::binary)
            .write((const char *)settings, sizeof *settings);
    if (!xs.start(E2E_DEADLINE_S, builtin_fonts_only)) {
        why = "Xvfb did not start";
        return false;
    }
    return true;
}

bool x_program::launch(const std::string &program, const std::function<void()> &env)
{
    pid_t child = fork();
    if (child == 0) {
        setenv("DISPLAY", xs.display().c_str(), 1);
        setenv("XDG_CONFIG_HOME", config.c_str(), 1);
        setenv("XDG_DATA_HOME", (scratch.path() + "/data").c_str(), 1);
        setenv("NO_AT_BRIDGE", "1", 1);  // no accessibility bus to wait for
        env();
        // Started from elsewhere on purpose: the program must find its own folder.
        if (chdir("/") != 0)
            _exit(126);
        execl(program.c_str(), program.c_str(), (char *)nullptr);
        _exit(127);
    }
    proc.started(child > 0 ? child : 0);
    if (child < 0)
        why = "cannot start " + program;
    return child > 0;
}
