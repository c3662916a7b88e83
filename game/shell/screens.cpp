// Which screen is up: one value for the screen and one for the title's fade,
// and every change between screens, fades included, carried out here.

#include "editor/editor.h"
#include "rules/replay.h"
#include "shell.h"

// The screen up and the fade running; the run starts on the title fading in.
static screen_id current_screen = SCREEN_TITLE;
static fade_id current_fade = FADE_IN;
static int scene_started;   // 1 once the run's first fade-in has finished

screen_id screen_up()
{
    return current_screen;
}

int screen_is(screen_id s)
{
    return current_screen == s;
}

fade_id fade_running()
{
    return current_fade;
}

int title_up()
{
    return current_screen != SCREEN_PLAY;
}

int game_scene_started()
{
    return scene_started;
}

void screen_set(screen_id s, fade_id f, int started)
{
    current_screen = s;
    current_fade = f;
    scene_started = started;
}

void screen_reset()
{
    screen_set(SCREEN_TITLE, FADE_IN, 0);
}

void open_screen(screen_id s)
{
    current_screen = s;
}

void close_screen()
{
    current_screen = SCREEN_TITLE;
}

void title_fade_out()
{
    current_screen = SCREEN_TITLE;
    current_fade = FADE_OUT;
}

void title_fade_in()
{
    current_screen = SCREEN_TITLE;
    current_fade = FADE_IN;
}

void fade_in_finished()
{
    current_fade = FADE_NONE;
    scene_started = 1;
    if (test) {  // a test game has ended: back to the editor
        current_screen = SCREEN_EDITOR;
        test = 0;
        testing_level = 0;
        drag = 0;
        gui_block = 1;
    }
}

void fade_out_finished()
{
    current_fade = FADE_NONE;
    current_screen = SCREEN_PLAY;
    play_starts();
}
