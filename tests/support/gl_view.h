// Looking at what the game drew in the offscreen context: points of the play
// field or the GUI in the window, pixels, frames and textures read back.
#pragma once

#include <GL/gl.h>

#include <string>
#include <vector>

#include "gl_context.h"

// Success when each channel of got lies within tol of want.
::testing::AssertionResult rgb_near(rgb got, rgb want, int tol);

// A 2 x 2 texture of one colour; names an empty slot first.
void solid_texture(GLuint &name, int r, int g, int b);

// Window position (origin bottom-left) of a point of the play field's or the
// GUI's frame (both drawn 3 units left, at z -5), in the current view.
void frame_to_window(double x, double y, double *wx, double *wy);
// The pixel drawn at a point of that frame.
rgb frame_pixel(double x, double y);

// Centre of grid column c and row r (1..20) in that frame, stated here on
// their own: the field runs from x 0.5 and y 2.0, cells 0.25 x 0.12.
double cell_centre_x(int c);
double cell_centre_y(int r);
// The pixel drawn at the centre of cell (r, c).
rgb cell_pixel(int r, int c);

// A w x h RGB block of the back buffer from (x, y), rows bottom-up.
std::vector<unsigned char> read_rgb(int x, int y, int w, int h);

// A whole frame of the back buffer, read as RGB.
struct frame_shot {
    int w, h;
    std::vector<unsigned char> pixels;    // RGB rows bottom-up, as GL reads them
    rgb at(int x, int y) const;           // pixel (x, y) from the top-left corner
    int lit(int x, int y) const;          // its brightest channel
};
frame_shot read_frame(int w, int h);

// Path of a screenshot in the build's screenshots folder, made when missing.
std::string screenshot_path(const std::string &name);

// Fixture: a context in which the game's texture names have been made.
class TexturedGLTest : public GLTest {
protected:
    static void SetUpTestSuite();
};

// Level 0 of a texture as RGBA bytes, with its size.
std::vector<unsigned char> texture_rgba(GLuint name, int *w, int *h);

// A w x h context in the built game folder with the sound system started
// silent and the game's GL set up, as start-up leaves them; and its end.
void open_game_view(int w, int h);
void close_game_view();
