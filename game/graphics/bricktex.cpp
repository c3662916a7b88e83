// Brick textures: the raw 64 x 32 RGB files under bricks/ and the textures
// made from them, for play, for the editor, and from a level set's own copies.

#include <GL/glu.h>

#include <cstdio>
#include <cstring>

#include "files.h"
#include "formats.h"
#include "graphics.h"

void upload_brick(GLuint name, const uint8_t *rgb, GLint filter)
{
    GLint min_filter = filter == GL_LINEAR ? GL_LINEAR_MIPMAP_LINEAR : filter;
    glBindTexture(GL_TEXTURE_2D, name);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, min_filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
    gluBuild2DMipmaps(GL_TEXTURE_2D, 3, BRICK_TEX_W, BRICK_TEX_H, GL_RGB, GL_UNSIGNED_BYTE, rgb);
}

int read_brick_file(int k, uint8_t *rgb)
{
    char path[64];
    snprintf(path, sizeof path, "bricks/b%d.raw", k);
    FILE *f = open_regular_file(path);
    if (!f)
        return 0;
    size_t got = fread(rgb, 1, BRICK_TEX_BYTES, f);
    memset(rgb + got, 0, BRICK_TEX_BYTES - got);
    fclose(f);
    return 1;
}

int load_brick_files(GLuint *table, int max)
{
    static uint8_t rgb[BRICK_TEX_BYTES];
    int k = 1;
    while (k <= max && read_brick_file(k, rgb)) {
        if (!table[k])
            glGenTextures(1, &table[k]);
        upload_brick(table[k], rgb, GL_LINEAR);
        k++;
    }
    return k - 1;
}
