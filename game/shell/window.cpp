// The game window and its OpenGL context: creation with the full-screen mode
// switch and its fall-back to a window, teardown, swap interval, buffer swap,
// cursor, capture and focus. Platform file: SDL2.

#include <SDL.h>
#include <malloc.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>

#include <string>

#include "gamedir.h"
#include "graphics/graphics.h"
#include "shell.h"

static const char *const TITLE_ERROR = "ERROR";
static const char *const TITLE_SHUTDOWN = "SHUTDOWN ERROR";

HWND hWnd;
void *hRC;
static int video_up;        // the video subsystem is initialised (the "window class")
static int swap_control;    // the swap interval can be read and set

static SDL_Window *window() { return (SDL_Window *)hWnd; }

// Finds the display mode of exactly width x height at the requested depth.
static int find_display_mode(int width, int height, int bits, SDL_DisplayMode *out)
{
    int count = SDL_GetNumDisplayModes(0);
    for (int i = 0; i < count; i++) {
        SDL_DisplayMode m;
        if (SDL_GetDisplayMode(0, i, &m) != 0)
            continue;
        int depth = SDL_BITSPERPIXEL(m.format);
        bool depth_ok = bits == 16 ? depth == 16 : depth >= 24;
        if (m.w == width && m.h == height && depth_ok) {
            *out = m;
            return 1;
        }
    }
    return 0;
}

// True when the video driver shows windows to the player. SDL falls back to
// its invisible offscreen driver when no display can be reached; the game
// would then run unseen, so it stops instead (unless that driver was asked for).
static int on_a_display()
{
    const char *driver = SDL_GetCurrentVideoDriver();
    const char *asked = SDL_getenv("SDL_VIDEODRIVER");
    bool invisible = driver && (SDL_strcmp(driver, "offscreen") == 0 || SDL_strcmp(driver, "dummy") == 0);
    if (invisible && !(asked && SDL_strcasecmp(asked, driver) == 0)) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        SDL_SetError("no X11 or Wayland display could be reached");
        return 0;
    }
    return 1;
}

// Says on standard error which display could not be opened, and SDL's reason.
static void report_no_display()
{
    const char *x = SDL_getenv("DISPLAY");
    const char *wayland = SDL_getenv("WAYLAND_DISPLAY");
    std::string name = x && *x ? x : wayland && *wayland ? wayland : "";
    const char *why = SDL_GetError();
    fprintf(stderr, "Corvale: cannot open the display '%s' (%s)\n",
            name.empty() ? "(DISPLAY is not set)" : name.c_str(), *why ? why : "no reason given");
}

// A failure's text followed by SDL's reason for it, when SDL gave one.
static std::string with_reason(const char *text)
{
    const char *why = SDL_GetError();
    return *why ? std::string(text) + "\n(" + why + ")" : std::string(text);
}

// Shows a creation failure, with SDL's reason, after tearing down what exists.
static int creation_failed(const char *text)
{
    std::string told = with_reason(text);
    KillGLWindow();
    message_box(told.c_str(), TITLE_ERROR, MB_WARNING);
    return 0;
}

// Gives the window the game's icon, for task bars and window lists; the game
// runs without one when the file is missing.
static void set_window_icon()
{
    int w = 0, h = 0;
    if (!read_window_icon(&w, &h))
        return;
    SDL_Surface *icon = SDL_CreateRGBSurfaceWithFormatFrom(title, w, h, 32, w * 4, SDL_PIXELFORMAT_RGBA32);
    if (icon) {
        SDL_SetWindowIcon(window(), icon);
        SDL_FreeSurface(icon);
    }
}

int CreateGLWindow(const char *title, int width, int height, int bits, int fullscreenflag)
{
    fullscreen = fullscreenflag;
    if (!video_up) {
        // The window class the desktop entry's StartupWMClass names.
        SDL_SetHint("SDL_VIDEO_X11_WMCLASS", "corvale");
        SDL_SetHint("SDL_VIDEO_WAYLAND_WMCLASS", "corvale");
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0 || !on_a_display()) {
            report_no_display();
            std::string told = with_reason("Failed To Register The Window Class.");
            message_box(told.c_str(), TITLE_ERROR, MB_WARNING);
            return 0;
        }
        video_up = 1;
    }
    SDL_DisableScreenSaver();
    SDL_SetHint(SDL_HINT_MOUSE_AUTO_CAPTURE, "1");

    SDL_DisplayMode mode = {};
    if (fullscreen && !find_display_mode(width, height, bits, &mode)) {
        if (message_box_yesno("The Requested Fullscreen Mode Is Not Supported By\n"
                              "Your Video Card. Use Windowed Mode Instead?",
                              "Corvale by Halvard Software")) {
            fullscreen = 0;
            width = screenx;
            height = screeny;
        } else {
            message_box("Program Will Now Close.", TITLE_ERROR, MB_ERROR);
            return 0;
        }
    }

    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 2);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 1);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);

    Uint32 flags = SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN;
    flags |= fullscreen ? SDL_WINDOW_FULLSCREEN : SDL_WINDOW_RESIZABLE;
    SDL_ShowCursor(SDL_DISABLE);
    hWnd = SDL_CreateWindow(title, 0, 0, width, height, flags);
    if (!hWnd) {
        const char *why = SDL_GetError();
        bool no_format = SDL_strcasestr(why, "visual") || SDL_strcasestr(why, "pixel format") ||
                         SDL_strcasestr(why, "config");
        return creation_failed(no_format ? "Can't Find A Suitable PixelFormat."
                                         : "Window Creation Error.");
    }
    if (fullscreen && SDL_SetWindowDisplayMode(window(), &mode) != 0)
        return creation_failed("Window Creation Error.");

    hRC = SDL_GL_CreateContext(window());
    if (!hRC)
        return creation_failed("Can't Create A GL Rendering Context.");
    if (SDL_GL_MakeCurrent(window(), (SDL_GLContext)hRC) != 0)
        return creation_failed("Can't Activate The GL Rendering Context.");

    set_window_icon();
    SDL_ShowWindow(window());
    SDL_RaiseWindow(window());   // to the foreground, with the keyboard focus
    capture_mouse();

    ReSizeGLScene(width, height);
    return 1;
}

// Blocks of 128 KB and more are mapped on their own and go back to the system
// as soon as they are freed. Left to itself the allocator raises that bound
// to the largest mapped block freed so far (an image decoded at start-up, a
// scratch framebuffer), and blocks below it stay in the heap once freed.
void map_large_blocks()
{
    mallopt(M_MMAP_THRESHOLD, 128 * 1024);
}

// The allocator keeps freed memory for later requests; what start-up and the
// rasteriser's first compiles of a scene freed would be held for the whole game.
void give_back_memory()
{
    malloc_trim(0);
}

void KillGLWindow()
{
    if (window() && fullscreen)
        SDL_SetWindowFullscreen(window(), 0);  // back to the desktop's mode
    SDL_ShowCursor(SDL_ENABLE);
    if (hRC) {
        if (SDL_GL_MakeCurrent(window(), nullptr) != 0)
            message_box(with_reason("Release Of DC And RC Failed.").c_str(), TITLE_SHUTDOWN, MB_INFO);
        SDL_GL_DeleteContext((SDL_GLContext)hRC);
        hRC = nullptr;
    }
    if (window()) {
        SDL_DestroyWindow(window());
        hWnd = nullptr;
    }
    if (video_up) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        video_up = 0;
    }
    swap_control = 0;
}

void InitVSync()
{
    // SDL offers the swap interval on every driver it supports; a driver that
    // cannot honour it reports a failure from the calls below.
    swap_control = hRC != nullptr;
}

int VSyncEnabled()
{
    return swap_control && SDL_GL_GetSwapInterval() > 0;
}

void SetVSyncState(int enable)
{
    if (swap_control)
        SDL_GL_SetSwapInterval(enable ? 1 : 0);
}

void present_frame()
{
    if (window())
        SDL_GL_SwapWindow(window());
}

void show_cursor(int show)
{
    SDL_ShowCursor(show ? SDL_ENABLE : SDL_DISABLE);
}

void capture_mouse()
{
    // As on the desktop the game was written for, capture only matters while a
    // button is held: then the pointer keeps reporting outside the window. A
    // grab without a button would take the mouse from every other program.
    if (!window())
        return;
    bool held = SDL_GetMouseState(nullptr, nullptr) != 0;
    SDL_CaptureMouse(held ? SDL_TRUE : SDL_FALSE);
}

int mouse_buttons_held()
{
    return SDL_GetMouseState(nullptr, nullptr) != 0;
}

void focus_window()
{
    // Takes the keyboard focus only while the window is the active one, so a
    // player who switched to another program is not pulled back every frame.
    if (window() && (SDL_GetWindowFlags(window()) & SDL_WINDOW_INPUT_FOCUS))
        SDL_SetWindowInputFocus(window());
}

// The opener started by open_web_page while it runs; 0 when none.
static pid_t opener;

// Opens the manual that ships in the game folder with the desktop's opener,
// as a file address with every unsafe character of the folder's path escaped.
int open_web_page()
{
    std::string folder = game_data_dir();
    if (folder.empty())
        return 0;
    static const char safe[] = "/-._~";
    std::string url = "file://";
    for (unsigned char c : folder) {
        if (SDL_isalnum(c) || SDL_strchr(safe, c)) {
            url += (char)c;
        } else {
            char code[4];
            SDL_snprintf(code, sizeof code, "%%%02X", c);
            url += code;
        }
    }
    url += "/manual/index.html";
    web_page_failed();  // forget an earlier opener that has ended
    char *argv[] = {(char *)"xdg-open", (char *)url.c_str(), nullptr};
    pid_t pid;
    if (posix_spawnp(&pid, "xdg-open", nullptr, nullptr, argv, environ) != 0)
        return 0;
    opener = pid;
    return 1;
}

int web_page_failed()
{
    if (opener <= 0)
        return 0;
    int status = 0;
    pid_t done = waitpid(opener, &status, WNOHANG);
    if (done == 0)
        return 0;
    opener = 0;
    return done == -1 ? 0 : !(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}
