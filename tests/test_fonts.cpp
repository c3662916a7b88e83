// The two outline fonts: they build, printing moves the transformation by the
// glyphs' advances, and glyphs are filled with their holes kept.

#include <gtest/gtest.h>

#include <GL/gl.h>

#include <cstring>
#include <string>
#include <vector>

#include "gl_view.h"
#include "graphics/graphics.h"

namespace {

const int W = 640, H = 480;
const float EM_PIXELS = 400.0f;  // glyph scale of the pixel tests

class Fonts : public GLTest {
protected:
    static void SetUpTestSuite()
    {
        GLTest::SetUpTestSuite();
        ASSERT_EQ(BuildsFont(), 1);
        ASSERT_EQ(BuildFont(), 1);
    }
    static void TearDownTestSuite()
    {
        KillFont();
        KillsFont();
        GLTest::TearDownTestSuite();
    }
    void SetUp() override
    {
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
    }
};

// The modelview matrix's translation after printing from the identity.
struct shift { float x, y, z; };
shift current_shift()
{
    float m[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    return {m[12], m[13], m[14]};
}

float large_advance(const std::string &s)
{
    glLoadIdentity();
    glPrint("%s", s.c_str());
    return current_shift().x;
}

float small_advance(const std::string &s)
{
    glLoadIdentity();
    glsPrint("%s", s.c_str());
    return current_shift().x;
}

// Draws text in the large font, white on black, one em EM_PIXELS high, origin at (x, y).
std::vector<unsigned char> draw_large(const char *text, float x, float y)
{
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, W, 0, H, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glColor3f(1, 1, 1);
    glTranslatef(x, y, 0);
    glScalef(EM_PIXELS, EM_PIXELS, 1);
    glPrint("%s", text);
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    std::vector<unsigned char> lit(W * H), rgb = read_rgb(0, 0, W, H);
    for (int i = 0; i < W * H; i++)
        lit[i] = rgb[i * 3] > 128;
    return lit;
}

struct box { int x0, y0, x1, y1; };
box ink_box(const std::vector<unsigned char> &lit)
{
    box b = {W, H, -1, -1};
    for (int y = 0; y < H; y++)
        for (int x = 0; x < W; x++)
            if (lit[y * W + x]) {
                b.x0 = std::min(b.x0, x);
                b.x1 = std::max(b.x1, x);
                b.y0 = std::min(b.y0, y);
                b.y1 = std::max(b.y1, y);
            }
    return b;
}

// Runs of lit pixels along a row (step 1 from the row's start) or a column
// (step W from the column's top).
int runs(const std::vector<unsigned char> &lit, int start, int step, int n)
{
    int count = 0;
    for (int i = 0; i < n; i++)
        count += lit[start + i * step] && (i == 0 || !lit[start + (i - 1) * step]);
    return count;
}

// Advances in em units of Arial's metrics, which Liberation Sans shares.
TEST_F(Fonts, AdvancesAreInEmUnitsAndAddUp)
{
    EXPECT_NEAR(large_advance("A"), 1479.0f / 2048, 0.002);
    EXPECT_NEAR(small_advance("A"), 1366.0f / 2048, 0.002);
    EXPECT_NEAR(small_advance(" "), 569.0f / 2048, 0.002);
    EXPECT_NEAR(large_advance("ABBA  "), 4 * 1479.0f / 2048 + 2 * 569.0f / 2048, 0.005);

    // A string moves by the sum of its glyphs' advances; the small font also steps back in z.
    const std::string s = "Level 10: ";
    float sum = 0;
    for (char c : s)
        sum += large_advance(std::string(1, c));
    EXPECT_NEAR(large_advance(s), sum, 1e-4);
    glLoadIdentity();
    glsPrint("%s", s.c_str());
    shift after = current_shift();
    EXPECT_FLOAT_EQ(after.z, -40.0f);
    EXPECT_FLOAT_EQ(after.y, 0.0f);
    EXPECT_GT(after.x, 2.0f);
}

TEST_F(Fonts, EmptyTextLeavesTheTransformationAlone)
{
    const char *empty = "";
    glPrint("%s", empty);
    shift s = current_shift();
    EXPECT_TRUE(s.x == 0.0f && s.z == 0.0f);
    glPrint(nullptr);
    glsPrint(nullptr);
    EXPECT_EQ(current_shift().z, 0.0f);
    glsPrint("%s", empty);
    s = current_shift();
    EXPECT_TRUE(s.x == 0.0f && s.z == -40.0f);
}

TEST_F(Fonts, OverlongTextIsCutAtTheBuffer)
{
    std::string a(5000, 'A');
    EXPECT_NEAR(large_advance(a), 4095 * large_advance("A"), 0.05);
}

TEST_F(Fonts, WindowsCodesMapToTheirGlyphs)
{
    EXPECT_NEAR(large_advance("\xe9"), large_advance("e"), 1e-5);  // é
    EXPECT_NEAR(large_advance("\xdc"), large_advance("U"), 1e-5);  // Ü
    for (const char *sign : {"\x80", "\x93", "\xa9"}) {           // euro, left quote, copyright
        box b = ink_box(draw_large(sign, 100, 100));
        EXPECT_GT(b.x1, b.x0) << (int)(unsigned char)sign[0];
    }
}

// A text printed again under the same matrices is put back from the pixels
// it covered: the very pixels its glyphs give, blended alike over what lies
// beneath, with the transformation moved on alike; a text across the view's
// edge is drawn as glyphs. The glyphs alone are seen with texturing on
// (nothing bound), which no kept text reproduces; a text is kept when it is
// printed the second time, and put back from then on.
TEST_F(Fonts, KeptTextsShowWhatTheirGlyphsShow)
{
    struct { const char *text; float x, y, z; int small, kept; } cases[] = {
        {"Help: Space or the left button launches the ball (power-ups 1/17).", -6.5f, 1.0f, -10.0f, 1, 1},
        {"Brick 12/24 %&@ WAVE", -2.0f, -0.6f, -4.0f, 0, 1},
        {"across the edge", 1.4f, 0.0f, -4.0f, 0, 0},
    };
    for (const auto &c : cases) {
        std::vector<unsigned char> shown[4];
        float after[4][16];
        int before = kept_texts();
        for (int kept = 0; kept < 4; kept++) {
            glMatrixMode(GL_PROJECTION);
            glLoadIdentity();
            glFrustum(-0.55, 0.55, -0.41, 0.41, 1.0, 100.0);
            glMatrixMode(GL_MODELVIEW);
            glLoadIdentity();
            glClearColor(0.2f, 0.4f, 0.6f, 1.0f);
            glClear(GL_COLOR_BUFFER_BIT);
            glDisable(GL_DEPTH_TEST);
            glBindTexture(GL_TEXTURE_2D, 0);
            kept ? glDisable(GL_TEXTURE_2D) : glEnable(GL_TEXTURE_2D);
            glEnable(GL_BLEND);
            glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
            glColor4f(0.9f, 0.5f, 0.1f, 1.0f);
            glTranslatef(c.x, c.y, c.z);
            c.small ? glsPrint("%s", c.text) : glPrint("%s", c.text);
            glGetFloatv(GL_MODELVIEW_MATRIX, after[kept]);
            shown[kept] = read_rgb(0, 0, W, H);
        }
        glDisable(GL_TEXTURE_2D);
        glDisable(GL_BLEND);
        EXPECT_EQ(kept_texts(), before + c.kept) << c.text;
        EXPECT_TRUE(shown[0] == shown[1] && shown[0] == shown[2] && shown[0] == shown[3]) << c.text;
        EXPECT_EQ(memcmp(after[0], after[3], sizeof after[0]), 0) << c.text;
    }
}

// A "B": stem and bowls solid, both counters open.
TEST_F(Fonts, LetterBKeepsBothHoles)
{
    std::vector<unsigned char> lit = draw_large("B", 100, 50);
    box b = ink_box(lit);
    int h = b.y1 - b.y0, w = b.x1 - b.x0;
    ASSERT_GT(h, 200);
    int lower = b.y0 + h / 4, upper = b.y0 + h * 3 / 4, middle = b.x0 + w * 45 / 100;
    EXPECT_EQ(runs(lit, lower * W, 1, W), 2);
    EXPECT_EQ(runs(lit, upper * W, 1, W), 2);
    EXPECT_EQ(runs(lit, middle, W, H), 3);
    EXPECT_TRUE(lit[lower * W + b.x0 + 5]);            // the stem
    EXPECT_FALSE(lit[lower * W + middle]);             // the lower counter
    EXPECT_FALSE(lit[upper * W + middle]);             // the upper counter
    EXPECT_TRUE(lit[(b.y0 + 3) * W + middle]);         // the bottom stroke
}

}  // namespace
