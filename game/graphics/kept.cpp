// Pixels kept from the frame: a rectangle of the back buffer copied into a
// texture once, and put back pixel for pixel in later frames instead of being
// drawn again. With framebuffer objects the rectangle is put back by a blit,
// a plain copy for the rasteriser; without them by a 1:1 textured quad.

#define GL_GLEXT_PROTOTYPES
#include <GL/gl.h>
#include <GL/glext.h>

#include <cstdlib>
#include <cstring>

#include "graphics.h"

kept_pixels view_layer;
int new_scenes_kept;

static int blit_state;  // 0 not asked yet, 1 blits available, -1 not

// 1 when the context has framebuffer objects and blits (GL 3.0, or the extension).
static bool can_blit()
{
    if (blit_state == 0) {
        const char *version = (const char *)glGetString(GL_VERSION);
        const char *extensions = (const char *)glGetString(GL_EXTENSIONS);
        bool ok = (version && atoi(version) >= 3) ||
                  (extensions && strstr(extensions, "GL_ARB_framebuffer_object"));
        blit_state = ok ? 1 : -1;
    }
    return blit_state == 1;
}

int kept_for(const kept_pixels &k, const int rect[4], int owner)
{
    return k.texture && k.owner == owner && memcmp(k.rect, rect, sizeof k.rect) == 0;
}

void keep_pixels(kept_pixels &k, const int rect[4], int owner)
{
    GLint bound;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    bool resized = !k.texture || k.rect[2] != rect[2] || k.rect[3] != rect[3];
    if (!k.texture)
        glGenTextures(1, &k.texture);
    glBindTexture(GL_TEXTURE_2D, k.texture);
    if (resized) {
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, rect[2], rect[3], 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    }
    glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, rect[0], rect[1], rect[2], rect[3]);
    glBindTexture(GL_TEXTURE_2D, bound);
    if (resized && can_blit()) {
        if (!k.framebuffer)
            glGenFramebuffers(1, &k.framebuffer);
        glBindFramebuffer(GL_READ_FRAMEBUFFER, k.framebuffer);
        glFramebufferTexture2D(GL_READ_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, k.texture, 0);
        if (glCheckFramebufferStatus(GL_READ_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
            glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
            glDeleteFramebuffers(1, &k.framebuffer);
            k.framebuffer = 0;
        }
        glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
    }
    // A new picture is kept when a scene has just been drawn for the first
    // time, after the rasteriser compiled what it needs for it.
    if (k.owner != owner)
        new_scenes_kept++;
    memcpy(k.rect, rect, sizeof k.rect);
    k.owner = owner;
}

void begin_window_pixels()
{
    GLint view[4];
    glGetIntegerv(GL_VIEWPORT, view);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(view[0], view[0] + view[2], view[1], view[1] + view[3], -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
}

void end_window_pixels()
{
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
}

// The kept texture as a quad over its rectangle, one texel to a pixel.
static void draw_kept_quad(const kept_pixels &k)
{
    GLint bound;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    GLboolean blend = glIsEnabled(GL_BLEND), depth = glIsEnabled(GL_DEPTH_TEST), texturing = glIsEnabled(GL_TEXTURE_2D);
    begin_window_pixels();
    glDisable(GL_BLEND);
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, k.texture);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    float x0 = (float)k.rect[0], y0 = (float)k.rect[1];
    float x1 = x0 + k.rect[2], y1 = y0 + k.rect[3];
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0); glVertex2f(x0, y0);
    glTexCoord2f(1, 0); glVertex2f(x1, y0);
    glTexCoord2f(1, 1); glVertex2f(x1, y1);
    glTexCoord2f(0, 1); glVertex2f(x0, y1);
    glEnd();
    end_window_pixels();
    glBindTexture(GL_TEXTURE_2D, bound);
    if (blend)
        glEnable(GL_BLEND);
    if (depth)
        glEnable(GL_DEPTH_TEST);
    if (!texturing)
        glDisable(GL_TEXTURE_2D);
}

void draw_kept(const kept_pixels &k)
{
    if (!k.texture)
        return;
    if (!k.framebuffer) {
        draw_kept_quad(k);
        return;
    }
    const int *r = k.rect;
    glBindFramebuffer(GL_READ_FRAMEBUFFER, k.framebuffer);
    glBlitFramebuffer(0, 0, r[2], r[3], r[0], r[1], r[0] + r[2], r[1] + r[3], GL_COLOR_BUFFER_BIT, GL_NEAREST);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
}
