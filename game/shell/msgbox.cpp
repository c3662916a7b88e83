// Message boxes: SDL's boxes, with the text also written to standard error so
// that a message is never lost when no display can show it. A box runs on a
// thread of its own (SDL's boxes keep their own display connection), so that
// the game stops waiting for it when it is asked to end by a signal. Where
// SDL cannot draw a box (its X11 box needs the X server's core fonts), the
// setup program beside the game shows the same box with GTK.
// Platform file.

#include <SDL.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <dirent.h>
#include <pthread.h>
#include <signal.h>
#include <string>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "gamedir.h"
#include "message_mode.h"
#include "shell.h"

static SDL_Window *owner_window()
{
    return SDL_GL_GetCurrentWindow();
}

static Uint32 box_flags(msg_kind kind)
{
    switch (kind) {
    case MB_ERROR: return SDL_MESSAGEBOX_ERROR;
    case MB_WARNING: return SDL_MESSAGEBOX_WARNING;
    default: return SDL_MESSAGEBOX_INFORMATION;
    }
}

// One box being shown: what it shows, and the answer once it is closed.
struct box_call {
    std::string title, text;
    const char *kind = MESSAGE_INFO;   // the message mode's word for the box
    SDL_MessageBoxButtonData buttons[2];
    SDL_MessageBoxData data = {};
    int answer = -1;
    int shown = 0;
    std::atomic<bool> closed{false};
};

// SDL draws a box in a child process of the thread that shows it (or in a
// helper program); ends every child of this process, so that no box is left
// on the screen when the game ends.
static void close_box_processes()
{
    DIR *tasks = opendir("/proc/self/task");
    if (!tasks)
        return;
    while (dirent *t = readdir(tasks)) {
        if (t->d_name[0] == '.')
            continue;
        std::string list = std::string("/proc/self/task/") + t->d_name + "/children";
        FILE *f = fopen(list.c_str(), "r");
        if (!f)
            continue;
        int pid;
        while (fscanf(f, "%d", &pid) == 1)
            if (pid > 0)
                kill(pid, SIGKILL);
        fclose(f);
    }
    closedir(tasks);
}

// True on a thread that is showing a box: processes it forks draw the box.
static thread_local bool showing_box;

// A process forked to draw a box ends with the game: it takes the end signals
// as a plain program does (the game's handlers only raise a flag), and is
// killed when the thread that waits for it goes, with the game.
static void box_process_setup(pid_t game)
{
    signal(SIGTERM, SIG_DFL);
    signal(SIGINT, SIG_DFL);
    signal(SIGHUP, SIG_DFL);
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (game && getppid() != game)
        _exit(1);  // the game ended before the box's process was set up
}

// Run in every forked child; only the box threads' children are changed.
static void after_fork_in_child()
{
    if (showing_box)
        box_process_setup(0);
}

// The box through the setup program's message mode; the index of the button
// chosen (0 or 1), MESSAGE_CLOSED when closed without an answer, or -1 when
// it could not be shown.
static int show_with_setup_program(const box_call *call)
{
    std::string program = program_dir() + "/" + MESSAGE_PROGRAM;
    if (program_dir().empty() || access(program.c_str(), X_OK) != 0)
        return -1;
    pid_t game = getpid();
    pid_t pid = fork();
    if (pid == 0) {
        box_process_setup(game);
        execl(program.c_str(), MESSAGE_PROGRAM, MESSAGE_OPTION, call->kind, call->title.c_str(),
              call->text.c_str(), (char *)nullptr);
        _exit(127);
    }
    if (pid < 0)
        return -1;
    int status = 0;
    while (waitpid(pid, &status, 0) < 0)
        if (errno != EINTR)
            return -1;
    if (!WIFEXITED(status))
        return -1;
    int code = WEXITSTATUS(status);
    if (code == MESSAGE_FIRST || code == MESSAGE_SECOND)
        return code;
    return code == MESSAGE_CLOSED ? MESSAGE_CLOSED : -1;
}

// Shows the box on this thread: SDL's box, or the setup program's when SDL
// cannot draw one. Sets the call's answer and whether it was shown.
static void show_box(box_call *call)
{
    static pthread_once_t hooked = PTHREAD_ONCE_INIT;
    pthread_once(&hooked, [] { pthread_atfork(nullptr, nullptr, after_fork_in_child); });
    showing_box = true;
    if (SDL_ShowMessageBox(&call->data, &call->answer) == 0) {
        call->shown = 1;
        return;
    }
    std::string why = SDL_GetError();
    int chosen = show_with_setup_program(call);
    if (chosen < 0) {
        fprintf(stderr, "(no message box could be shown: %s)\n", why.c_str());
        return;
    }
    call->shown = 1;
    call->answer = chosen == MESSAGE_CLOSED ? -1 : call->buttons[chosen].buttonid;
}

// Shows the box and waits until it is closed or the game is asked to end,
// which closes the box (and no box opens once it has been asked). The button
// chosen, or fallback when no box could be shown or the wait ended on the
// signal. A box that cannot be closed stays
// with its thread until the program ends, and its call is never freed.
static int show_and_wait(box_call *call, int fallback)
{
    if (end_requested) {
        delete call;
        return fallback;
    }
    call->data.title = call->title.c_str();
    call->data.message = call->text.c_str();
    call->data.buttons = call->buttons;
    call->data.window = owner_window();
    std::thread box([call] {
        show_box(call);
        call->closed = true;
    });
    while (!call->closed && !end_requested)
        SDL_Delay(20);
    bool ended = !call->closed;
    // The box's process may not exist yet when the signal comes: look again
    // until the box has closed.
    for (int waited = 0; ended && waited < 100 && !call->closed; waited++) {
        close_box_processes();
        SDL_Delay(20);
    }
    if (!call->closed) {
        box.detach();
        return fallback;
    }
    box.join();
    int answer = !ended && call->shown && call->answer >= 0 ? call->answer : fallback;
    delete call;
    return answer;
}

void message_box(const char *text, const char *title, msg_kind kind)
{
    fprintf(stderr, "%s: %s\n", title, text);
    box_call *call = new box_call;
    call->title = title;
    call->text = text;
    call->buttons[0] = {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT | SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT,
                        1, "OK"};
    call->data.flags = box_flags(kind);
    call->data.numbuttons = 1;
    call->kind = kind == MB_ERROR ? MESSAGE_ERROR : kind == MB_WARNING ? MESSAGE_WARNING : MESSAGE_INFO;
    show_and_wait(call, 1);
}

// Asks a Yes/No question; when no box can be shown, or the game is asked to
// end meanwhile, the answer is Yes, the choice that keeps the game running
// (its main loop then ends it).
int message_box_yesno(const char *text, const char *title)
{
    fprintf(stderr, "%s: %s\n", title, text);
    box_call *call = new box_call;
    call->title = title;
    call->text = text;
    call->buttons[0] = {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, 1, "Yes"};
    call->buttons[1] = {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, 0, "No"};
    call->data.flags = SDL_MESSAGEBOX_WARNING;
    call->data.numbuttons = 2;
    call->kind = MESSAGE_YESNO;
    return show_and_wait(call, 1) == 1;
}
