// Reading a window's pixels with XGetImage and writing them with libpng.

#include "xshot.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <png.h>

#include <cstdio>

// Set when a request made here failed; X errors must not end the test program.
static bool x_failed;

// Records the error instead of letting Xlib end the program.
static int note_x_error(Display *, XErrorEvent *)
{
    x_failed = true;
    return 0;
}

// The 8-bit value of the colour channel that mask selects in pixel p.
static unsigned char channel(unsigned long p, unsigned long mask)
{
    if (!mask)
        return 0;
    int shift = 0;
    while (!((mask >> shift) & 1))
        shift++;
    unsigned long top = mask >> shift;
    return (unsigned char)(((p & mask) >> shift) * 255 / top);
}

std::vector<unsigned char> x_window_rgb(Display *d, unsigned long window, int x, int y, int &w, int &h)
{
    XSync(d, False);
    x_failed = false;
    int (*old_handler)(Display *, XErrorEvent *) = XSetErrorHandler(note_x_error);
    XWindowAttributes a;
    XImage *img = nullptr;
    if (XGetWindowAttributes(d, (Window)window, &a) && a.map_state == IsViewable) {
        if (w <= 0) {
            w = a.width;
            h = a.height;
        }
        img = XGetImage(d, (Window)window, x, y, (unsigned)w, (unsigned)h, AllPlanes, ZPixmap);
    }
    XSync(d, False);
    XSetErrorHandler(old_handler);
    std::vector<unsigned char> rgb;
    if (img && !x_failed) {
        rgb.reserve((size_t)w * h * 3);
        for (int j = 0; j < h; j++)
            for (int i = 0; i < w; i++) {
                unsigned long p = XGetPixel(img, i, j);
                rgb.push_back(channel(p, img->red_mask));
                rgb.push_back(channel(p, img->green_mask));
                rgb.push_back(channel(p, img->blue_mask));
            }
    }
    if (img)
        XDestroyImage(img);
    return rgb;
}

bool x_window_png(Display *d, unsigned long window, const std::string &png)
{
    int w = 0, h = 0;
    std::vector<unsigned char> rgb = x_window_rgb(d, window, 0, 0, w, h);
    return !rgb.empty() && write_rgb_png(png, w, h, rgb, false);
}

bool write_rgb_png(const std::string &path, int w, int h, const std::vector<unsigned char> &rgb, bool bottom_up)
{
    if (w < 1 || h < 1 || rgb.size() < (size_t)w * h * 3)
        return false;
    FILE *f = fopen(path.c_str(), "wb");
    if (!f)
        return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    bool ok = false;
    if (setjmp(png_jmpbuf(png)) == 0) {
        png_init_io(png, f);
        png_set_IHDR(png, info, w, h, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                     PNG_FILTER_TYPE_DEFAULT);
        png_write_info(png, info);
        for (int y = 0; y < h; y++)
            png_write_row(png, rgb.data() + (size_t)(bottom_up ? h - 1 - y : y) * w * 3);
        png_write_end(png, nullptr);
        ok = true;
    }
    png_destroy_write_struct(&png, &info);
    return fclose(f) == 0 && ok;
}
