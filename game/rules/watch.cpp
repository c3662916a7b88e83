// Watching a replay: its start checked and set up, its frames run through
// play's own frame, its state hashes checked; and the screen's side: speed,
// pause, and the way back. A replay writes nothing: no save, score or replay.

#include "watch.h"

#include <cstdio>
#include <cstring>

#include "menus/menus.h"
#include "paths.h"
#include "physics/ball.h"
#include "physics/physics.h"
#include "progress.h"
#include "replay.h"
#include "rules.h"
#include "savegame.h"
#include "scores.h"
#include "shell/shell.h"
#include "tick.h"

#ifndef CORVALE_VERSION
#define CORVALE_VERSION "unknown"
#endif

int watching;
char watch_label[128];
int demo;
int autopilot;
static int idle_frames;               // the title has stood idle this many frames
static int demo_frames;               // frames the demo has run

static replay_file watched;           // the replay being watched
static replay_cursor *cursor;         // its next frame
static int frames_over;               // its frames have all run
static int watch_paused;              // Space stopped it
static screen_id came_from;           // the screen to go back to
// The player's own choices, given back when the watching ends.
static int own_difficulty, own_classic;
static char own_set[sizeof set_name];
// The title at rest, given back at once when the player ends the demo.
static float rest_alpha, rest_x, rest_bar_alpha;

const char *watch_version()
{
    return CORVALE_VERSION;
}

static int refuse(std::string *why, const std::string &reason)
{
    *why = reason;
    return 0;
}

int watch_begin(const replay_file &f, std::string *why)
{
    const replay_header &h = f.header;
    if (strcmp(h.game_version, CORVALE_VERSION) != 0)
        return refuse(why, std::string("it was recorded by Corvale ") + h.game_version +
                               ", and this is Corvale " CORVALE_VERSION);
    if (!plain_set_name(h.set_name, sizeof h.set_name) || !level_set_readable(h.set_name, nullptr))
        return refuse(why, std::string("its level set ") + h.set_name + " cannot be read");
    int ok;
    if (file_hash(set_file_path(h.set_name), &ok) != h.set_hash || !ok)
        return refuse(why, std::string("its level set ") + h.set_name + " has changed since");
    if (h.continued && (!save_acceptable(f.start) || strcmp(f.start.set_name, h.set_name) != 0))
        return refuse(why, "the saved game it continued is damaged");
    if (!h.continued && h.start_level > level_set_levels(h.set_name))
        return refuse(why, "its level set has fewer levels");

    watched = f;
    delete cursor;
    cursor = new replay_cursor(watched);
    frames_over = 0;
    difficulty = h.difficulty;
    classic = h.classic;
    PLAYING_SAVED_GAME = 0;   // a replay never removes the saved game
    crt_srand(h.seed);
    snprintf(set_name, sizeof set_name, "%s", h.set_name);
    if (h.continued)
        begin_saved_game(watched.start);
    else
        begin_new_game(h.start_level);
    play_begin(h.seed);
    screen_set(SCREEN_PLAY, FADE_NONE, 1);
    return 1;
}

int watch_tick()
{
    if (frames_over)
        return WATCH_ENDED;
    std::vector<int> events;
    play_input in;
    int check;
    uint32_t expected;
    int more = cursor->next(&events, &in, &check, &expected);
    if (check && play_state_hash() != expected)
        return WATCH_MISMATCH;
    if (!more) {
        frames_over = 1;
        return WATCH_ENDED;
    }
    for (int e : events)
        apply_play_event(e);
    play_tick(in);
    return WATCH_PLAYING;
}

// ---- On screen ----

int watch_replay(const char *name, const char *label)
{
    std::string why;
    replay_file f;
    std::string path = player_file(REPLAYS_FOLDER) + "/" + name;
    own_difficulty = difficulty;
    own_classic = classic;
    memcpy(own_set, set_name, sizeof own_set);
    screen_id from = screen_up();
    if (!replay_load(path, &f, &why) || !watch_begin(f, &why)) {
        difficulty = own_difficulty;
        classic = own_classic;
        memcpy(set_name, own_set, sizeof set_name);
        show_notice(("This replay cannot be watched:\n" + why + ".").c_str());
        return 0;
    }
    came_from = from;
    snprintf(watch_label, sizeof watch_label, "%s", label);
    watching = 1;
    watch_paused = 0;
    menublock = 0;
    gui_select = 0;
    return 1;
}

// One frame of the autopilot's game: it launches after a second, lets a
// held ball go after half a second, and steers after the lowest ball.
static int autopilot_tick()
{
    if (in_flight == 0 && ball_start == 1 && !gameover && demo_frames % 62 == 61)
        apply_play_event(EVENT_LAUNCH);
    for (int n = 1; n <= 16; n++)
        if (balls[n] && glu[n] && demo_frames % 31 == 30) {
            apply_play_event(EVENT_RELEASE);
            break;
        }
    play_input in;
    in.paddle = autopilot_paddle(demo_frames);
    in.slow = 0;
    play_tick(in);
    return gameover ? WATCH_ENDED : WATCH_PLAYING;
}

// The paddle's middle under the lowest ball, off by a slowly swinging error
// of up to a third of the paddle, and never faster than the keys steer it.
float autopilot_paddle(int f)
{
    float low = 9.0f, x = paddlex + paddle_size * 0.5f;
    for (int n = 1; n <= 16; n++)
        if (balls[n] && ypos[n] < low)
            low = ypos[n], x = xpos[n];
    float phase = (float)(f % 400) / 400.0f;
    float error = paddle_size * (phase < 0.5f ? phase - 0.25f : 0.75f - phase) * 1.3f;
    float goal = x + error - paddle_size * 0.5f, step = goal - paddlex;
    const float most = 0.07f;
    return paddlex + (step > most ? most : step < -most ? -most : step);
}

// The demo has run its time or its game: the title fades in over a fresh
// game, as after a game of the player's.
static void demo_over()
{
    float alpha = title_alpha, bars = bar_alpha;
    watch_stop();
    title_alpha = alpha;
    bar_alpha = bars;
    title_fade_in();
}

void watch_frame()
{
    if (demo && fade_running() == FADE_OUT)
        return;   // the title still fades out over the demo's first frame
    if (demo && ++demo_frames > DEMO_FRAMES) {
        demo_over();
        return;
    }
    if (autopilot) {
        if (autopilot_tick() == WATCH_ENDED)
            demo_over();
        return;
    }
    int ticks = watch_paused ? 0 : keys[(unsigned char)'F'] ? 4 : 1;
    for (int k = 0; k < ticks; k++) {
        int s = watch_tick();
        if (s == WATCH_MISMATCH) {
            watch_stop();
            show_notice("This replay no longer matches the game.");
            return;
        }
        if (s == WATCH_ENDED) {
            if (demo)   // a demo's replay is over: back to the title
                demo_over();
            return;
        }
    }
}

void watch_key(int vk, int fresh)
{
    if (demo)
        return;   // player_input has ended it
    if (vk == VK_SPACE && fresh)
        watch_paused = !watch_paused;
}

void watch_stop()
{
    if (!watching)
        return;
    watching = 0;
    game_pause = 0;
    difficulty = own_difficulty;
    classic = own_classic;
    memcpy(set_name, own_set, sizeof set_name);
    new_game();
    if (demo) {   // the title comes back at once, as it stood
        demo = autopilot = 0;
        idle_frames = 0;
        screen_set(SCREEN_TITLE, FADE_NONE, 1);
        title_alpha = rest_alpha;
        titlex = rest_x;
        bar_alpha = rest_bar_alpha;
        return;
    }
    title_fade_in();
    if (came_from != SCREEN_TITLE)
        open_screen(came_from);
}

// ---- The title's demo ----

void attract_frame()
{
    bool idle = screen_is(SCREEN_TITLE) && fade_running() == FADE_NONE && menublock == 0 &&
                !notice_shown() && game_scene_started();
    idle_frames = idle ? idle_frames + 1 : 0;
    if (idle_frames >= ATTRACT_IDLE_FRAMES)
        start_demo();
}

int player_input(int ends)
{
    idle_frames = 0;
    if (!(ends && demo))
        return 0;
    watch_stop();
    return 1;
}

// The replay of the best high score on the set in play; "" when none.
static std::string best_replay_of_set()
{
    readscores();
    std::string best;
    int best_score = -1;
    for (int k = 0; k < SCORE_ENTRIES; k++) {
        if (!score_replay[k][0] || hstable[k].entry_score <= best_score)
            continue;
        replay_file f;
        std::string why;
        if (replay_load(player_file(REPLAYS_FOLDER) + "/" + score_replay[k], &f, &why) &&
            strcmp(f.header.set_name, set_name) == 0 && !f.header.continued) {
            best = score_replay[k];
            best_score = hstable[k].entry_score;
        }
    }
    return best;
}

// The demo's game is set up: the title fades out over its first frame.
static int demo_fades_in()
{
    rest_alpha = title_alpha;
    rest_x = titlex;
    rest_bar_alpha = bar_alpha;
    title_fade_out();
    return 1;
}

int start_demo()
{
    idle_frames = 0;
    demo_frames = 0;
    std::string best = best_replay_of_set();
    demo = 1;
    if (!best.empty() && watch_replay(best.c_str(), "DEMO"))
        return demo_fades_in();
    notice[0] = 0;   // a replay refused is not the player's business here
    if (!level_set_readable(set_name, nullptr)) {
        demo = 0;
        return 0;
    }
    own_difficulty = difficulty;
    own_classic = classic;
    memcpy(own_set, set_name, sizeof own_set);
    autopilot = 1;
    crt_srand(fresh_seed());
    begin_new_game(1);
    play_begin(random_state());
    snprintf(watch_label, sizeof watch_label, "DEMO");
    watching = 1;
    watch_paused = 0;
    return demo_fades_in();
}
