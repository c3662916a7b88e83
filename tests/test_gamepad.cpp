// Gamepads: SDL's virtual pads, plugged in and driven through the platform's
// message pump, in play and in the menus, one or two at a time.

#include <gtest/gtest.h>

#include <SDL.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

#include "gl_context.h"
#include "menus/menus.h"
#include "paths.h"
#include "physics/ball.h"
#include "physics/physics.h"
#include "player_folder.h"
#include "rules/rules.h"
#include "shell/shell.h"

namespace {

// Hands what SDL has gathered to the game, as the main loop's pump does.
void pump()
{
    int quit = 0;
    pump_messages(&quit);
}

// A virtual pad, every change of it handed over through the pump: SDL's standard
// layout (buttons A, B, X, Y, Back, Guide, Start, the stick presses, the
// shoulders and the d-pad; both sticks and the triggers), or, when not laid
// out, a plain joystick SDL has no mapping for.
class virtual_pad {
public:
    ~virtual_pad() { unplug(); }
    bool plug(const char *name, bool laid_out = true)
    {
        SDL_VirtualJoystickDesc d;
        SDL_zero(d);
        d.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        d.type = laid_out ? SDL_JOYSTICK_TYPE_GAMECONTROLLER : SDL_JOYSTICK_TYPE_UNKNOWN;
        d.naxes = SDL_CONTROLLER_AXIS_MAX;
        d.nbuttons = SDL_CONTROLLER_BUTTON_DPAD_RIGHT + 1;
        if (laid_out) {
            d.button_mask = (1u << d.nbuttons) - 1;
            d.axis_mask = (1u << d.naxes) - 1;
        }
        d.name = name;
        int device = SDL_JoystickAttachVirtualEx(&d);
        if (device < 0)
            return false;
        joy = SDL_JoystickOpen(device);
        id = joy ? SDL_JoystickInstanceID(joy) : -1;
        pump();
        return joy != nullptr;
    }
    void unplug()
    {
        if (!joy)
            return;
        SDL_JoystickClose(joy);
        joy = nullptr;
        for (int n = 0; n < SDL_NumJoysticks(); n++)
            if (SDL_JoystickGetDeviceInstanceID(n) == id)
                SDL_JoystickDetachVirtual(n);
        pump();
    }
    void button(SDL_GameControllerButton b, int down)
    {
        SDL_JoystickSetVirtualButton(joy, b, (Uint8)down);
        pump();
    }
    void stick(float x)
    {
        SDL_JoystickSetVirtualAxis(joy, SDL_CONTROLLER_AXIS_LEFTX, (Sint16)(x * 32767));
        pump();
    }
    std::string guid() const
    {
        char text[64];
        SDL_JoystickGetGUIDString(SDL_JoystickGetGUID(joy), text, sizeof text);
        return text;
    }
    SDL_JoystickID id = -1;

private:
    SDL_Joystick *joy = nullptr;
};

// Presses and lets go of a button, each through the pump.
void tap(virtual_pad &pad, SDL_GameControllerButton b)
{
    pad.button(b, 1);
    pad.button(b, 0);
}

// A game in play, the ball waiting on the paddle, in a scratch player folder.
class Gamepad : public GLTest {
protected:
    game_folder folder;

    void SetUp() override
    {
        screen_set(SCREEN_PLAY);
        test = gameover = game_pause = pad_lost = in_flight = glued = 0;
        ball_start = 1, steering_pad = -1, paddlex = 2.75f;
        focus_to_pointer();
        memset(keys, 0, sizeof keys);
        steer_by = STEER_KEYS;   // the paddle stands where it is until something steers it
        // SDL hands a pad's presses only to a program whose window has the
        // keyboard focus; the test's hidden window never gets it.
        SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
        ASSERT_EQ(gamepad_start(), 1);
    }
    void TearDown() override
    {
        one.unplug();
        two.unplug();
        gamepad_stop();
    }
    // One frame of steering; how far the paddle went.
    float steer()
    {
        float before = paddlex;
        move_paddle(paddle_target());
        return paddlex - before;
    }
    virtual_pad one, two;
};

// In play the stick steers past its dead zone at a speed in proportion to its
// push, the d-pad as the arrows do; A launches and lets go of the sticky
// paddle's balls, Start pauses and resumes, B and Back are Escape.
TEST_F(Gamepad, InPlayTheStickAndDpadSteerALaunchesStartPausesAndBOrBackIsEscape)
{
    const struct { float push, speed; } cases[] = {
        {0.0f, 0.0f}, {0.1f, 0.0f}, {-PAD_DEAD_ZONE, 0.0f}, {0.625f, 0.5f * STEER_FULL_SPEED},
        {-0.625f, -0.5f * STEER_FULL_SPEED}, {1.0f, STEER_FULL_SPEED}, {-1.0f, -STEER_FULL_SPEED},
    };
    ASSERT_TRUE(one.plug("Pad one"));
    tap(one, SDL_CONTROLLER_BUTTON_DPAD_DOWN);   // it steers from here
    for (const auto &c : cases) {
        paddlex = 2.75f;
        one.stick(c.push);
        EXPECT_NEAR(steer(), c.speed, 2e-4) << c.push;
    }
    one.stick(0.0f);

    one.button(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, 1);
    float moved = 0, want = 0;
    for (int n = 1; n <= 12; n++)
        moved += steer(), want += steer_speed(n);
    EXPECT_NEAR(moved, want, 1e-4);
    one.button(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, 0);
    EXPECT_FLOAT_EQ(steer(), 0.0f);

    tap(one, SDL_CONTROLLER_BUTTON_A);
    EXPECT_EQ(in_flight, 1);
    ball_start = 0, glued = 1, glu[3] = 1;
    tap(one, SDL_CONTROLLER_BUTTON_A);
    EXPECT_EQ(glu[3], 0);
    glued = 0;
    tap(one, SDL_CONTROLLER_BUTTON_START);
    EXPECT_EQ(game_pause, 1);
    tap(one, SDL_CONTROLLER_BUTTON_START);
    EXPECT_EQ(game_pause, 0);
    for (SDL_GameControllerButton b : {SDL_CONTROLLER_BUTTON_B, SDL_CONTROLLER_BUTTON_BACK}) {
        keys[VK_ESCAPE] = 0;
        tap(one, b);
        EXPECT_EQ(keys[VK_ESCAPE], 1) << b;   // the main loop's Escape action follows
    }
}

// In the menus the d-pad and the stick (once per push) move the choice, and
// A presses the chosen control: Help, then the help page's Cancel.
TEST_F(Gamepad, TheDpadAndStickMoveTheMenusChoiceAndAPressesIt)
{
    screen_set(SCREEN_TITLE);
    title_alpha = 1.0f, menublock = 0;
    auto frame = [] {
        glLoadIdentity();
        render_title();
        focus_frame_done();
    };
    ASSERT_TRUE(one.plug("Pad one"));
    frame();
    const struct { float stick; SDL_GameControllerButton b; int item; } steps[] = {
        {0, SDL_CONTROLLER_BUTTON_DPAD_RIGHT, 1},   // the first push shows the choice on Play
        {0, SDL_CONTROLLER_BUTTON_DPAD_RIGHT, 2}, {0.8f, SDL_CONTROLLER_BUTTON_INVALID, 3},
        {1.0f, SDL_CONTROLLER_BUTTON_INVALID, 3},   // still pushed: no second move
        {0, SDL_CONTROLLER_BUTTON_INVALID, 3}, {0.9f, SDL_CONTROLLER_BUTTON_INVALID, 4},
        {0, SDL_CONTROLLER_BUTTON_DPAD_RIGHT, 6},
    };
    for (const auto &s : steps) {
        one.stick(s.stick);
        if (s.b != SDL_CONTROLLER_BUTTON_INVALID)
            tap(one, s.b);
        frame();
        EXPECT_EQ(selected, s.item);
    }
    tap(one, SDL_CONTROLLER_BUTTON_A);
    ASSERT_EQ(screen_is(SCREEN_HELP), 1);
    frame();
    frame();
    tap(one, SDL_CONTROLLER_BUTTON_A);
    frame();
    EXPECT_EQ(screen_is(SCREEN_TITLE), 1);
    focus_to_pointer();
}

// A pad plugged in while the game runs works at once; unplugging the pad
// that steers pauses play with a notice (off play, nothing), and a pad
// plugged in again resumes it.
// With two pads the other's buttons and stick do nothing, and its going pauses nothing.
TEST_F(Gamepad, APadPluggedInWorksAtOnceUnpluggingItPausesPlayAndOfTwoTheFirstToPressSteers)
{
    EXPECT_EQ(gamepads_open(), 0);
    ASSERT_TRUE(one.plug("Pad one"));
    EXPECT_EQ(gamepads_open(), 1);
    tap(one, SDL_CONTROLLER_BUTTON_A);
    EXPECT_EQ(in_flight, 1);
    one.unplug();
    EXPECT_EQ(gamepads_open(), 0);
    EXPECT_EQ(game_pause + pad_lost, 2);
    ASSERT_TRUE(one.plug("Pad one again"));
    tap(one, SDL_CONTROLLER_BUTTON_START);
    EXPECT_EQ(game_pause, 0);
    screen_set(SCREEN_TITLE);
    one.unplug();
    EXPECT_EQ(game_pause, 0);

    screen_set(SCREEN_PLAY);
    ASSERT_TRUE(one.plug("Pad one"));
    ASSERT_TRUE(two.plug("Pad two"));
    EXPECT_EQ(gamepads_open(), 2);
    tap(two, SDL_CONTROLLER_BUTTON_DPAD_UP);
    one.stick(1.0f);
    EXPECT_FLOAT_EQ(steer(), 0.0f);
    tap(one, SDL_CONTROLLER_BUTTON_START);
    EXPECT_EQ(game_pause, 0);
    two.stick(-1.0f);
    EXPECT_NEAR(steer(), -STEER_FULL_SPEED, 1e-4);
    one.unplug();
    EXPECT_EQ(game_pause, 0);
    two.unplug();
    EXPECT_EQ(game_pause, 1);
}

// A joystick SDL knows no layout for is no pad, until a mapping for it in the
// player's gamecontrollerdb.txt (or in SDL_GAMECONTROLLERCONFIG) names its
// buttons and axes.
TEST_F(Gamepad, ThePlayersMappingsFileMakesAnUnknownJoystickAPad)
{
    ASSERT_TRUE(one.plug("Odd stick", false));
    ASSERT_TRUE(two.plug("Other stick", false));
    EXPECT_EQ(gamepads_open(), 0);
    // Mappings name a pad by its GUID without the name's checksum (bytes 2 and 3).
    std::string odd = one.guid().replace(4, 4, "0000"), other = two.guid().replace(4, 4, "0000");
    one.unplug();
    two.unplug();
    gamepad_stop();
    std::ofstream(player_path("gamecontrollerdb.txt"))
        << "# mappings of the player's own\nnot a mapping line\n" << odd << ",Odd stick,a:b0,b:b1,back:b4,start:b6,dpleft:b13,dpright:b14,"
        << "leftx:a0,lefty:a1,platform:Linux,\n";
    std::string env = other + ",Other stick,a:b0,start:b6,leftx:a0,lefty:a1,platform:Linux,";
    setenv("SDL_GAMECONTROLLERCONFIG", env.c_str(), 1);
    ASSERT_EQ(gamepad_start(), 1);
    unsetenv("SDL_GAMECONTROLLERCONFIG");
    ASSERT_TRUE(one.plug("Odd stick", false));
    ASSERT_TRUE(two.plug("Other stick", false));
    EXPECT_EQ(gamepads_open(), 2);
    tap(one, SDL_CONTROLLER_BUTTON_A);
    EXPECT_EQ(in_flight, 1) << "its button 0 is A";
}

}  // namespace
