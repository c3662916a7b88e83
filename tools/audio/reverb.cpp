// The songs' two shared effects: a ping-pong echo and a room reverb (parallel combs
// into series all-passes, one set per side), each fed by the instruments' sends.
#include "audio.h"

#include <algorithm>

// Adds a stereo echo of the mono send `in` to out: the first repeat on the left, the
// next on the right, each darker and quieter than the one before.
void add_echo(const std::vector<float> &in, double time, double feedback, Stereo &out)
{
    size_t d = std::max<size_t>(1, (size_t)(time * SONG_RATE));
    std::vector<float> dl(d, 0.0f), dr(d, 0.0f);
    OnePole lpl, lpr;
    lpl.set(3200, SONG_RATE);
    lpr.set(3200, SONG_RATE);
    size_t pos = 0;
    for (size_t i = 0; i < out.l.size(); i++) {
        double yl = dl[pos], yr = dr[pos];
        double x = i < in.size() ? in[i] : 0.0;
        dl[pos] = (float)(x + feedback * lpr.run(yr));
        dr[pos] = (float)(feedback * lpl.run(yl));
        out.l[i] += (float)yl;
        out.r[i] += (float)yr;
        if (++pos == d)
            pos = 0;
    }
}

// A feedback comb filter with damping in its loop.
struct Comb {
    std::vector<float> buf;
    size_t pos = 0;
    double store = 0;
    double run(double x, double fb, double damp) {
        double y = buf[pos];
        store = y * (1 - damp) + store * damp;
        buf[pos] = (float)(x + store * fb);
        if (++pos == buf.size())
            pos = 0;
        return y;
    }
};

// A Schroeder all-pass that smears the combs' echoes into a dense tail.
struct Allpass {
    std::vector<float> buf;
    size_t pos = 0;
    double run(double x) {
        double b = buf[pos];
        buf[pos] = (float)(x + b * 0.5);
        if (++pos == buf.size())
            pos = 0;
        return b - x;
    }
};

// Runs one side of the reverb over the whole send; `spread` lengthens every delay a
// little so that the two sides differ.
static void reverb_side(const std::vector<float> &in, double room, double damp, int spread,
                        std::vector<float> &out)
{
    static const int combs[8] = {1116, 1188, 1277, 1356, 1422, 1491, 1557, 1617};
    static const int allpasses[4] = {556, 441, 341, 225};
    Comb c[8];
    Allpass a[4];
    for (int k = 0; k < 8; k++)
        c[k].buf.assign(combs[k] + spread, 0.0f);
    for (int k = 0; k < 4; k++)
        a[k].buf.assign(allpasses[k] + spread, 0.0f);
    double fb = 0.7 + 0.28 * room, dm = 0.4 * damp;
    for (size_t i = 0; i < out.size(); i++) {
        double x = (i < in.size() ? in[i] : 0.0) * 0.015;
        double y = 0;
        for (Comb &k : c)
            y += k.run(x, fb, dm);
        for (Allpass &k : a)
            y = k.run(y);
        out[i] += (float)(3.0 * y);
    }
}

// Adds a stereo reverb of the mono send `in` to out, after a short pre-delay and with
// the lows taken out so that the bass stays dry and clear.
void add_reverb(const std::vector<float> &in, double room, double damp, Stereo &out)
{
    size_t pre = (size_t)(0.018 * SONG_RATE);
    std::vector<float> send(out.l.size(), 0.0f);
    double a = std::exp(-2.0 * PI * 180.0 / SONG_RATE), x1 = 0, y1 = 0;
    for (size_t i = 0; i + pre < send.size() && i < in.size(); i++) {
        double y = a * (y1 + in[i] - x1);
        x1 = in[i];
        y1 = y;
        send[i + pre] = (float)y;
    }
    reverb_side(send, room, damp, 0, out.l);
    reverb_side(send, room, damp, 23, out.r);
}
