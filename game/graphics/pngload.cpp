// The PNG loader: decodes 8-bit RGB images through libpng into the staging
// buffer and uploads them, opaque or with pure black as the transparent colour.

#include <GL/glu.h>
#include <png.h>

#include <cmath>
#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "files.h"
#include "graphics.h"

unsigned char title[TITLE_BYTES];
unsigned char alpha[ALPHA_BYTES];
char bad_file[1024];

// Remembers the first image that could not be used, for the start-up message; returns 0.
static int refuse(const char *path)
{
    if (!bad_file[0])
        snprintf(bad_file, sizeof bad_file, "%s", path);
    return 0;
}

// The texture name at a slot of the numbered table; null when the table is
// not one of the mode's or the slot lies outside it.
static GLuint *table_slot(int transparent, int table, int slot)
{
    GLuint *names = nullptr;
    int count = 0;
    if (table == TABLE_TEXTURES) {
        names = textures;
        count = 32;
    } else if (!transparent && table == TABLE_BACKTEX) {
        names = backtex;
        count = 100;
    } else if (!transparent && table == TABLE_PUPTEXTURES) {
        names = puptextures;
        count = 31;
    } else if (transparent && table == TABLE_TICON) {
        names = ticon;
        count = ICON_SLOTS;
    } else if (transparent && table == TABLE_TVIS) {
        names = tvis;
        count = 5;
    }
    if (!names || slot < 1 || slot >= count)
        return nullptr;
    return &names[slot];
}

// Reads the header that follows the signature; 0 when libpng reports an error.
static int read_header(png_structp png, png_infop info, FILE *fp,
                       png_uint_32 *width, png_uint_32 *height, int *depth, int *colour)
{
    if (setjmp(png_jmpbuf(png)))
        return 0;
    png_init_io(png, fp);
    png_set_sig_bytes(png, 8);
    png_read_info(png, info);
    png_get_IHDR(png, info, width, height, depth, colour, nullptr, nullptr, nullptr);
    return 1;
}

// Decodes every row, all passes of an interlaced file; 0 on a libpng error
// or when the library's rows are not the size the buffers were laid out for.
static int read_rows(png_structp png, png_infop info, png_bytepp rows, size_t row_bytes)
{
    if (setjmp(png_jmpbuf(png)))
        return 0;
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    if (png_get_rowbytes(png, info) != row_bytes)
        return 0;
    png_read_image(png, rows);
    return 1;
}

// Decodes an 8-bit PNG with the given channels (3 RGB, 4 RGBA) of at most
// max_pixels pixels into title, or into *own when given (sized to fit), top
// row first; 0 when it is missing, damaged, of another type or too big.
static int decode_png(const char *path, int64_t max_pixels, int *width, int *height, int channels = 3,
                      std::vector<unsigned char> *own = nullptr)
{
    FILE *fp = open_regular_file(path);
    if (!fp)
        return 0;
    unsigned char signature[8];
    if (fread(signature, 1, 8, fp) != 8 || png_sig_cmp(signature, 0, 8) != 0) {
        fclose(fp);
        return 0;
    }
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    png_uint_32 w = 0, h = 0;
    int depth = 0, colour = 0;
    int ok = info && read_header(png, info, fp, &w, &h, &depth, &colour);
    int want = channels == 4 ? PNG_COLOR_TYPE_RGBA : PNG_COLOR_TYPE_RGB;
    ok = ok && depth == 8 && colour == want && w > 0 && h > 0 &&
         (int64_t)w * h * channels <= (int64_t)sizeof title && (int64_t)w * h <= max_pixels;
    if (ok) {
        // Rows are decoded straight into the staging buffer, which the size
        // check above guarantees is large enough.
        unsigned char *into = title;
        if (own) {
            own->resize((size_t)w * h * channels);
            into = own->data();
        }
        std::vector<png_bytep> rows(h);
        for (png_uint_32 y = 0; y < h; y++)
            rows[y] = into + (size_t)y * w * channels;
        ok = read_rows(png, info, rows.data(), (size_t)w * channels);
    }
    png_destroy_read_struct(&png, info ? &info : nullptr, nullptr);
    fclose(fp);
    *width = (int)w;
    *height = (int)h;
    return ok;
}

// Copies title into alpha with A = 0 where a pixel is exactly black, 255 elsewhere.
static void make_alpha(int pixels)
{
    for (int p = 0; p < pixels; p++) {
        const unsigned char *s = title + p * 3;
        unsigned char *d = alpha + p * 4;
        d[0] = s[0];
        d[1] = s[1];
        d[2] = s[2];
        d[3] = (s[0] | s[1] | s[2]) ? 255 : 0;
    }
}

int read_png_file(const char *path, int transparent, int table, int slot)
{
    GLuint *name = table_slot(transparent, table, slot);
    int64_t max_pixels = transparent ? ALPHA_BYTES / 4 : TITLE_BYTES / 3;
    int width = 0, height = 0;
    if (!name || !decode_png(path, max_pixels, &width, &height))
        return refuse(path);

    glBindTexture(GL_TEXTURE_2D, *name);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    if (!transparent) {
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        gluBuild2DMipmaps(GL_TEXTURE_2D, 3, width, height, GL_RGB, GL_UNSIGNED_BYTE, title);
        return 1;
    }
    make_alpha(width * height);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    gluBuild2DMipmaps(GL_TEXTURE_2D, 4, width, height, GL_RGBA, GL_UNSIGNED_BYTE, alpha);
    return 1;
}

int read_png_reduced(const char *path, int table, int slot, int shown)
{
    if (!read_png_file(path, 0, table, slot))
        return 0;
    GLuint *name = table_slot(0, table, slot);
    GLint w = 0, h = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &w);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &h);
    // Levels the filter never reaches: while the picture is shown at most
    // `shown` pixels across, the level of detail stays above log2(side / shown);
    // a twentieth of a level is kept in hand.
    int side = w < h ? w : h, halvings = 0;
    while (shown > 0 && (side >> (halvings + 1)) > 0 && log2((double)side / shown) - 0.05 >= halvings + 1)
        halvings++;
    if (halvings == 0)
        return 1;
    // Level `halvings` of the chain becomes the whole texture; the mipmaps
    // built from it are the chain's own further levels.
    w = w >> halvings, h = h >> halvings;
    std::vector<unsigned char> level((size_t)w * h * 3);
    GLint pack;
    glGetIntegerv(GL_PACK_ALIGNMENT, &pack);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, halvings, GL_RGB, GL_UNSIGNED_BYTE, level.data());
    glPixelStorei(GL_PACK_ALIGNMENT, pack);
    glDeleteTextures(1, name);  // a fresh name: the full-size storage is given back
    glGenTextures(1, name);
    glBindTexture(GL_TEXTURE_2D, *name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    gluBuild2DMipmaps(GL_TEXTURE_2D, 3, w, h, GL_RGB, GL_UNSIGNED_BYTE, level.data());
    return 1;
}

int check_png_file(const char *path)
{
    int width = 0, height = 0;
    if (!decode_png(path, TITLE_BYTES / 3, &width, &height))
        return refuse(path);
    return 1;
}

int read_png_shown(const char *path, int slot, int shown_w, int shown_h, int *uploaded_w, int *uploaded_h)
{
    // The picture is decoded into memory of its own, given back once it is
    // uploaded, so the staging buffer never holds these large pictures.
    GLuint *name = table_slot(0, TABLE_TEXTURES, slot);
    int width = 0, height = 0;
    std::vector<unsigned char> decoded;
    if (!name || !decode_png(path, TITLE_BYTES / 3, &width, &height, 3, &decoded))
        return refuse(path);
    int w = shown_w < width ? shown_w : width, h = shown_h < height ? shown_h : height;
    if (w < 1)
        w = 1;
    if (h < 1)
        h = 1;
    std::vector<unsigned char> scaled;
    const unsigned char *pixels = decoded.data();
    GLint pack, unpack;
    glGetIntegerv(GL_PACK_ALIGNMENT, &pack);
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &unpack);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    if (w != width || h != height) {
        scaled.resize((size_t)w * h * 3);
        gluScaleImage(GL_RGB, width, height, GL_UNSIGNED_BYTE, decoded.data(), w, h, GL_UNSIGNED_BYTE,
                      scaled.data());
        pixels = scaled.data();
    }
    glBindTexture(GL_TEXTURE_2D, *name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_GENERATE_MIPMAP, GL_TRUE);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, w, h, 0, GL_RGB, GL_UNSIGNED_BYTE, pixels);
    glPixelStorei(GL_PACK_ALIGNMENT, pack);
    glPixelStorei(GL_UNPACK_ALIGNMENT, unpack);
    *uploaded_w = w;
    *uploaded_h = h;
    return 1;
}

int load_icons(const char *path, int slot)
{
    return read_png_file(path, 1, TABLE_TICON, slot);
}

int load_visible(const char *path, int slot)
{
    return read_png_file(path, 1, TABLE_TVIS, slot);
}

int read_window_icon(int *width, int *height)
{
    return decode_png("graphics/icon.png", 256 * 256, width, height, 4);
}
