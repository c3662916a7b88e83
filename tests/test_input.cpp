// Input rules: the launch, pause and game-over clicks, the menu and GUI
// requests, the polled hot-keys and the Escape action.

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <unistd.h>

#include "audio/audio.h"
#include "editor/editor.h"
#include "gl_context.h"
#include "menus/menus.h"
#include "player_folder.h"
#include "physics/ball.h"
#include "physics/physics.h"
#include "rules/progress.h"
#include "rules/rules.h"
#include "rules/savegame.h"
#include "shell/shell.h"

namespace {

// A game waiting on the paddle, in play (title screen gone), in a scratch
// folder holding the default set, so that a save written by Escape lands there.
class Input : public GLTest {
protected:
    game_folder folder;

    Input() { std::filesystem::create_symlink(CORVALE_GAME_DIR "/level_sets/default.bls", "level_sets/default.bls"); }
    void SetUp() override
    {
        strcpy(set_name, "default.bls");
        screen_set(SCREEN_PLAY);
        test = gameover = game_pause = 0;
        testing_level = 0;
        in_flight = 0;
        ball_start = 1;
        bonus = 0;
        level = 1;
        difficulty = 1;
        fullscreen = 1;
        memset(keys, 0, sizeof keys);
        for (int n = 0; n < 17; n++)
            balls[n] = glu[n] = 0;
    }
    static void release_left() { WndProc(nullptr, WM_LBUTTONUP, 0, MAKELPARAM(10, 10)); }
    static void release_right() { WndProc(nullptr, WM_RBUTTONUP, 0, MAKELPARAM(10, 10)); }
    static void key_down(int vk) { WndProc(nullptr, WM_KEYDOWN, (WPARAM)vk, 0); }
    static void key_up(int vk) { WndProc(nullptr, WM_KEYUP, (WPARAM)vk, 0); }
};

// After a level's bonus, as many balls as the level's number, four at most.
TEST_F(Input, LeftReleaseLaunchesAtTheDifficultysSpeedWithTheBonusBalls)
{
    const struct { int difficulty, bonus, level, balls; float speed; } cases[] = {
        {0, 0, 1, 1, 0.02f}, {1, 0, 1, 1, 0.03f}, {2, 0, 5, 1, 0.045f}, {1, 1, 3, 3, 0.03f}, {1, 1, 9, 4, 0.03f},
    };
    for (const auto &c : cases) {
        SetUp();
        difficulty = c.difficulty, bonus = c.bonus, level = c.level;
        paddlex = 2.0f;
        release_left();
        SCOPED_TRACE(testing::Message() << "difficulty " << c.difficulty << ", bonus on level " << c.bonus * c.level);
        EXPECT_EQ(in_flight, 1);
        EXPECT_EQ(ball_start, 0);
        EXPECT_EQ(newlevel, 0);
        EXPECT_EQ(bonus, 0);
        for (int n = 1; n <= 5; n++)
            EXPECT_EQ(balls[n], n <= c.balls ? 1 : 0) << n;
        EXPECT_FLOAT_EQ(yspeed[1], c.speed);
        EXPECT_FLOAT_EQ(xpos[1], 2.0f + paddle_size * 0.5f);
        EXPECT_FLOAT_EQ(ypos[1], ballsize - 1.5f);
    }
}

// After "GAME OVER" the left button, or a launch key, ends the game when it is
// let go: a new game waits under the fading title, and the space or Enter the
// key typed reaches no name dialog.
TEST_F(Input, ReleaseAfterGameOverResetsAndFadesTheTitleIn)
{
    for (int vk : {0, (int)VK_SPACE, (int)VK_RETURN}) {
        SetUp();
        gameover = 1, score = 4200, level = 3, counter = 6;
        if (vk == 0) {
            release_left();
        } else {
            key_down(vk);
            WndProc(nullptr, WM_CHAR, vk == VK_SPACE ? ' ' : '\r', 0);
            EXPECT_EQ(title_up(), 0) << vk;
            key_up(vk);
        }
        EXPECT_EQ(gameover, 0) << vk;
        EXPECT_EQ(title_up(), 1) << vk;
        EXPECT_EQ(fade_running(), FADE_IN) << vk;
        EXPECT_EQ(score, 0) << vk;
        EXPECT_EQ(level, 1) << vk;
        EXPECT_EQ(counter, 1) << vk;
        EXPECT_EQ(newlevel, 1) << vk;
        memset(buffer, 0, sizeof buffer);
        bcount = 0;
        fulltext = 1;
        EXPECT_EQ(console_input(), 0) << vk;
        EXPECT_EQ(bcount, 0) << vk;
    }
}

TEST_F(Input, APressOpensTheMenuItemOnlyWhenTheMenuIsStillAndTurnsAControlIntoOneRequest)
{
    const struct { int item; fade_id fade; screen_id opened; int opens; } clicks[] = {
        {6, FADE_NONE, SCREEN_HELP, 1}, {6, FADE_IN, SCREEN_HELP, 0}, {5, FADE_NONE, SCREEN_CREDITS, 1},
    };
    for (const auto &c : clicks) {
        screen_set(SCREEN_TITLE, c.fade);
        selected = c.item;
        WndProc(nullptr, WM_LBUTTONDOWN, 0, MAKELPARAM(5, 5));
        EXPECT_EQ(screen_is(c.opened), c.opens) << c.item << " fade " << c.fade;
    }
    selected = 0;
    screen_set(SCREEN_PLAY);
    gui_select = CODE_PLAY;
    GUI_PLAY = 0;
    WndProc(nullptr, WM_LBUTTONDOWN, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(GUI_PLAY, 1);
    EXPECT_EQ(gui_select, 0);
    GUI_PLAY = 0;
    const int red_plus = toolbar_code(4.6f, -1.37f);
    gui_select = red_plus;
    WndProc(nullptr, WM_LBUTTONDOWN, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(toolbar_pressed(red_plus), 1);
    release_left();  // letting go ends the held repeat
    EXPECT_EQ(toolbar_pressed(red_plus), 0);
    EXPECT_EQ(colorlag, 7);
}

TEST_F(Input, EditorHotKeysWrapAround)
{
    screen_set(SCREEN_EDITOR);
    const struct { int vk; int *value, before, after; } presses[] = {
        {'I', &curpup, 1, 17}, {'O', &curpup, 17, 1}, {VK_UP, &guibrick, 1, 5},
        {VK_NUMPAD0 + 7, &curr, 127, 127}, {VK_NUMPAD0 + 1, &curr, 127, 126},
    };
    for (const auto &p : presses) {
        *p.value = p.before;
        keys[p.vk] = 1;
        poll_keys();
        EXPECT_EQ(*p.value, p.after) << p.vk;
        EXPECT_EQ(keys[p.vk], 0) << p.vk;
    }
    EXPECT_EQ(curbrick, 3);
    screen_set(SCREEN_PLAY);
    keys[int('I')] = 1;  // outside the editor the editor keys stay untouched
    poll_keys();
    EXPECT_EQ(keys[int('I')], 1);
}

// Escape during play saves the game and brings back the fading title. Over
// the title it steps back one screen per press: a screen answers it as its
// Cancel (the name dialog as OK), the end screen closes, a notice is answered
// first; on the bare title it changes nothing.
TEST_F(Input, EscapeDuringPlaySavesAndOverTheTitleClosesOneScreenPerPress)
{
    game_pause = 1;
    score = 900;
    escape_action();
    EXPECT_EQ(access(save_path().c_str(), F_OK), 0);
    EXPECT_EQ(save_path().rfind(std::string(getenv("XDG_DATA_HOME")) + "/corvale/", 0), 0u);
    EXPECT_EQ(SAVE_AVAILABLE, 1);
    EXPECT_EQ(PLAYING_SAVED_GAME, 0);
    EXPECT_EQ(title_up(), 1);
    EXPECT_EQ(fade_running(), FADE_IN);
    EXPECT_EQ(game_pause, 0);
    EXPECT_EQ(score, 0);
    EXPECT_EQ(lcount, 1);
    // Held down, the action repeats without changing anything further.
    escape_action();
    EXPECT_EQ(title_up(), 1);

    SAVE_AVAILABLE = 0;
    const struct { screen_id s; int *answer; } screens[] = {
        {SCREEN_OPTIONS, &GUI_CANCEL}, {SCREEN_BROWSER, &GUI_CANCEL}, {SCREEN_HELP, &GUI_CANCEL},
        {SCREEN_SCORES, &GUI_CANCEL}, {SCREEN_SCORE_NAME, &GUI_OK}};
    for (const auto &c : screens) {
        screen_set(c.s);
        GUI_OK = GUI_CANCEL = 0;
        keys[VK_ESCAPE] = 1;
        escape_action();
        EXPECT_EQ(*c.answer, 1) << c.s;
        EXPECT_EQ(keys[VK_ESCAPE], 0) << c.s;
    }
    GUI_OK = GUI_CANCEL = 0;
    screen_set(SCREEN_HELP);
    escape_action();
    showhelp();
    EXPECT_EQ(screen_is(SCREEN_TITLE), 1);

    screen_set(SCREEN_CREDITS);
    escape_action();
    EXPECT_EQ(screen_is(SCREEN_TITLE), 1);

    show_notice("A notice");
    screen_set(SCREEN_OPTIONS);
    escape_action();
    EXPECT_EQ(GUI_OK + GUI_CANCEL, 1);
    EXPECT_EQ(GUI_OK, 1) << "the notice is on top";
    GUI_OK = 0;
    show_notice("");

    screen_set(SCREEN_TITLE);
    escape_action();
    EXPECT_EQ(screen_is(SCREEN_TITLE), 1);
    EXPECT_EQ(GUI_OK + GUI_CANCEL, 0);
    EXPECT_EQ(SAVE_AVAILABLE, 0);
}

// ---- The keys in play ----

// The keys' speed rises from a slow start to full speed within a third of a
// second of frames (62 a second), never falling on the way.
TEST(SteerCurve, RisesFromASlowStartToFullSpeedWithinAThirdOfASecond)
{
    const struct { int frames; float least, most; } points[] = {
        {0, 0.0f, 0.0f},
        {1, 0.001f, STEER_FULL_SPEED * 0.2f},
        {5, 0.001f, STEER_FULL_SPEED * 0.3f},
        {62 / 3, STEER_FULL_SPEED, STEER_FULL_SPEED},
        {200, STEER_FULL_SPEED, STEER_FULL_SPEED},
    };
    for (const auto &p : points) {
        EXPECT_GE(steer_speed(p.frames), p.least) << p.frames;
        EXPECT_LE(steer_speed(p.frames), p.most) << p.frames;
    }
    for (int n = 1; n < 62; n++)
        EXPECT_LE(steer_speed(n), steer_speed(n + 1)) << n;
}

TEST_F(Input, HeldArrowsSteerTheRampedSpeedUntilTheMouseMoves)
{
    screenx = 800, screeny = 600;
    WndProc(nullptr, WM_MOUSEMOVE, 0, MAKELPARAM(400, 300));
    move_paddle(paddle_target());
    float start = paddlex;
    EXPECT_FLOAT_EQ(start, mouse_paddle_x());
    key_down(VK_RIGHT);
    float moved = 0;
    for (int n = 1; n <= 10; n++) {
        move_paddle(paddle_target());
        moved += steer_speed(n);
    }
    EXPECT_NEAR(paddlex, start + moved, 1e-4);
    key_up(VK_RIGHT);
    move_paddle(paddle_target());   // the mouse has not moved: the keys still steer
    EXPECT_NEAR(paddlex, start + moved, 1e-4);
    key_down(VK_LEFT);
    for (int n = 1; n <= 10; n++)
        move_paddle(paddle_target());
    EXPECT_NEAR(paddlex, start, 1e-4) << "the same frames left bring it back";
    for (int n = 0; n < 200; n++)
        move_paddle(paddle_target());
    EXPECT_FLOAT_EQ(paddlex, WALL_LEFT) << "held between the walls";
    key_up(VK_LEFT);
    game_pause = 1;
    key_down(VK_RIGHT);
    move_paddle(paddle_target());
    EXPECT_FLOAT_EQ(paddlex, WALL_LEFT) << "paused, the paddle stands";
    key_up(VK_RIGHT);
    game_pause = 0;
    WndProc(nullptr, WM_MOUSEMOVE, 0, MAKELPARAM(400, 300));
    EXPECT_EQ(steer_by, STEER_KEYS) << "a report of the same place is no move";
    WndProc(nullptr, WM_MOUSEMOVE, 0, MAKELPARAM(401, 300));
    move_paddle(paddle_target());
    EXPECT_EQ(steer_by, STEER_MOUSE);
    EXPECT_FLOAT_EQ(paddlex, mouse_paddle_x());
}

// Space, Up and Enter launch as the left button does and free the sticky
// paddle's balls; P pauses and resumes as the right button does, but not after
// "GAME OVER"; on the title and in the editor none of them acts.
TEST_F(Input, SpaceUpAndEnterLaunchAndPPausesInPlayOnly)
{
    release_right();
    EXPECT_EQ(game_pause, 1);
    release_right();
    EXPECT_EQ(game_pause, 0);
    for (int vk : {VK_SPACE, VK_UP, VK_RETURN}) {
        SetUp();
        key_down(vk);
        key_up(vk);
        EXPECT_EQ(in_flight, 1) << vk;
        ball_start = 0, glued = 1, glu[2] = 1;
        key_down(vk);
        EXPECT_EQ(glu[2], 0) << vk;
        key_up(vk);
        glued = 0;
    }
    key_down('P');
    key_down('P');   // the keyboard repeats a held key: no new press
    EXPECT_EQ(game_pause, 1);
    key_up('P');
    key_down('P'), key_up('P');
    EXPECT_EQ(game_pause, 0);
    gameover = 1;
    release_right();
    key_down('P'), key_up('P');
    EXPECT_EQ(game_pause, 0);
    for (screen_id screen : {SCREEN_TITLE, SCREEN_EDITOR}) {
        SetUp();
        screen_set(screen);
        for (int vk : {(int)VK_SPACE, int('P')})
            key_down(vk), key_up(vk);
        release_left();
        release_right();
        EXPECT_EQ(in_flight + game_pause, 0) << screen;
        EXPECT_EQ(ball_start, 1) << screen;
    }
}

}  // namespace
