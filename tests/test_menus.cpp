// The menus: the pointer's scale by client size, the title's fades, the main
// menu's hover lighting, the panel buttons' selection codes and the help
// page, drawn in a real offscreen GL context and read back as pixels.

#include <gtest/gtest.h>

#include <GL/gl.h>
#include <GL/glu.h>

#include "editor/editor.h"
#include "gl_context.h"
#include "graphics/graphics.h"
#include "menus/menus.h"
#include "shell/shell.h"

namespace {

// A 2 x 2 texture of one colour in the given name slot.
void solid_texture(GLuint &name, int r, int g, int b)
{
    if (!name)
        glGenTextures(1, &name);
    unsigned char px[12];
    for (int i = 0; i < 4; i++) {
        px[i * 3] = (unsigned char)r;
        px[i * 3 + 1] = (unsigned char)g;
        px[i * 3 + 2] = (unsigned char)b;
    }
    glBindTexture(GL_TEXTURE_2D, name);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 2, 2, 0, GL_RGB, GL_UNSIGNED_BYTE, px);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
}

// The window pixel of a GUI-frame point at z -5.
rgb gui_pixel(float x, float y)
{
    GLdouble model[16], proj[16], wx, wy, wz;
    GLint view[4];
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glTranslatef(-3.0f, 0.0f, 0.0f);
    glGetDoublev(GL_MODELVIEW_MATRIX, model);
    glPopMatrix();
    glGetDoublev(GL_PROJECTION_MATRIX, proj);
    glGetIntegerv(GL_VIEWPORT, view);
    gluProject(x, y, -5.0, model, proj, view, &wx, &wy, &wz);
    return gl_read_pixel((int)wx, (int)wy);
}

// Puts the pointer on a GUI-frame point (pointery grows downward).
void point_at(float x, float y)
{
    pointerx = x;
    pointery = -y;
}

// ---- Pointer scale ----

class PointerScale : public ::testing::Test {
protected:
    int saved_x = screenx, saved_y = screeny;
    float saved_sens = msensitivity;
    void SetUp() override { msensitivity = 8.0f; }
    void TearDown() override
    {
        screenx = saved_x;
        screeny = saved_y;
        msensitivity = saved_sens;
    }
    float scale_at(int w, int h)
    {
        screenx = w;
        screeny = h;
        return pointer_scale();
    }
};

TEST_F(PointerScale, LaterRulesReplaceEarlierOnes)
{
    EXPECT_FLOAT_EQ(scale_at(800, 600), 0.7f / 800);
    EXPECT_FLOAT_EQ(scale_at(1280, 720), 0.9f / 1280);
    EXPECT_FLOAT_EQ(scale_at(1280, 800), 0.9f / 1280);
    EXPECT_FLOAT_EQ(scale_at(1280, 960), 0.9f / 1280);
    EXPECT_FLOAT_EQ(scale_at(1280, 1024), 1.0f / 1280);
    EXPECT_FLOAT_EQ(scale_at(1920, 1080), 1.0f / 1920);
}

TEST_F(PointerScale, A720HighViewNot1280WideKeepsThePointerWhereItWas)
{
    scale_at(800, 600);
    mouseX = 100;
    mouseY = 100;
    move_pointer();
    float x = pointerx, y = pointery;
    EXPECT_EQ(scale_at(1366, 720), 0.0f);
    mouseX = 700;
    mouseY = 500;
    move_pointer();
    EXPECT_EQ(pointerx, x);
    EXPECT_EQ(pointery, y);
}

TEST_F(PointerScale, BothAxesUseTheWidthAndAreClamped)
{
    scale_at(800, 600);
    mouseX = 0;
    mouseY = 0;
    move_pointer();
    EXPECT_FLOAT_EQ(pointerx, 0.25f);
    EXPECT_FLOAT_EQ(pointery, -2.0f);

    mouseX = mouseY = 100;
    move_pointer();
    EXPECT_FLOAT_EQ(pointery, 100 * 0.7f / 800 * 8 - 2.0f);

    // With sensitivity 8 the right edge is reached before the window's.
    mouseX = 750;
    move_pointer();
    EXPECT_FLOAT_EQ(pointerx, 5.5f);
    mouseX = 799;
    mouseY = 599;
    move_pointer();
    EXPECT_FLOAT_EQ(pointerx, 5.5f);
    EXPECT_FLOAT_EQ(pointery, 2.0f);
}

// ---- Drawing fixture ----

class Menus : public GLTest {
protected:
    void SetUp() override
    {
        menu = 1;
        fadein = fadeout = 0;
        title_alpha = 1.0f;
        titlex = 2.7245f;
        menublock = gui_block = gui_select = 0;
        help = options = showscores = end_credits = loadgui = 0;
        GUI_OK = GUI_CANCEL = 0;
        test = testing_level = edit = 0;
        classic = 0;
        dropped = 0;
        solid_texture(textures[1], 0, 0, 0);         // a black title picture
        for (int slot : {17, 11, 6, 9, 1, 7, 15, 23})
            solid_texture(ticon[slot], 255, 255, 255);
        point_at(0.3f, 1.9f);                          // over nothing
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);  // as InitGL leaves it
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    }

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
        while ((fadein || fadeout) && n < 1000) {
            frame();
            n++;
        }
        return n;
    }
};

// Centre of menu icon k in the GUI frame.
float icon_x(int k) { return 1.8f + 0.5f * k; }
const float ICON_Y = -0.425f;

// ---- Fades ----

TEST_F(Menus, FadeInFromZeroTakes101Frames)
{
    title_alpha = 0.0f;
    fadein = 1;
    gamestart = 1;
    bar_alpha = 1.0f;
    EXPECT_EQ(frames_of_fade(), 101);
    EXPECT_EQ(title_alpha, 1.0f);
    EXPECT_EQ(gamestart, 0);
    EXPECT_EQ(menu, 1);
    EXPECT_NEAR(bar_alpha, -0.01f, 1e-4);
}

TEST_F(Menus, FadeOutFromOneTakes101FramesAndStartsPlay)
{
    fadeout = 1;
    bar_alpha = 0.0f;
    EXPECT_EQ(frames_of_fade(), 101);
    EXPECT_EQ(title_alpha, 0.0f);
    EXPECT_EQ(menu, 0);
    EXPECT_NEAR(titlex, 2.7245f - 101 * 0.009f, 1e-4);
    EXPECT_NEAR(bar_alpha, 1.01f, 1e-4);
}

TEST_F(Menus, EditorReturnsOnlyWhenTheFadeInAfterATestGameEnds)
{
    title_alpha = 0.0f;
    fadein = 1;
    test = testing_level = 1;
    drag = 1;
    for (int i = 0; i < 100; i++)
        frame();
    EXPECT_EQ(edit, 0);
    EXPECT_EQ(test, 1);
    frame();
    EXPECT_EQ(fadein, 0);
    EXPECT_EQ(edit, 1);
    EXPECT_EQ(test, 0);
    EXPECT_EQ(testing_level, 0);
    EXPECT_EQ(drag, 0);
    EXPECT_EQ(gui_block, 1);
}

// ---- Main menu ----

TEST_F(Menus, HoveringAnIconSelectsItAndLightsIt)
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
    rgb lit = gui_pixel(icon_x(4), ICON_Y);
    rgb dim = gui_pixel(icon_x(3), ICON_Y);
    rgb gap = gui_pixel(icon_x(3) + 0.25f, ICON_Y);
    EXPECT_GE(lit.r, 250);
    EXPECT_NEAR(dim.r, 217, 4);   // 0.85 of white over the black title
    EXPECT_LE(gap.r, 5);

    // Hovering works while the title still fades in.
    title_alpha = 0.5f;
    fadein = 1;
    point_at(icon_x(5), ICON_Y);
    frame();
    EXPECT_EQ(selected, 5);
}

TEST_F(Menus, AnOpenOverlayKeepsTheMenuUnlit)
{
    menublock = 1;
    point_at(icon_x(0), ICON_Y);
    frame();
    EXPECT_EQ(selected, 0);
    EXPECT_NEAR(gui_pixel(icon_x(0), ICON_Y).r, 217, 4);
}

TEST_F(Menus, HoveringEditLevelsLeavesClassicMode)
{
    classic = 1;
    point_at(icon_x(1), ICON_Y);
    frame();
    EXPECT_EQ(classic, 1);
    point_at(icon_x(2), ICON_Y);
    frame();
    EXPECT_EQ(classic, 0);
}

// ---- Panel buttons ----

TEST_F(Menus, ButtonEdgesCountAsHovered)
{
    // Style 4: OK at (x2 - 0.25, y1 - 0.07), 0.12 square.
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

TEST_F(Menus, MessagePanelsKeepTheCodeButListsClearIt)
{
    point_at(4.2f - 0.2f, 0.8f);
    gui_win(1.8f, 0.9f, 4.2f, 0.65f, " ", " ", 4);
    ASSERT_EQ(gui_select, 1);
    point_at(0.3f, -1.9f);
    gui_win(1.8f, 0.9f, 4.2f, 0.65f, " ", " ", 4);
    EXPECT_EQ(gui_select, 1);

    point_at(4.4f, 1.45f);   // Cancel of a style 5 panel at x2 = 4.6
    gui_win(1.4f, 1.55f, 4.6f, -1.0f, " ", " ", 5);
    ASSERT_EQ(gui_select, 2);
    point_at(0.3f, -1.9f);
    gui_win(1.4f, 1.55f, 4.6f, -1.0f, " ", " ", 5);
    EXPECT_EQ(gui_select, 0);
}

TEST_F(Menus, OkClosesTheLevelSavedPanel)
{
    saved = 1;
    l_saved();
    EXPECT_EQ(gui_block, 1);
    EXPECT_EQ(saved, 1);
    GUI_OK = 1;
    l_saved();
    EXPECT_EQ(saved, 0);
    EXPECT_EQ(gui_block, 0);
    EXPECT_EQ(GUI_OK, 0);
}

// ---- Help page ----

TEST_F(Menus, HelpShowsAllSeventeenPowerUps)
{
    for (int kind = 1; kind <= 17; kind++)
        solid_texture(puptextures[kind], 10 * kind + 40, 200, 250 - 10 * kind);
    help = 1;
    frame();
    EXPECT_EQ(menublock, 1);
    const float xs[4] = {1.0f, 2.1f, 3.2f, 4.3f};
    const float ys[5] = {1.25f, 0.75f, 0.25f, -0.25f, -0.75f};
    for (int kind = 1; kind <= 17; kind++) {
        int col = (kind - 1) / 5, row = (kind - 1) % 5;
        rgb p = gui_pixel(xs[col] + 0.15f, ys[row] - 0.15f);
        EXPECT_NEAR(p.r, 10 * kind + 40, 3) << kind;
        EXPECT_NEAR(p.g, 200, 3) << kind;
        EXPECT_NEAR(p.b, 250 - 10 * kind, 3) << kind;
    }
    // No menu item reacts under the page.
    point_at(icon_x(0), ICON_Y);
    frame();
    EXPECT_EQ(selected, 0);
}

TEST_F(Menus, HelpCancelClosesThePage)
{
    help = 1;
    point_at(5.05f + 0.06f, 1.48f - 0.06f);
    frame();
    ASSERT_EQ(gui_select, 2);
    EXPECT_EQ(help, 1);

    // The press, as the window procedure turns code 2 into the request.
    GUI_CANCEL = 1;
    gui_select = 0;
    frame();
    EXPECT_EQ(help, 0);
    EXPECT_EQ(GUI_CANCEL, 0);
    EXPECT_EQ(menublock, 0);
    EXPECT_EQ(gui_block, 0);

    // The menu reacts again on the next frame.
    point_at(icon_x(0), ICON_Y);
    frame();
    EXPECT_EQ(selected, 1);
}

TEST_F(Menus, CreditsCoverTheMenuAndBlockIt)
{
    solid_texture(textures[14], 40, 80, 160);
    end_credits = 1;
    point_at(icon_x(0), ICON_Y);
    frame();
    EXPECT_EQ(menublock, 1);
    rgb p = gui_pixel(icon_x(0), ICON_Y);
    EXPECT_NEAR(p.r, 40, 3);
    EXPECT_NEAR(p.g, 80, 3);
    EXPECT_NEAR(p.b, 160, 3);
}

// ---- Pointer drawing ----

TEST_F(Menus, PointerTurnsGreenWhileTheEyedropperIsArmed)
{
    solid_texture(textures[5], 255, 255, 255);
    mouseX = 320;
    mouseY = 240;
    msensitivity = 8.0f;
    drawpointer();
    float x = pointerx + 0.06f, y = -pointery - 0.06f;
    rgb white = gui_pixel(x, y);
    EXPECT_GE(white.g, 250);
    EXPECT_GE(white.r, 250);

    glClear(GL_COLOR_BUFFER_BIT);
    dropped = 1;
    drawpointer();
    rgb green = gui_pixel(x, y);
    EXPECT_NEAR(green.r, 128, 3);
    EXPECT_GE(green.g, 250);
    dropped = 0;
}

}  // namespace
