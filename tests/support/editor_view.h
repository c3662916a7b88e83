// Driving the level editor in a real GL context the way the mouse does: the
// game's pointer put on a GUI point, frames drawn, presses and releases sent
// through the window procedure.
#pragma once

#include <GL/gl.h>

#include "gl_view.h"

void point_at(float gx, float gy);   // the mouse moved so the pointer lands there
void over(int r, int c);             // pointer over cell (r, c), then one editor frame
void mouse(unsigned msg);            // a button message (WM_LBUTTONDOWN, ...) at the pointer
void click(float gx, float gy);      // pointer on a GUI point, one editor frame, a left press and release
void key(int vk);                    // a key press, polled as the main loop polls it
void reset_editor();                 // an empty board and the editor's start-up choices, editor open
void start_editor();                 // start-up's loading of the editor's levels, then the editor on level 1

// Fixture: a GL context with the game's texture names, and reset_editor() before each case.
class EditorTest : public TexturedGLTest {
protected:
    void SetUp() override { reset_editor(); }
};
