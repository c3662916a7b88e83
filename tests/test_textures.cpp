// The texture loaders: good and damaged PNG files, the transparency rule read
// back from the texture, the numbered scans, and the game folder's own images.

#include <gtest/gtest.h>

#include <GL/gl.h>
#include <png.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

#include "gl_view.h"
#include "player_folder.h"
#include "graphics/graphics.h"
#include "rules/rules.h"
#include "shell/shell.h"

namespace {

struct pixel { unsigned char r, g, b; };

// Writes a PNG of the given colour type and depth; pixels fill the RGB
// channels, other channels are set opaque or grey.
void write_png(const std::string &path, int w, int h, const std::vector<pixel> &px,
               int colour = PNG_COLOR_TYPE_RGB, int depth = 8, int interlace = PNG_INTERLACE_NONE)
{
    FILE *f = fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_init_io(png, f);
    png_set_IHDR(png, info, w, h, depth, colour, interlace, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_color palette[1] = {{10, 20, 30}};
    if (colour == PNG_COLOR_TYPE_PALETTE)
        png_set_PLTE(png, info, palette, 1);
    png_write_info(png, info);
    int channels = colour == PNG_COLOR_TYPE_RGB ? 3 : colour == PNG_COLOR_TYPE_RGBA ? 4 : 1;
    int bytes = channels * depth / 8;
    std::vector<unsigned char> row(w * bytes);
    for (int pass = png_set_interlace_handling(png); pass > 0; pass--)
        for (int y = 0; y < h; y++) {
            for (int x = 0; x < w; x++) {
                const pixel &p = px.empty() ? pixel{200, 100, 50} : px[y * w + x];
                unsigned char v[4] = {p.r, p.g, p.b, 255};
                for (int c = 0; c < bytes; c++)
                    row[x * bytes + c] = colour == PNG_COLOR_TYPE_PALETTE ? 0 : v[c % 4];
            }
            png_write_row(png, row.data());
        }
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    fclose(f);
}

// Each test runs in a fresh empty folder, as if it were the game folder.
class TextureLoading : public TexturedGLTest {
protected:
    static void SetUpTestSuite()
    {
        unsetenv("DISPLAY");  // message boxes go to standard error only
        TexturedGLTest::SetUpTestSuite();
    }
    void SetUp() override
    {
        std::filesystem::create_directories("graphics/backgrounds");
        bad_file[0] = '\0';
    }
    player_folder folder{0};
};

TEST_F(TextureLoading, PlainAndInterlacedImagesUploadTheirPixels)
{
    std::vector<pixel> px(16 * 16);
    for (int i = 0; i < 256; i++)
        px[i] = {(unsigned char)i, (unsigned char)(i / 16 * 10), (unsigned char)(255 - i)};
    for (int interlace : {PNG_INTERLACE_NONE, PNG_INTERLACE_ADAM7}) {
        write_png("image.png", 16, 16, px, PNG_COLOR_TYPE_RGB, 8, interlace);
        ASSERT_EQ(read_png_file("image.png", 0, TABLE_PUPTEXTURES, 17), 1);
        int w, h;
        std::vector<unsigned char> t = texture_rgba(puptextures[17], &w, &h);
        ASSERT_EQ(w, 16);
        ASSERT_EQ(h, 16);
        for (int i = 0; i < 256; i++)
            ASSERT_TRUE(t[i * 4] == px[i].r && t[i * 4 + 1] == px[i].g && t[i * 4 + 2] == px[i].b)
                << "interlace " << interlace << " pixel " << i;
    }
}

TEST_F(TextureLoading, PureBlackIsTransparentNearBlackOpaqueUpTo4096Pixels)
{
    std::vector<pixel> px(64 * 64, pixel{90, 90, 90});
    px[0] = {0, 0, 0};
    px[1] = {0, 0, 1};
    px[64 * 64 - 1] = {0, 0, 0};
    write_png("pointer.png", 64, 64, px);
    ASSERT_EQ(read_png_file("pointer.png", 1, TABLE_TEXTURES, 5), 1);
    int w, h;
    std::vector<unsigned char> t = texture_rgba(textures[5], &w, &h);
    ASSERT_EQ(w * h, 64 * 64);
    EXPECT_EQ(t[3], 0);
    EXPECT_EQ(t[4 + 2], 1);
    EXPECT_EQ(t[4 + 3], 255);
    EXPECT_EQ(t[8 + 3], 255);
    EXPECT_EQ(t[(64 * 64 - 1) * 4 + 3], 0);

    // Transparent images stop at 4096 pixels, as the one above has; opaque mode has room.
    write_png("65.png", 65, 65, {});
    write_png("wide.png", 4097, 1, {});
    EXPECT_EQ(read_png_file("65.png", 1, TABLE_TICON, 30), 0);
    EXPECT_STREQ(bad_file, "65.png");
    EXPECT_EQ(read_png_file("wide.png", 1, TABLE_TVIS, 1), 0);
    EXPECT_EQ(read_png_file("65.png", 0, TABLE_TEXTURES, 6), 1);
}

TEST_F(TextureLoading, DamagedOrUnsuitableFilesAreRefusedByName)
{
    write_png("good.png", 4, 4, {});
    std::string good = file_bytes("good.png");
    write_bytes("truncated.png", good.substr(0, good.size() / 2));
    write_bytes("short.png", good.substr(0, 5));
    write_bytes("text.png", "hello png\n");
    std::string flipped = good;
    flipped[flipped.size() - 20] ^= 0x5a;  // inside the image data, so its checksum fails
    write_bytes("flipped.png", flipped);
    write_png("rgba.png", 4, 4, {}, PNG_COLOR_TYPE_RGBA);
    write_png("grey.png", 4, 4, {}, PNG_COLOR_TYPE_GRAY);
    write_png("palette.png", 4, 4, {}, PNG_COLOR_TYPE_PALETTE);
    write_png("deep.png", 4, 4, {}, PNG_COLOR_TYPE_RGB, 16);
    for (const char *name : {"absent.png", "truncated.png", "short.png", "text.png", "flipped.png",
                             "rgba.png", "grey.png", "palette.png", "deep.png"})
        for (int transparent = 0; transparent <= 1; transparent++) {
            bad_file[0] = '\0';
            EXPECT_EQ(read_png_file(name, transparent, TABLE_TEXTURES, 3), 0) << name;
            EXPECT_STREQ(bad_file, name);
        }
    EXPECT_EQ(read_png_file("good.png", 0, TABLE_TEXTURES, 3), 1);
}

// The icon as the help page shows it, 0.3 units across at depth 5: its pixels
// read back from the 640 x 480 view.
std::vector<unsigned char> shown_icon(GLuint name)
{
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glDisable(GL_BLEND);
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, name);
    glColor4f(1, 1, 1, 1);
    glLoadIdentity();
    glBegin(GL_QUADS);
    glTexCoord2f(0, 1); glVertex3f(-0.137f, -0.15f, -5.0f);
    glTexCoord2f(1, 1); glVertex3f(0.163f, -0.15f, -5.0f);
    glTexCoord2f(1, 0); glVertex3f(0.163f, 0.15f, -5.0f);
    glTexCoord2f(0, 0); glVertex3f(-0.137f, 0.15f, -5.0f);
    glEnd();
    glDisable(GL_TEXTURE_2D);
    return read_rgb(0, 0, 640, 480);
}

// An icon loaded without the levels its shown size never samples is drawn
// pixel for pixel as the whole chain draws it; one level fewer would not be.
TEST_F(TextureLoading, ReducedIconsDrawAsTheWholeChain)
{
    std::vector<pixel> px(128 * 128);
    for (int i = 0; i < 128 * 128; i++)
        px[i] = {(unsigned char)(i * 37), (unsigned char)((i / 128) * 5 + i % 7), (unsigned char)(i ^ (i >> 5))};
    write_png("icon.png", 128, 128, px);
    ASSERT_EQ(read_png_file("icon.png", 0, TABLE_PUPTEXTURES, 1), 1);
    ASSERT_EQ(read_png_reduced("icon.png", TABLE_PUPTEXTURES, 2, 35), 1);
    ASSERT_EQ(read_png_reduced("icon.png", TABLE_PUPTEXTURES, 3, 30), 1);
    int w, h;
    texture_rgba(puptextures[2], &w, &h);
    EXPECT_EQ(w, 64);
    texture_rgba(puptextures[3], &w, &h);
    EXPECT_EQ(w, 32);
    std::vector<unsigned char> whole = shown_icon(puptextures[1]);
    EXPECT_TRUE(shown_icon(puptextures[2]) == whole);
    EXPECT_FALSE(shown_icon(puptextures[3]) == whole);
    // Shown at least as large as the picture, nothing is left out.
    ASSERT_EQ(read_png_reduced("icon.png", TABLE_PUPTEXTURES, 2, 128), 1);
    texture_rgba(puptextures[2], &w, &h);
    EXPECT_EQ(w, 128);
}

// No background shows none; bg1-3 and bg5 give three, uploaded as they are
// used; a damaged one is refused. Start-up refuses a folder without its
// images, naming the title's picture.
TEST_F(TextureLoading, TheBackgroundAndBrickScansStopAtTheFirstGapAndStartupWantsItsImages)
{
    ASSERT_EQ(load_backgrounds(), 1);
    EXPECT_EQ(backmax, 0);
    EXPECT_EQ(backnum, 0);

    for (int k : {1, 2, 3, 5})
        write_png("graphics/backgrounds/bg" + std::to_string(k) + ".png", 8, 8, {});
    ASSERT_EQ(load_backgrounds(), 1);
    EXPECT_EQ(backmax, 3);
    EXPECT_GE(backnum, 1);
    EXPECT_LE(backnum, 3);

    // Only the background in use holds its image; the one before gives its storage back.
    write_png("graphics/backgrounds/bg2.png", 8, 8, std::vector<pixel>(64, pixel{10, 220, 30}));
    int w, h;
    ASSERT_EQ(bind_background(1), 1);
    EXPECT_EQ(texture_rgba(backtex[1], &w, &h)[0], 200);
    ASSERT_EQ(bind_background(2), 1);
    EXPECT_EQ(texture_rgba(backtex[2], &w, &h)[1], 220);
    texture_rgba(backtex[1], &w, &h);
    EXPECT_EQ(w * h, 0);
    EXPECT_EQ(bind_background(4), 0);

    write_bytes("graphics/backgrounds/bg2.png", "\1\2\3");
    EXPECT_EQ(load_backgrounds(), 0);
    EXPECT_STREQ(bad_file, "graphics/backgrounds/bg2.png");
    EXPECT_EQ(backmax, 1);

    EXPECT_EQ(load_startup(), 0);
    EXPECT_STREQ(bad_file, "graphics/title1280.png");
    KillFont();
    KillsFont();

    // The brick scan counts files to the first gap and blackens a short one.
    std::string brick(BRICK_TEX_BYTES, '\x80');
    write_bytes("bricks/b1.raw", brick);
    write_bytes("bricks/b2.raw", std::string(100, '\xff'));
    write_bytes("bricks/b4.raw", brick);
    load_bricks();
    EXPECT_EQ(texmax, 2);
    std::vector<unsigned char> t = texture_rgba(etexname[2], &w, &h);
    EXPECT_EQ(w, 64);
    EXPECT_EQ(h, 32);
    EXPECT_EQ(t[0], 0xff);
    EXPECT_EQ(t[t.size() - 4], 0);

    // A table without names gets them for the files found, and no more.
    GLuint names[10] = {};
    EXPECT_EQ(load_brick_files(names, 9), 2);
    EXPECT_NE(names[1], 0u);
    EXPECT_NE(names[2], 0u);
    EXPECT_EQ(names[3], 0u);
}

// The shipped game folder: every fixed image loads, and the pointer's black is
// see-through. The title and end-screen pictures are uploaded at the size the
// view shows them at, never above their own, and follow the view when it changes.
TEST_F(TextureLoading, GameFolderImagesLoadAndViewFillingOnesFollowTheViewSize)
{
    ASSERT_EQ(chdir(CORVALE_GAME_DIR), 0);
    ReSizeGLScene(640, 480);
    EXPECT_EQ(load_textures() + init_icons() + init_visible(), 3) << bad_file;
    EXPECT_GE(backmax, 1);
    EXPECT_GE(texmax, 1);

    int w, h;
    std::vector<unsigned char> t = texture_rgba(textures[5], &w, &h);
    int clear = 0;
    for (size_t p = 0; p < t.size(); p += 4) {
        bool black = t[p] == 0 && t[p + 1] == 0 && t[p + 2] == 0;
        ASSERT_EQ(t[p + 3], black ? 0 : 255);
        clear += black;
    }
    EXPECT_GT(clear, 0);

    // The end screen's picture is read when it is first shown.
    texture_rgba(textures[14], &w, &h);
    EXPECT_EQ(w, 0) << "the end screen's picture was loaded at start-up";
    ASSERT_EQ(load_credits(), 1);
    for (GLuint name : {textures[1], textures[14]}) {
        std::vector<unsigned char> pic = texture_rgba(name, &w, &h);
        EXPECT_EQ(w, 649);
        EXPECT_EQ(h, 487);
        // Still the picture: lit, not a flat fill.
        int lo = 255, hi = 0;
        for (size_t p = 0; p < pic.size(); p += 4) {
            lo = std::min<int>(lo, pic[p + 1]);
            hi = std::max<int>(hi, pic[p + 1]);
        }
        EXPECT_GT(hi - lo, 100);
    }
    ReSizeGLScene(1600, 1200);  // shown larger than the pictures themselves
    for (GLuint name : {textures[1], textures[14]}) {
        texture_rgba(name, &w, &h);
        EXPECT_EQ(w, 1280);
        EXPECT_EQ(h, 960);
    }
    ReSizeGLScene(1280, 720);  // a wide view shows the picture 4:3, between bars
    texture_rgba(textures[1], &w, &h);
    EXPECT_EQ(w, 974);
    EXPECT_EQ(h, 731);
    // The power-up icons, 128 across, keep the levels the view can show.
    ReSizeGLScene(640, 480);
    texture_rgba(puptextures[5], &w, &h);
    EXPECT_EQ(w, 64);
    ReSizeGLScene(1600, 1200);
    texture_rgba(puptextures[5], &w, &h);
    EXPECT_EQ(w, 128);
    ReSizeGLScene(640, 480);
}

}  // namespace
