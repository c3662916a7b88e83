// The offscreen GL context shared by tests that draw.

#include "gl_context.h"

#include <SDL.h>

#include "shell/shell.h"

static SDL_Window *test_window;
static SDL_GLContext test_context;

void gl_context_open(int width, int height)
{
    if (test_window)
        return;
    SDL_SetHint(SDL_HINT_VIDEODRIVER, "offscreen");
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 2);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 1);
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    test_window = SDL_CreateWindow("test", 0, 0, width, height, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    ASSERT_NE(test_window, nullptr) << SDL_GetError();
    test_context = SDL_GL_CreateContext(test_window);
    ASSERT_NE(test_context, nullptr) << SDL_GetError();
    screenx = width;
    screeny = height;
    ReSizeGLScene(width, height);
}

void gl_context_close()
{
    if (test_context)
        SDL_GL_DeleteContext(test_context);
    if (test_window)
        SDL_DestroyWindow(test_window);
    test_context = nullptr;
    test_window = nullptr;
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

void gl_context_swap()
{
    SDL_GL_SwapWindow(test_window);
}

rgb gl_read_pixel(int x, int y)
{
    unsigned char p[4] = {0, 0, 0, 0};
    glReadBuffer(GL_BACK);
    glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
    return {p[0], p[1], p[2]};
}
