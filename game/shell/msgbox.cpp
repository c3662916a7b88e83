// Message boxes: SDL's boxes, with the text also written to standard error so
// that a message is never lost when no display can show it. A box runs on a
// thread of its own (SDL's boxes keep their own display connection), so that
// the game stops waiting for it when it is asked to end by a signal.
// Platform file.

#include <SDL.h>

#include <atomic>
#include <cstdio>
#include <dirent.h>
#include <signal.h>
#include <string>
#include <thread>

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
        call->shown = SDL_ShowMessageBox(&call->data, &call->answer) == 0;
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
    return show_and_wait(call, 1) == 1;
}
