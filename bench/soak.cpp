// Soak: the real game played under Xvfb for a long while by a bot that keeps
// the paddle under the lowest ball, through level changes, power-ups and
// explosions, printing the game's resident memory once a minute.
//   build/bench/soak [minutes, default 30]
// Memory should stay flat: the growth after the first minute is printed last.

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>

#include "e2e.h"

namespace {

using clock_type = std::chrono::steady_clock;

// The main menu's Play icon on an 800 x 600 window, and the options panel's
// Play button, in GUI units.
const int MENU_PLAY_X = 227, MENU_PLAY_Y = 361;
const double PLAY_X = 4.275, BUTTONS_Y = 0.125;

// The field's rows from just above the paddle up to the ceiling, and what
// counts as the ball's white.
const int FIELD_TOP = 20, FIELD_BOTTOM = 505, FIELD_LEFT = 40, FIELD_RIGHT = 760;
const int BALL_WHITE = 200;

void pause_s(double s)
{
    std::this_thread::sleep_for(std::chrono::duration<double>(s));
}

// Resident memory of a process in kilobytes, 0 when it has gone.
long rss_kb(pid_t pid)
{
    std::ifstream f("/proc/" + std::to_string(pid) + "/status");
    std::string key;
    while (f >> key) {
        if (key == "VmRSS:") {
            long kb = 0;
            f >> kb;
            return kb;
        }
        f.ignore(1 << 12, '\n');
    }
    return 0;
}

// What the field shows.
enum { TITLE_SHOWN = -2, NO_BALL = -1 };
const int TITLE_WHITE_PIXELS = 1500;   // a ball, its glow and the HUD stay far below

// The pixel column of the lowest ball in the field; NO_BALL when none shows,
// TITLE_SHOWN when the field is covered by the title's (or a dialog's) white.
int lowest_ball(Display *d, Window w)
{
    XImage *img = XGetImage(d, w, FIELD_LEFT, FIELD_TOP, FIELD_RIGHT - FIELD_LEFT,
                            FIELD_BOTTOM - FIELD_TOP, AllPlanes, ZPixmap);
    if (!img)
        return NO_BALL;
    int found = NO_BALL, white = 0;
    for (int y = img->height - 1; y >= 0; y--) {
        int sum = 0, n = 0;
        for (int x = 0; x < img->width; x++) {
            unsigned long p = XGetPixel(img, x, y);
            int r = (int)(p >> 16 & 255), g = (int)(p >> 8 & 255), b = (int)(p & 255);
            if (r > BALL_WHITE && g > BALL_WHITE && b > BALL_WHITE) {
                sum += x;
                n++;
            }
        }
        white += n;
        if (found == NO_BALL && n >= 2 && n < 40)
            found = FIELD_LEFT + sum / n;
    }
    XDestroyImage(img);
    return white > TITLE_WHITE_PIXELS ? TITLE_SHOWN : found;
}

// The window's mouse x that puts the middle of a normal paddle under pixel
// column sx: field x from the 45-degree 4:3 view at depth 5 shifted by -3,
// and the paddle's own scale in a window.
int mouse_for_column(int sx)
{
    const double half_w = 5.0 * 0.41421356 * 800.0 / 600.0;
    double fx = 3.0 - half_w + sx * (2 * half_w / 800.0);
    double paddle = fx - 0.25;
    return (int)((paddle - 0.5) / (0.85 / 800.0 * 8.0) + 80.0);
}

}  // namespace

int main(int argc, char **argv)
{
    double minutes = argc > 1 ? atof(argv[1]) : 30.0;
    game_run run;
    if (!run.start(windowed_settings(2)) || !run.window()) {
        fprintf(stderr, "soak: the game did not start: %s\n", run.error().c_str());
        return 1;
    }
    Display *d = XOpenDisplay(run.display().c_str());
    if (!d) {
        fprintf(stderr, "soak: no display\n");
        return 1;
    }
    Window w = run.window();
    pause_s(8.0);  // the title fades in

    auto start = clock_type::now(), next_report = start, last_play = start, last_click = start;
    long first_minute = 0, peak = 0;
    int minute = 0, starts = 0, seen = 0, looks = 0;
    printf("minute  rss_kb  games_started  ball_seen_%%\n");
    while (clock_type::now() - start < std::chrono::duration<double>(minutes * 60.0)) {
        auto now = clock_type::now();
        if (now >= next_report) {
            long kb = rss_kb(run.pid());
            if (kb == 0) {
                printf("soak: the game has ended\n");
                return 1;
            }
            printf("%6d  %6ld  %13d  %11d\n", minute, kb, starts, looks ? 100 * seen / looks : 0);
            seen = looks = 0;
            fflush(stdout);
            if (minute == 1)
                first_minute = kb;
            if (minute >= 1 && kb > peak)
                peak = kb;
            minute++;
            next_report = start + std::chrono::minutes(minute);
        }
        int column = lowest_ball(d, w);
        looks++;
        if (column >= 0) {
            seen++;
            XWarpPointer(d, None, w, 0, 0, 0, 0, mouse_for_column(column), 450);
            XFlush(d);
        }
        if (column != TITLE_SHOWN)
            last_play = now;
        if (now - last_click > std::chrono::seconds(3) && column != TITLE_SHOWN) {
            // Launches a waiting ball and ends a lost game.
            run.x_command("xdotool mousedown 1 sleep 0.2 mouseup 1");
            last_click = now;
        }
        if (now - last_play > std::chrono::seconds(6)) {
            // The title (or the high-score name dialog) is up: a name, if one
            // is asked for, then Play and Play again start a new game.
            run.x_command("xdotool key --delay 200 Return");
            run.click_pixel(MENU_PLAY_X, MENU_PLAY_Y);
            pause_s(1.0);
            run.click_gui(PLAY_X, BUTTONS_Y);
            starts++;
            last_play = clock_type::now();
        }
        pause_s(0.05);
    }
    long last = rss_kb(run.pid());
    printf("%6d  %6ld  %13d\n", minute, last, starts);
    printf("growth after the first minute: %+ld kB (peak %ld kB)\n", last - first_minute, peak);
    XCloseDisplay(d);
    run.close_window();
    run.wait_exit(30);
    return 0;
}
