// Driving the level editor in a real GL context the way the mouse does: the
// game's pointer put on a GUI point, frames drawn, presses and releases sent
// through the window procedure.
#pragma once

#include <GL/gl.h>

#include "gl_context.h"

void solid_texture(GLuint &name, int r, int g, int b);  // a 2 x 2 texture of one colour; names an empty slot
float cell_x(int c);                 // GUI x of the centre of column c
float cell_y(int r);                 // GUI y of the centre of row r
void point_at(float gx, float gy);   // the mouse moved so the pointer lands there
void over(int r, int c);             // pointer over cell (r, c), then one editor frame
rgb pixel_at(float gx, float gy);    // the colour drawn at a GUI point
void mouse(unsigned msg);            // a button message (WM_LBUTTONDOWN, ...) at the pointer
void key(int vk);                    // a key press, polled as the main loop polls it
void reset_editor();                 // an empty board and the editor's start-up choices, editor open
