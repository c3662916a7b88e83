// The view helpers: projection of frame points, read-backs, test textures and
// the game-folder view.

#include "gl_view.h"

#include <GL/glu.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "audio/audio.h"
#include "graphics/graphics.h"
#include "shell/shell.h"

::testing::AssertionResult rgb_near(rgb got, rgb want, int tol)
{
    if (abs(got.r - want.r) <= tol && abs(got.g - want.g) <= tol && abs(got.b - want.b) <= tol)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "drawn (" << got.r << ", " << got.g << ", " << got.b << "), wanted ("
                                         << want.r << ", " << want.g << ", " << want.b << ")";
}

void solid_texture(GLuint &name, int r, int g, int b)
{
    if (!name)
        glGenTextures(1, &name);  // as the editor's brick textures get theirs when loaded
    unsigned char px[12];
    for (int i = 0; i < 12; i++)
        px[i] = (unsigned char)(i % 3 == 0 ? r : i % 3 == 1 ? g : b);
    glBindTexture(GL_TEXTURE_2D, name);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 2, 2, 0, GL_RGB, GL_UNSIGNED_BYTE, px);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
}

void frame_to_window(double x, double y, double *wx, double *wy)
{
    GLdouble model[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, -3.0, 0, 0, 1}, proj[16], wz;
    GLint view[4];
    glGetDoublev(GL_PROJECTION_MATRIX, proj);
    glGetIntegerv(GL_VIEWPORT, view);
    gluProject(x, y, -5.0, model, proj, view, wx, wy, &wz);
}

rgb frame_pixel(double x, double y)
{
    double wx, wy;
    frame_to_window(x, y, &wx, &wy);
    return gl_read_pixel((int)wx, (int)wy);
}

double cell_centre_x(int c) { return 0.5 + 0.25 * (c - 1) + 0.125; }
double cell_centre_y(int r) { return 2.0 - 0.12 * (r - 1) - 0.06; }
rgb cell_pixel(int r, int c) { return frame_pixel(cell_centre_x(c), cell_centre_y(r)); }

std::vector<unsigned char> read_rgb(int x, int y, int w, int h)
{
    std::vector<unsigned char> px((size_t)w * h * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(x, y, w, h, GL_RGB, GL_UNSIGNED_BYTE, px.data());
    return px;
}

rgb frame_shot::at(int x, int y) const
{
    const unsigned char *p = &pixels[((size_t)(h - 1 - y) * w + x) * 3];
    return {p[0], p[1], p[2]};
}

int frame_shot::lit(int x, int y) const
{
    rgb p = at(x, y);
    return std::max(p.r, std::max(p.g, p.b));
}

frame_shot read_frame(int w, int h)
{
    return {w, h, read_rgb(0, 0, w, h)};
}

std::string screenshot_path(const std::string &name)
{
    std::string folder = std::string(CORVALE_BINARY_DIR) + "/screenshots";
    mkdir(folder.c_str(), 0755);
    return folder + "/" + name;
}

std::vector<unsigned char> texture_rgba(GLuint name, int *w, int *h)
{
    glBindTexture(GL_TEXTURE_2D, name);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, w);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, h);
    std::vector<unsigned char> d((size_t)*w * *h * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, d.data());
    return d;
}

void open_game_view(int w, int h)
{
    gl_context_open(w, h);
    ASSERT_EQ(chdir(CORVALE_GAME_DIR), 0);
    strcpy(plist, "sounds/songs/corvale.m3u");
    volume = evolume = 0;
    ASSERT_EQ(init_sound(), 1);
    ASSERT_EQ(InitGL(), 1);
}

void close_game_view()
{
    shutdown_sound();
    gl_context_close();
}

void TexturedGLTest::SetUpTestSuite()
{
    GLTest::SetUpTestSuite();
    generate_texture_names();
}
