// The menus, drawn in a real offscreen GL context and read back as pixels: the
// title, its panels and keyboard focus, the play options and the set browser.

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <sys/stat.h>

#include "deadline.h"
#include "editor/editor.h"
#include "gl_view.h"
#include "graphics/graphics.h"
#include "level_bytes.h"
#include "menus/browser.h"
#include "menus/menus.h"
#include "player_folder.h"
#include "rules/progress.h"
#include "rules/rules.h"
#include "rules/savegame.h"
#include "shell/shell.h"

namespace fs = std::filesystem;

extern char sfilename[256];   // the browser's file name of the set shown

namespace {

// Puts the pointer on a GUI-frame point (pointery grows downward).
void point_at(float x, float y) { pointerx = x, pointery = -y; }

class PointerScale : public ::testing::Test {
protected:
    int saved_x = screenx, saved_y = screeny;
    float saved_sens = msensitivity;
    void SetUp() override { msensitivity = 8.0f; }
    void TearDown() override { screenx = saved_x, screeny = saved_y, msensitivity = saved_sens; }
    float scale_at(int w, int h)
    {
        screenx = w, screeny = h;
        return pointer_scale();
    }
};

// Later rules of the table replace earlier ones; a 720-high window that is
// not 1280 wide (which the table leaves out) has a scale too.
TEST_F(PointerScale, LaterRulesReplaceEarlierOnesAndEveryEdgeIsReached)
{
    const struct { int w, h; float scale; } cases[] = {
        {800, 600, 0.7f / 800}, {1280, 720, 0.9f / 1280}, {1280, 960, 0.9f / 1280},
        {1280, 1024, 1.0f / 1280}, {1920, 1080, 1.0f / 1920}, {1100, 720, 0.9f / 1280},
        {640, 720, 0.7f / 640}};
    for (const auto &c : cases)
        EXPECT_FLOAT_EQ(scale_at(c.w, c.h), c.scale) << c.w << "x" << c.h;

    // Both axes use the width; with sensitivity 8 the GUI frame's edges are
    // reached from inside the window, and the pointer is held there.
    scale_at(800, 600);
    mouseX = mouseY = 100;
    move_pointer();
    EXPECT_FLOAT_EQ(pointery, 100 * 0.7f / 800 * 8 - 2.0f);
    for (auto [w, h] : {std::pair{800, 600}, {320, 720}, {640, 720}, {960, 720}, {1100, 720},
                        {1366, 720}, {1600, 720}, {2560, 720}}) {
        ASSERT_GT(scale_at(w, h), 0.0f) << w;
        mouseX = 0, mouseY = 0;
        move_pointer();
        EXPECT_FLOAT_EQ(pointerx, 0.25f) << w;
        EXPECT_FLOAT_EQ(pointery, -2.0f) << w;
        mouseX = w - 1, mouseY = h - 1;
        move_pointer();
        EXPECT_FLOAT_EQ(pointerx, 5.5f) << w;
        EXPECT_FLOAT_EQ(pointery, 2.0f) << w;
    }
}

// ---- Drawing fixture ----

class Menus : public GLTest {
protected:
    void SetUp() override
    {
        screen_set(SCREEN_TITLE);
        title_alpha = 1.0f, titlex = 2.7245f;
        menublock = gui_block = gui_select = 0;
        GUI_OK = GUI_CANCEL = test = testing_level = classic = dropped = 0;
        solid_texture(textures[1], 0, 0, 0);         // a black title picture
        for (int slot : {17, 11, 6, 9, 1, 7, 15, 23})
            solid_texture(ticon[slot], 255, 255, 255);
        point_at(0.3f, 1.9f);                          // over nothing
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);  // as InitGL leaves it
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    }

    void shown() { frame(); focus_frame_done(); }   // a frame as keyboard focus sees it
    void frame()
    {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glLoadIdentity();
        glTranslatef(-3.0f, 0.0f, 0.0f);
        render_title();
    }

    // Frames until the running fade ends (at most 1000).
    int frames_of_fade()
    {
        int n = 0;
        while (fade_running() != FADE_NONE && n < 1000) {
            frame();
            n++;
        }
        return n;
    }
};

// Centre of menu icon k in the GUI frame.
float icon_x(int k) { return 1.8f + 0.5f * k; }
const float ICON_Y = -0.425f;

TEST_F(Menus, FadesTake101FramesFadeOutStartsPlayAndTheEditorReturnsAtTheEnd)
{
    title_alpha = 0.0f, bar_alpha = 1.0f;
    screen_reset();
    EXPECT_EQ(frames_of_fade(), 101);
    EXPECT_EQ(title_alpha, 1.0f);
    EXPECT_EQ(game_scene_started(), 1);
    EXPECT_EQ(title_up(), 1);
    EXPECT_NEAR(bar_alpha, -0.01f, 1e-4);

    title_fade_out();
    bar_alpha = 0.0f;
    EXPECT_EQ(frames_of_fade(), 101);
    EXPECT_EQ(title_alpha, 0.0f);
    EXPECT_EQ(title_up(), 0);
    EXPECT_NEAR(titlex, 2.7245f - 101 * 0.009f, 1e-4);
    EXPECT_NEAR(bar_alpha, 1.01f, 1e-4);

    // After a test game the editor returns only when the fade-in ends.
    title_alpha = 0.0f;
    title_fade_in();
    test = testing_level = drag = 1;
    for (int i = 0; i < 100; i++)
        frame();
    EXPECT_EQ(screen_is(SCREEN_EDITOR), 0);
    frame();
    EXPECT_EQ(fade_running(), FADE_NONE);
    EXPECT_EQ(screen_is(SCREEN_EDITOR), 1);
    EXPECT_EQ(test + testing_level + drag, 0);
    EXPECT_EQ(gui_block, 1);
}

// ---- Main menu ----

TEST_F(Menus, HoveringAnIconSelectsItAndLightsItAndButtonEdgesCountAsHovered)
{
    const int codes[6] = {1, 2, 3, 4, 6, 5};
    for (int k = 0; k < 6; k++) {
        point_at(icon_x(k), ICON_Y);
        frame();
        EXPECT_EQ(selected, codes[k]) << k;
        EXPECT_EQ(item_select, 1);
    }

    point_at(icon_x(4), ICON_Y);  // Help
    frame();
    EXPECT_GE(frame_pixel(icon_x(4), ICON_Y).r, 250);
    EXPECT_NEAR(frame_pixel(icon_x(3), ICON_Y).r, 217, 4);   // 0.85 of white over the black title
    EXPECT_LE(frame_pixel(icon_x(3) + 0.25f, ICON_Y).r, 5);  // the gap between icons

    // Hovering works while the title still fades in.
    title_alpha = 0.5f;
    screen_set(SCREEN_TITLE, FADE_IN);
    point_at(icon_x(5), ICON_Y);
    frame();
    EXPECT_EQ(selected, 5);

    // Hovering Edit levels leaves classic mode; the icon before it does not.
    classic = 1;
    point_at(icon_x(1), ICON_Y);
    frame();
    EXPECT_EQ(classic, 1);
    point_at(icon_x(2), ICON_Y);
    frame();
    EXPECT_EQ(classic, 0);

    // A panel button's edges count as hovered. Style 4: OK at (x2 - 0.25, y1 - 0.07), 0.12 square.
    const float x2 = 4.2f, y1 = 0.9f;
    const float bx = x2 - 0.25f, by = y1 - 0.07f;
    const float corners[4][2] = {{bx, by}, {bx + 0.12f, by}, {bx, by - 0.12f}, {bx + 0.12f, by - 0.12f}};
    for (const auto &c : corners) {
        gui_select = 0;
        point_at(c[0], c[1]);
        gui_win(1.8f, y1, x2, 0.65f, " ", " ", 4);
        EXPECT_EQ(gui_select, 1) << c[0] << " " << c[1];
    }
    EXPECT_EQ(gui_block, 1);
}

TEST_F(Menus, HelpShowsAllSeventeenPowerUpsCancelClosesItAndF1WithoutABrowserSaysWhereTheManualIs)
{
    for (int kind = 1; kind <= 17; kind++)
        solid_texture(puptextures[kind], 10 * kind + 40, 200, 250 - 10 * kind);
    open_screen(SCREEN_HELP);
    frame();
    EXPECT_EQ(menublock, 1);
    point_at(icon_x(0), ICON_Y);   // no menu item reacts under the page
    frame();
    EXPECT_EQ(selected, 0);
    const float xs[4] = {0.85f, 1.95f, 3.05f, 4.15f};
    const float ys[5] = {1.25f, 0.75f, 0.25f, -0.25f, -0.75f};
    for (int kind = 1; kind <= 17; kind++) {
        rgb p = frame_pixel(xs[(kind - 1) / 5] + 0.15f, ys[(kind - 1) % 5] - 0.15f);
        EXPECT_NEAR(p.r, 10 * kind + 40, 3) << kind;
        EXPECT_NEAR(p.b, 250 - 10 * kind, 3) << kind;
    }

    point_at(5.05f + 0.06f, 1.48f - 0.06f);   // over Cancel
    frame();
    ASSERT_EQ(gui_select, 2);
    EXPECT_EQ(screen_is(SCREEN_HELP), 1);
    // The press, as the window procedure turns code 2 into the request.
    GUI_CANCEL = 1;
    gui_select = 0;
    frame();
    EXPECT_EQ(screen_is(SCREEN_HELP) + GUI_CANCEL + menublock + gui_block, 0);
    point_at(icon_x(0), ICON_Y);   // the menu reacts again on the next frame
    frame();
    EXPECT_EQ(selected, 1);

    // F1 on the help page: with no opener on the path, or an opener that fails
    // (no browser), a notice says where the manual is.
    std::string path = getenv("PATH") ? getenv("PATH") : "";
    scratch_dir dir;
    setenv("PATH", dir.path().c_str(), 1);
    open_screen(SCREEN_HELP);
    show_notice("");
    keys[VK_F1] = 1;
    frame();
    EXPECT_EQ(keys[VK_F1], 0);
    EXPECT_NE(std::string(notice).find("/manual/index.html"), std::string::npos) << notice;

    // An opener that finds no browser ends with a failure some frames later.
    std::string opener = dir.path() + "/xdg-open";
    write_bytes(opener, "#!/bin/sh\nexit 3\n");
    chmod(opener.c_str(), 0700);
    show_notice("");
    keys[VK_F1] = 1;
    frame();
    EXPECT_TRUE(poll_until([&] {
        frame();
        return notice_shown() != 0;
    }, 120.0)) << "the failed opener was never noticed";
    EXPECT_NE(std::string(notice).find("/manual/index.html"), std::string::npos) << notice;
    setenv("PATH", path.c_str(), 1);
    show_notice("");
    screen_reset();
}

// ---- Keyboard focus ----

void key(int vk)
{
    WndProc(nullptr, WM_KEYDOWN, (WPARAM)vk, 0);
    WndProc(nullptr, WM_KEYUP, (WPARAM)vk, 0);
}

// The arrows choose (lit and outlined) among the title's icons whatever the
// pointer is over, the first press only showing the choice; Enter presses it,
// also on the panel it opens; a mouse move gives the choice back to the pointer.
TEST_F(Menus, ArrowsChooseTheIconsAndButtonsAndEnterPressesThem)
{
    focus_to_pointer();
    point_at(icon_x(3), ICON_Y);
    shown();
    EXPECT_EQ(selected, 4);
    const struct { int vk; int item; } steps[] = {
        {VK_DOWN, 1}, {VK_RIGHT, 2}, {VK_RIGHT, 3}, {VK_LEFT, 2}, {VK_UP, 2},
        {VK_RIGHT, 3}, {VK_RIGHT, 4}, {VK_RIGHT, 6}, {VK_RIGHT, 5}, {VK_RIGHT, 5}, {VK_LEFT, 6},
    };
    for (const auto &s : steps) {
        key(s.vk);
        shown();
        EXPECT_EQ(selected, s.item) << s.vk;
    }
    shown();
    EXPECT_GE(frame_pixel(icon_x(4), ICON_Y).r, 250) << "the chosen icon is lit";
    EXPECT_NEAR(frame_pixel(icon_x(3), ICON_Y).r, 217, 4) << "the icon under the pointer is not";
    rgb edge = frame_pixel(icon_x(4) - 0.125f - 0.025f, ICON_Y);
    EXPECT_GT(edge.r, 200) << "no outline";
    EXPECT_LT(edge.b, 120) << "no outline";

    key(VK_RETURN);
    EXPECT_EQ(screen_is(SCREEN_HELP), 1);
    shown();
    shown();
    EXPECT_EQ(focus_key, (int)CODE_CANCEL) << "the help page's one button";
    key(VK_RETURN);
    shown();
    EXPECT_EQ(screen_is(SCREEN_TITLE), 1);

    mouseX = 10, mouseY = 10;
    WndProc(nullptr, WM_MOUSEMOVE, 0, MAKELPARAM(20, 20));
    EXPECT_EQ(focus_on, 0);
    point_at(icon_x(3), ICON_Y);
    shown();
    EXPECT_EQ(selected, 4);
}

// On the play options the choice starts on Play and passes over a Continue
// with no saved game; Enter on a button raises its request: the difficulty
// cycles, the classic mode toggles.
TEST_F(Menus, OnThePlayOptionsTheChoiceStartsOnPlay)
{
    SAVE_AVAILABLE = 0;
    difficulty = 0;
    open_screen(SCREEN_OPTIONS);
    shown();
    key(VK_LEFT);
    shown();
    EXPECT_EQ(focus_key, (int)CODE_PLAY);
    const struct { int vk; int code; } steps[] = {
        {VK_LEFT, CODE_CLASSIC}, {VK_LEFT, CODE_DIFF}, {VK_RIGHT, CODE_CLASSIC}, {VK_UP, CODE_CANCEL},
        {VK_DOWN, CODE_PLAY},
    };
    for (const auto &s : steps) {
        key(s.vk);
        shown();
        EXPECT_EQ(focus_key, s.code) << s.vk;
        EXPECT_EQ(gui_select, s.code) << "lit as under the pointer";
    }
    key(VK_LEFT);
    key(VK_LEFT);
    shown();
    for (int want : {1, 2, 0}) {   // the difficulty cycles
        key(VK_RETURN);
        shown();
        EXPECT_EQ(difficulty, want);
    }
    key(VK_RIGHT);
    key(VK_RETURN);
    shown();
    EXPECT_EQ(classic, 1);
    EXPECT_EQ(screen_is(SCREEN_OPTIONS), 1);
    key(VK_UP);
    key(VK_RETURN);
    shown();
    EXPECT_EQ(screen_is(SCREEN_TITLE), 1);
    focus_to_pointer();
}

// ---- The level-set browser ----

// A one-level set with the given title and one brick at row 1, column 1.
void write_set(const std::string &file, const char *title)
{
    set_file s(1, 0);
    s.title(title);
    s.set(1, TEX_BLOCK, 1, 1, 1);
    s.write("level_sets/" + file);
}

// Each case runs in a scratch game folder with an empty level_sets/ and the browser open.
class Browser : public GLTest {
protected:
    game_folder folder;
    const fs::path dir = folder.path();

    void SetUp() override
    {
        fs::create_directories(dir / "player" / "corvale" / "level_sets");
        snprintf(set_name, sizeof set_name, "default.bls");
        difficulty = level = 1;
        screen_set(SCREEN_BROWSER);
        classic = testing_level = SAVE_AVAILABLE = 0;
        pointerx = pointery = 0;
    }
    void TearDown() override
    {
        file_search(3);
        screen_set(SCREEN_TITLE);
        menublock = gui_select = 0;
    }
    std::string press(int &request)
    {
        request = 1;
        level_loader();
        return fhead.set_title;
    }
};

TEST_F(Browser, AnEmptyOrMissingFolderHasNothingToPlayAndSetsComeInNameOrderWithoutRegardToCaseAndWrap)
{
    for (int missing = 0; missing <= 1; missing++) {
        if (missing)
            fs::remove_all("level_sets");
        fhead.level_count = 5;
        file_search(1);
        EXPECT_EQ(fhead.level_count, 0);
        EXPECT_EQ(press(GUI_LEVEL), "");
        press(GUI_PLAY);
        EXPECT_EQ(screen_is(SCREEN_BROWSER), 1);
        EXPECT_EQ((fade_running() == FADE_OUT), 0);
        EXPECT_STREQ(set_name, "default.bls");
    }

    fs::create_directory("level_sets");
    write_set("beta.bls", "B");
    write_set("Alpha.BLS", "A");
    write_set("delta.bls", "D");
    write_set("gamma.txt", "not a set");
    write_set("Charlie.Bls", "C");
    file_search(1);
    EXPECT_STREQ(fhead.set_title, "A");
    for (const char *next : {"B", "C", "D", "A"})
        EXPECT_EQ(press(GUI_LEVEL), next);
}

TEST_F(Browser, WithOneSetNextShowsItAgainAndPlayStartsIt)
{
    write_set("only.bls", "Only");
    file_search(1);
    EXPECT_EQ(press(GUI_LEVEL), "Only");
    goodies[3] = 0;
    press(GUI_PLAY);
    EXPECT_STREQ(set_name, "only.bls");
    EXPECT_EQ(screen_is(SCREEN_BROWSER) + menublock, 0);
    EXPECT_EQ((fade_running() == FADE_OUT) + goodies[3], 2);
    EXPECT_EQ(board[grid_index(1, 1)], 1);
}

// A player's set named as one of the game's (made by an earlier version) is
// listed after it as the player's own: neither hides the other, and each
// plays its own levels.
TEST_F(Browser, ThePlayersOwnSetsComeWithTheShippedOnesAndAnEqualNameListsBoth)
{
    write_set("beta.bls", "Shipped B");
    write_set("same.bls", "Shipped same");
    fs::current_path(dir / "player" / "corvale");
    write_set("alpha.bls", "Own A");
    write_set("same.bls", "Own same");
    fs::current_path(dir);
    file_search(1);
    EXPECT_STREQ(fhead.set_title, "Own A");
    for (const char *next : {"Shipped B", "Shipped same", "Own same"})
        EXPECT_EQ(press(GUI_LEVEL), next);
    EXPECT_STREQ(sfilename, "~/same.bls");
    press(GUI_PLAY);
    EXPECT_STREQ(set_name, "~/same.bls");
    EXPECT_STREQ(fhead.set_title, "Own same");

    load_level_set("same.bls", 1);
    EXPECT_STREQ(fhead.set_title, "Shipped same");
    load_level_set("alpha.bls", 1);
    EXPECT_STREQ(fhead.set_title, "Own A");
    EXPECT_EQ(board[grid_index(1, 1)], 1);
}

// A set that cannot be read, or is too short for its header, starts no game:
// the player is told, and the file stays as it was. This holds for the
// browser's Play and the options' Play.
TEST_F(Browser, ASetThatCannotBeReadIsExplainedAndStartsNoGame)
{
    std::ofstream("level_sets/a_broken.bls") << "short";   // too short for its header
    write_set("good.bls", "Good");
    const std::string whole = file_bytes("level_sets/good.bls");
    const std::string cut = whole.substr(0, whole.size() - 100);   // its level is incomplete
    write_bytes("level_sets/cut.bls", cut);

    file_search(1);
    EXPECT_STREQ(fhead.set_title, "");
    press(GUI_PLAY);
    EXPECT_EQ(screen_is(SCREEN_BROWSER), 1);
    press(GUI_LEVEL);   // the cut set
    notice[0] = 0;
    press(GUI_PLAY);
    EXPECT_STREQ(notice, "This level set cannot be read.");
    EXPECT_EQ(screen_is(SCREEN_BROWSER), 1);
    EXPECT_EQ((fade_running() == FADE_OUT), 0);
    EXPECT_STREQ(set_name, "default.bls");
    EXPECT_EQ(press(GUI_LEVEL), "Good") << "Next still works";

    notice[0] = 0;
    snprintf(set_name, sizeof set_name, "cut.bls");
    screen_set(SCREEN_OPTIONS);
    GUI_PLAY = 1;
    play_options();
    EXPECT_STREQ(notice, "This level set cannot be read.");
    EXPECT_EQ(screen_is(SCREEN_OPTIONS) + (fade_running() == FADE_OUT), 0);
    EXPECT_EQ(file_bytes("level_sets/cut.bls"), cut);
    notice[0] = 0;
}

// A level drawn small and read back cell by cell: every brick in its colour,
// every empty cell (whatever colour it stores) the dark ground.
TEST_F(Browser, AThumbnailShowsEachCellOfItsLevel)
{
    static level_file_record rec;
    memset(&rec, 0, sizeof rec);
    for (int r = 1; r <= 20; r++)
        for (int c = 1; c <= 20; c++) {
            int k = grid_index(r, c);
            rec.block[LEVEL_TEXTURES].cells[k] = (r * 7 + c * 3) % 4 == 0 ? 0 : 1;
            rec.block[LEVEL_RED].cells[k] = (r * 6) % 128;
            rec.block[LEVEL_GREEN].cells[k] = (c * 6) % 128;
            rec.block[LEVEL_BLUE].cells[k] = 100;
        }
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    gui_frame();
    glDisable(GL_DEPTH_TEST);
    draw_thumbnail(rec, 0.5f, 2.0f, 5.5f, -0.4f, -5.0f);   // the canvas's own size: a cell each 0.25 x 0.12
    int wrong = 0;
    for (int r = 1; r <= 20; r++)
        for (int c = 1; c <= 20; c++) {
            int k = grid_index(r, c);
            bool brick = rec.block[LEVEL_TEXTURES].cells[k] != 0;
            rgb want = brick ? rgb{2 * rec.block[LEVEL_RED].cells[k], 2 * rec.block[LEVEL_GREEN].cells[k], 200}
                             : rgb{20, 20, 20};
            if (!rgb_near(cell_pixel(r, c), want, 3)) {
                wrong++;
                ADD_FAILURE() << "cell " << r << "," << c;
            }
        }
    EXPECT_EQ(wrong, 0);
    glEnable(GL_DEPTH_TEST);
}

// The browser previews the set's first level; its buttons flip through the
// levels, wrapping, and Next Set starts the preview at the first level again.
TEST_F(Browser, ThePreviewStartsAtTheFirstLevelAndFlipsThroughTheSet)
{
    set_file s(3, 0);
    s.title("Three");
    for (int lev = 1; lev <= 3; lev++)
        for (int r = 1; r <= 20; r++)
            for (int c = 1; c <= 20; c++) {
                s.set(lev, TEX_BLOCK, r, c, 1);
                s.set(lev, lev == 1 ? RED_BLOCK : lev == 2 ? GREEN_BLOCK : BLUE_BLOCK, r, c, 127);
            }
    s.write("level_sets/three.bls");
    write_set("zulu.bls", "Z");
    file_search(1);
    // The middle of the preview, in the GUI frame.
    auto centre = [] { return frame_pixel(3.36 + 0.36, 0.06 - 0.17); };
    struct { int *request; int level; rgb colour; } steps[] = {
        {nullptr, 1, {254, 0, 0}}, {&GUI_PREVIEW_NEXT, 2, {0, 254, 0}}, {&GUI_PREVIEW_NEXT, 3, {0, 0, 254}},
        {&GUI_PREVIEW_NEXT, 1, {254, 0, 0}}, {&GUI_PREVIEW_PREV, 3, {0, 0, 254}},
    };
    for (const auto &t : steps) {
        if (t.request)
            *t.request = 1;
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        level_loader();
        level_loader();   // the request is acted on after the frame's drawing
        EXPECT_EQ(preview_level, t.level);
        EXPECT_TRUE(rgb_near(centre(), t.colour, 3)) << "level " << t.level;
    }
    EXPECT_EQ(press(GUI_LEVEL), "Z");
    EXPECT_EQ(preview_level, 1);
}

}  // namespace
