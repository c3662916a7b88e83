// The balls' state and the per-frame ball driver: motion, the walls and the
// ceiling, the seated ball, the survivor move and the loss of the last ball.

#include <GL/gl.h>

#include "ball.h"
#include "physics.h"
#include "graphics/graphics.h"
#include "audio/audio.h"
#include "rules/progress.h"
#include "rules/rules.h"
#include "shell/shell.h"

// ---- Constants ----
static const float BALL_SIZE_DEFAULT = 0.04f;   // normal ball radius
static const float SEATED_Y = -1.46f;           // ypos of a reset ball slot
static const float CEILING_RETURN = 1.95f;      // a ball over the ceiling is put back at this + radius

// ---- Globals ----
int balls[17];
float xpos[17], ypos[17];
float xspeed[17], yspeed[17];
float xdirection[17], ydirection[17];
int glu[17];
int b;
float ballsize = BALL_SIZE_DEFAULT;
float paddle_size = PADDLE_NORMAL;
int glued;
int lastbounce;
// One ball waits on the paddle from the start, so a stale count behind the
// title screen never reads as "every ball lost".
int ballcount = 1;
int through;
int exploding;
int slow_frame;

// The centre height of a ball resting on the paddle.
float seated_y()
{
    return ballsize - 1.5;
}

// Recounts the balls in play; skipped while a menu is up.
void ballcounter()
{
    if (title_up())
        return;
    ballcount = 0;
    for (int n = 1; n <= 16; n++)
        if (balls[n] == 1)
            ballcount++;
}

// Releases every ball the sticky paddle holds, where it stands, or with step
// 1 each moved one step on its way.
void unglue(int step)
{
    for (int n = 1; n <= 16; n++) {
        if (glu[n] != 1)
            continue;
        glu[n] = 0;
        if (step) {
            xpos[n] += xspeed[n] * xdirection[n];
            ypos[n] += yspeed[n] * ydirection[n];
        }
    }
}

// Keeps the waiting ball centred on the paddle, resting on its top.
void height_check()
{
    if (in_flight == 0 && ball_start == 1 && balls[b] != 0) {
        glued = 0;
        quake = 0;
        xpos[b] = paddlex + paddle_size * 0.5;
        ypos[b] = seated_y();
    }
}

// The side walls, then the ceiling; each sees the result of the one before,
// so a ball in a corner leaves both.
static void wall_check()
{
    if (xpos[b] > WALL_RIGHT - ballsize) {
        xdirection[b] = -xdirection[b];
        xpos[b] = WALL_RIGHT - ballsize;
        play_bounce(xpos[b], ypos[b]);
    }
    if (xpos[b] < ballsize + WALL_LEFT) {
        xdirection[b] = -xdirection[b];
        xpos[b] = ballsize + WALL_LEFT;
        play_bounce(xpos[b], ypos[b]);
    }
    if (ypos[b] > ballsize + CEILING) {
        ydirection[b] = -ydirection[b];
        ypos[b] = ballsize + CEILING_RETURN;
        play_bounce(xpos[b], ypos[b]);
    }
}

// Moves ball b one step and runs its paddle, wall and brick tests. The brick
// phase runs for every slot; the brick test itself ignores empty slots.
void collision_check()
{
    float next_y = ypos[b] + yspeed[b] * ydirection[b];
    if (in_flight && balls[b] != 0 && glu[b] == 0) {
        ypos[b] = next_y;
        xpos[b] = xpos[b] + xspeed[b] * xdirection[b];
        if (ypos[b] - ballsize < PADDLE_TOP && ball_start == 0) {
            if (glued)
                pup_hit(xpos[b], ypos[b], 0.0f, 0.0f);
            paddle_collide();
        }
        wall_check();
    }
    bstarty = CEILING;
    done_for_frame = 0;
    if (slow_frame) {
        bstartx = WALL_LEFT;
        findbrick(2);
        findbrick(1);
        findbrick(3);
        return;
    }
    brick_scan();
}

// With a single ball left, moves it into slot 1 so the rest of the game can
// always find it there.
static void move_survivor()
{
    for (int k = 1; k <= 16; k++) {
        if (balls[k] != 1)
            continue;
        if (glued) {
            if (ypos[k] - ballsize > PADDLE_TOP)
                glu[1] = 0;
            if (ypos[k] == seated_y() && paddlex < xpos[k] && xpos[k] < paddlex + paddle_size)
                glu[1] = 1;
        }
        balls[k] = 0;
        balls[1] = 1;
        if (in_flight) {
            xspeed[1] = xspeed[k];
            yspeed[1] = yspeed[k];
            xdirection[1] = xdirection[k];
            ydirection[1] = ydirection[k];
            xpos[1] = xpos[k];
            ypos[1] = ypos[k];
            glu[1] = glu[k];
        }
    }
}

// Every ball is lost: a fresh ball waits on a normal paddle, and a life is
// gone; after the fifth the game is over.
static void lose_last_ball()
{
    through = 0;
    exploding = 0;
    for (int k = 1; k <= 3; k++)
        pup[k] = 0;
    paddle_size = PADDLE_NORMAL;
    ballsize = BALL_SIZE_DEFAULT;
    for (int n = 0; n <= 16; n++) {
        xspeed[n] = 0;
        balls[n] = 0;
        yspeed[n] = 0;
        xdirection[n] = 1.0f;
        ydirection[n] = 1.0f;
        xpos[n] = 0;
        ypos[n] = SEATED_Y;
    }
    balls[1] = 1;
    ballcounter();
    in_flight = 0;
    ball_start = 1;
    counter++;
    if (counter > 5 || ballcount == 0) {
        for (int k = 0; k < 10; k++)
            goodies[k] = 1;
        gameover = 1;
        PLAYING_SAVED_GAME = 0;
    }
}

// One frame of every ball's motion: motion and collisions (unless paused),
// the survivor move and the loss of the last ball. Draws nothing.
void move_balls()
{
    ballcounter();
    if (!game_pause) {
        // b stays a valid slot (16) after the loop, for whoever reads it next.
        for (int n = 1; n <= 16; n++) {
            b = n;
            height_check();
            collision_check();
        }
    }
    ballcounter();
    if (ballcount == 1)
        move_survivor();
    if (ballcount < 1)
        lose_last_ball();
}

// The balls in play, as this frame's motion left them.
void draw_balls()
{
    field_frame();
    if (gameover == 0 && ballcount >= 1)
        render_balls();
}

void launch_ball()
{
    in_flight = 1;
    lastbounce = 1;
    for (int n = 1; n <= 16; n++) {
        balls[n] = 0;
        glu[n] = 0;
        xspeed[n] = 0.005f;
        xpos[n] = paddlex + paddle_size * 0.5f;
        ypos[n] = ballsize + PADDLE_TOP;
        if (difficulty == 0) yspeed[n] = 0.02f;
        else if (difficulty == 1) yspeed[n] = 0.03f;
        else if (difficulty == 2) yspeed[n] = 0.045f;
        xdirection[n] = 1;
        ydirection[n] = 1;
    }
    glued = 0;
    if (bonus == 0) {
        balls[1] = 1;
    } else {
        int count = level < 4 ? level : 4;
        for (int n = 1; n <= count; n++)
            balls[n] = 1;
        bonus = 0;
    }
    newlevel = 0;
    ball_start = 0;
}
