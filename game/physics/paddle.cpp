// The paddle: following the mouse between the walls, catching a falling ball on the paddle's bands, which set how
// fast it leaves sideways, holding it with the sticky paddle, or losing it.

#include <GL/gl.h>

#include "ball.h"
#include "physics.h"
#include "audio/audio.h"
#include "graphics/graphics.h"
#include "shell/shell.h"

// ---- Constants ----
static const double BAND_WIDTH = 0.0027;   // width of one band of the paddle
static const double LEFT_REACH = -0.05;    // the left half reaches this far past the paddle's end

// ---- Globals ----
float paddlex = 2.75f;
float paddle_temp, xDiff;

// The horizontal step per band number for the three paddle lengths; 0 for
// any other length, which leaves the ball's horizontal step as it is.
static double band_step()
{
    if (paddle_size == PADDLE_NORMAL)
        return 0.0005;
    if (paddle_size == PADDLE_LONG)
        return 0.0003;
    if (paddle_size == PADDLE_SHORT)
        return 0.001;
    return 0.0;
}

// Sends ball b back up off band k, leaving in direction s, or holds it on the
// sticky paddle.
static void catch_ball(int k, float s)
{
    ydirection[b] = -ydirection[b];
    double step = band_step();
    if (step > 0.0)
        xspeed[b] = k * step;
    if (glued) {
        glu[b] = 1;
        ypos[b] = seated_y();
    } else {
        ypos[b] = ypos[b] + ballsize;
    }
    if (in_flight && !glued) {
        play_bounce(xpos[b], ypos[b]);
        if (quake) {
            equake();
            shake = 1;
        }
    }
    xdirection[b] = s;
}

// Ball b's bottom is below the paddle's top: every band holding its next x
// catches it, counted outwards from the centre on each half; a ball that no
// band holds is lost once its centre is below the loss line.
void paddle_collide()
{
    float h = paddle_size * 0.5;
    float nx = xpos[b] + xspeed[b] * xdirection[b];
    int caught = 0;
    int k = 1;
    for (float d = h; d >= LEFT_REACH; d = d - BAND_WIDTH, k++) {
        if (paddlex + d - BAND_WIDTH <= nx && nx <= paddlex + d && ypos[b] > LOSS_LINE) {
            catch_ball(k, -1.0f);
            caught = 1;
        }
    }
    k = 1;
    for (float d = 0; d <= h; d = d + BAND_WIDTH, k++) {
        if (paddlex + h + d <= nx && nx <= paddlex + h + d + BAND_WIDTH && ypos[b] > LOSS_LINE) {
            catch_ball(k, 1.0f);
            caught = 1;
        }
    }
    ballcounter();
    if (!caught && ypos[b] < LOSS_LINE)
        balls[b] = 0;
}

float mouse_paddle_x()
{
    float m, k;
    if (fullscreen) {
        m = (float)mouseX;
        k = 0.6f / screenx;
    } else {
        m = (float)mouseX - 80;
        k = 0.85f / screenx;
    }
    return m * k * msensitivity + WALL_LEFT;
}

void move_paddle(float x)
{
    if (fade_running() == FADE_IN || game_pause)
        return;
    paddle_temp = paddlex;
    xDiff = paddlex - x;
    paddlex = x;
    for (int n = 1; n <= 16; n++) {
        if (glu[n] != 1)
            continue;
        xpos[n] -= xDiff;
        if (xpos[n] + ballsize > WALL_RIGHT)
            xpos[n] = WALL_RIGHT - ballsize;
        if (xpos[n] < WALL_LEFT)
            xpos[n] = WALL_LEFT;
    }
    if (x > WALL_RIGHT - paddle_size)
        paddlex = WALL_RIGHT - paddle_size;
    if (paddlex < WALL_LEFT)
        paddlex = WALL_LEFT;
}

// The paddle; untextured, in its plain shade, in the classic look.
void draw_paddle()
{
    if (classic)
        glDisable(GL_TEXTURE_2D);
    else
        glEnable(GL_TEXTURE_2D);
    glDisable(GL_DEPTH_TEST);
    glBindTexture(GL_TEXTURE_2D, textures[TEX_PADDLE]);
    glBegin(GL_QUADS);
    glColor3f(1, 1, 1);
    if (!classic) glTexCoord2f(0, 0);
    glVertex3f(paddlex, PADDLE_TOP, FIELD_Z);
    if (!classic) glTexCoord2f(1, 0);
    glVertex3f(paddlex + paddle_size, PADDLE_TOP, FIELD_Z);
    glColor3f(0.15f, 0.15f, 0.15f);
    if (!classic) glTexCoord2f(1, 1);
    glVertex3f(paddlex + paddle_size, PADDLE_BOTTOM, FIELD_Z);
    if (!classic) glTexCoord2f(0, 1);
    glVertex3f(paddlex, PADDLE_BOTTOM, FIELD_Z);
    glEnd();
}
