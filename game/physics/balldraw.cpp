// Ball drawing: every ball in play as a textured square, with a glow while
// several balls are in play or the Nuclear Ball is in force.

#include <GL/gl.h>

#include "ball.h"
#include "physics.h"

#include "graphics/graphics.h"
#include "shell/shell.h"

constexpr int BALL_TEXTURE = 12;      // slot of the ball image in textures
constexpr int GLOW_TEXTURE = 13;      // slot of the glow image
constexpr float DRAW_RIGHT = 5.55f;   // a ball reaching this far right is not drawn
constexpr float LEAST_HALF_PIXELS = 3.0f;  // no ball is drawn under 6 pixels across
constexpr float FIELD_VIEW_HEIGHT = 4.1421356f;  // field units the view spans at z -5 (45 degrees)

// A ball is drawn only while it lies clear of the left wall and short of 5.55.
static bool ball_shown(int n)
{
    return balls[n] == 1 && xpos[n] - ballsize > WALL_LEFT && xpos[n] + ballsize < DRAW_RIGHT;
}

// A square of half-side h around (x, y), corner by corner from the lower left,
// anticlockwise; textured squares take the whole image.
static void square(float x, float y, float h, bool textured)
{
    glBegin(GL_QUADS);
    if (textured) glTexCoord2f(0.0f, 1.0f);
    glVertex3f(x - h, y - h, FIELD_Z);
    if (textured) glTexCoord2f(1.0f, 1.0f);
    glVertex3f(x + h, y - h, FIELD_Z);
    if (textured) glTexCoord2f(1.0f, 0.0f);
    glVertex3f(x + h, y + h, FIELD_Z);
    if (textured) glTexCoord2f(0.0f, 0.0f);
    glVertex3f(x - h, y + h, FIELD_Z);
    glEnd();
}

// Half-side of the square a ball is drawn in: its size, but never under
// LEAST_HALF_PIXELS on screen, so the Small Ball in a small window stays a
// ball and not a speck. Collisions keep the true size.
static float drawn_half()
{
    GLint view[4];
    glGetIntegerv(GL_VIEWPORT, view);
    float least = view[3] > 0 ? LEAST_HALF_PIXELS * FIELD_VIEW_HEIGHT / view[3] : 0.0f;
    return ballsize > least ? ballsize : least;
}

// The glow, added to what is behind: red under the Nuclear Ball, else green,
// fainter when more than four balls are in play.
static void draw_glow(float half)
{
    glBindTexture(GL_TEXTURE_2D, textures[GLOW_TEXTURE]);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glEnable(GL_BLEND);
    if (!exploding && ballcount <= 1)
        return;
    bool crowd = ballcount > 4;
    if (exploding)
        glColor4f(1.0f, 0.0f, 0.0f, crowd ? 0.15f : 0.5f);
    else
        glColor4f(0.0f, 1.0f, 0.0f, crowd ? 0.05f : 0.2f);
    for (int n = 1; n <= 16; n++)
        if (ball_shown(n))
            square(xpos[n], ypos[n], 2 * half, true);
}

// The ball's tint in normal mode: each power-up overrides the one before.
static void ball_colour()
{
    if (!exploding)
        glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    if (through)
        glColor4f(0.5f, 0.5f, 1.0f, 1.0f);
    if (exploding)
        glColor4f(1.0f, 0.35f, 0.35f, 1.0f);
    if (ballcount > 1)
        glColor4f(0.2f, 1.0f, 0.2f, 1.0f);
}

void render_balls()
{
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_TEXTURE_2D);
    if (!title_up())
        ballcounter();
    float half = drawn_half();
    if (!classic)
        draw_glow(half);
    glDisable(GL_BLEND);
    if (classic) {
        glDisable(GL_TEXTURE_2D);
        glColor3f(0.0f, 1.0f, 0.0f);
    } else {
        glEnable(GL_TEXTURE_2D);
        ball_colour();
        glBindTexture(GL_TEXTURE_2D, textures[BALL_TEXTURE]);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        glEnable(GL_BLEND);
    }
    for (int n = 1; n <= 16; n++)
        if (ball_shown(n))
            square(xpos[n], ypos[n], half, !classic);
    glDisable(GL_BLEND);
    glEnable(GL_DEPTH_TEST);
}
