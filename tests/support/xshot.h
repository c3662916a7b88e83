// Pictures of an X window read straight from the X server: its pixels as RGB
// bytes, or a PNG file of them. The tests' screenshots, with no outside tool.
#pragma once

#include <string>
#include <vector>

typedef struct _XDisplay Display;

// The pixels of a w x h rectangle of a window from (x, y) as 8-bit RGB rows;
// of the whole window when w is 0, its size then put in w and h. Empty when
// they cannot be read (the window gone or not shown, the rectangle outside it).
std::vector<unsigned char> x_window_rgb(Display *d, unsigned long window, int x, int y, int &w, int &h);

// Writes the window's picture (the root window for the whole screen) into a
// PNG file, replacing it; false when the window or the file fails.
bool x_window_png(Display *d, unsigned long window, const std::string &png);

// Writes w x h RGB pixels (3 bytes each, rows packed) as an 8-bit PNG; the rows
// run bottom-up as the GL reads them, or top first. False if it cannot be written.
bool write_rgb_png(const std::string &path, int w, int h, const std::vector<unsigned char> &rgb,
                   bool bottom_up = true);
