// A real OpenGL context for tests: SDL's offscreen video driver over Mesa's
// llvmpipe, so no display is needed.
#pragma once

#include <GL/gl.h>
#include <gtest/gtest.h>

#include "xshot.h"   // write_rgb_png

// Creates one hidden offscreen window with a GL 2.1 context for the whole test
// program, current on the calling thread, sized width x height.
void gl_context_open(int width = 640, int height = 480);
void gl_context_close();
void gl_context_swap();

// Reads one pixel of the back buffer (origin bottom-left) as RGB.
struct rgb { int r, g, b; };
rgb gl_read_pixel(int x, int y);


// Fixture: a context with the game's projection for each test.
class GLTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { gl_context_open(); }
    static void TearDownTestSuite() { gl_context_close(); }
};
