// The tuned synth voices of the songs: stacked band-limited oscillators, two-operator
// FM and plucked strings, each through an enveloped low-pass filter.
#include "audio.h"

#include <algorithm>

// ---------------------------------------------------------------- oscillators

// One oscillator of a stack: its phase and the tuning and place it has in the stack.
struct Osc {
    double phase = 0;
    double mod = 0;         // FM modulator phase
    double tune = 1;        // frequency multiplier from the stack's detune
    double dt = 0;          // phase step per sample, updated with the pitch
    double left = 1, right = 1;
};

// A plucked string (Karplus-Strong) with all-pass fine tuning.
struct String {
    std::vector<float> line;
    size_t pos = 0;
    double prev = 0, coef = 0, ap_x = 0, ap_y = 0, loss = 1;
};

// Next sample of a band-limited oscillator of the given kind; `index` is the FM depth.
static inline double osc_sample(const Instrument &in, Osc &o, double index)
{
    double dt = o.dt;
    o.phase += dt;
    if (o.phase >= 1)
        o.phase -= 1;
    double p = o.phase;
    switch (in.kind) {
    case KIND_SAW:
        return 2 * p - 1 - poly_blep(p, dt);
    case KIND_SQUARE: {
        double q = p + 1 - in.pw;
        q -= std::floor(q);
        return (p < in.pw ? 1.0 : -1.0) + poly_blep(p, dt) - poly_blep(q, dt);
    }
    case KIND_TRIANGLE:
        return 4 * std::fabs(p - 0.5) - 1;
    case KIND_FM: {
        o.mod += dt * in.ratio;
        o.mod -= std::floor(o.mod);
        return std::sin(2 * PI * p + index * std::sin(2 * PI * o.mod));
    }
    default:
        return std::sin(2 * PI * p);
    }
}

// Sets up a string for frequency f: a burst of noise in a line one period long.
static void string_start(String &s, double f, uint32_t seed, double damp)
{
    double period = SONG_RATE / f;
    size_t n = (size_t)std::floor(period - 0.5 - 1e-3);
    n = std::max<size_t>(n, 2);
    double frac = period - 0.5 - n;
    s.coef = (1 - frac) / (1 + frac);
    s.line.assign(n, 0.0f);
    Noise rng(seed);
    double lp = 0;
    for (float &v : s.line) {
        lp += 0.6 * (rng.next() - lp);
        v = (float)lp;
    }
    double t60 = 0.25 + 4.0 * (1.0 - damp);
    s.loss = std::pow(0.001, 1.0 / (f * t60));
}

// Next sample of a string: average two samples, tune with the all-pass, feed back.
static double string_sample(String &s)
{
    double x = s.line[s.pos];
    double avg = 0.5 * (x + s.prev) * s.loss;
    s.prev = x;
    double y = s.coef * avg + s.ap_x - s.coef * s.ap_y;
    s.ap_x = avg;
    s.ap_y = y;
    s.line[s.pos] = (float)y;
    if (++s.pos == s.line.size())
        s.pos = 0;
    return x;
}

// ---------------------------------------------------------------- notes

// Seconds a tuned note keeps sounding after its gate closes.
double note_tail(const Instrument &in)
{
    return in.release;
}

// Builds the oscillator stack of a note: detuned copies spread across the stereo field.
static std::vector<Osc> make_stack(const Instrument &in, uint32_t seed)
{
    int voices = (int)in.unison;
    std::vector<Osc> stack(voices);
    Noise rng(seed);
    for (int v = 0; v < voices; v++) {
        double spread = voices > 1 ? 2.0 * v / (voices - 1) - 1.0 : 0.0;
        Osc &o = stack[v];
        o.tune = std::pow(2.0, in.detune * spread / 1200.0);
        double pos = in.width * spread;
        o.left = std::sqrt(0.5 * (1 - pos));
        o.right = std::sqrt(0.5 * (1 + pos));
        o.phase = voices > 1 ? rng.unit() : 0.0;
    }
    return stack;
}

// Adds one tuned note to out, starting at sample `at`, held `gate` seconds.
void render_note(const Instrument &in, const Note &note, double gate, int at, Stereo &out)
{
    double f = note_freq(note.pitch);
    size_t n = (size_t)((gate + note_tail(in)) * SONG_RATE) + 1;
    n = std::min(n, out.l.size() - std::min(out.l.size(), (size_t)at));
    uint32_t seed = (uint32_t)(note.step * 7919 + (int)(note.pitch * 31) + 1);
    std::vector<Osc> stack = make_stack(in, seed);
    String str;
    if (in.kind == KIND_PLUCK)
        string_start(str, f, seed, in.damp);
    double norm = 1.0 / std::sqrt((double)stack.size());
    double track = std::pow(f / 261.63, in.keytrack) * (0.7 + 0.3 * note.velocity);
    double amp = in.gain * note.velocity;
    Svf fl, fr;
    double sub = 0, fm = f, env0 = 0, env1 = 0, index = 0;
    const size_t block = 16;    // samples between updates of filter, pitch and level
    for (size_t i = 0; i < n; i++) {
        if (i % block == 0) {
            double t = (double)i / SONG_RATE, t1 = (double)(i + block) / SONG_RATE;
            double c = in.cutoff * track * std::pow(2.0, in.envmod * std::exp(-t / in.fdecay));
            fl.set(c, in.reso, SONG_RATE);
            fr.set(c, in.reso, SONG_RATE);
            if (in.vibrato > 0) {
                double depth = in.vibrato * std::min(1.0, std::max(0.0, (t - 0.2) / 0.3));
                fm = f * std::pow(2.0, depth * std::sin(2 * PI * in.vibrate * t) / 1200.0);
            }
            for (Osc &o : stack)
                o.dt = fm * o.tune / SONG_RATE;
            index = in.index * (0.15 + 0.85 * std::exp(-t / in.idecay));
            env0 = amp * adsr(t, gate, in.attack, in.decay, in.sustain, in.release);
            env1 = amp * adsr(t1, gate, in.attack, in.decay, in.sustain, in.release);
        }
        double l = 0, r = 0;
        if (in.kind == KIND_PLUCK) {
            l = r = string_sample(str);
        } else {
            for (Osc &o : stack) {
                double x = osc_sample(in, o, index);
                l += x * o.left;
                r += x * o.right;
            }
            l *= norm * std::sqrt(2.0);
            r *= norm * std::sqrt(2.0);
        }
        if (in.sub > 0) {
            sub += 0.5 * fm / SONG_RATE;
            double s = in.sub * std::sin(2 * PI * sub);
            l += s;
            r += s;
        }
        fl.run(l);
        fr.run(r);
        double env = env0 + (env1 - env0) * (double)(i % block) / block;
        out.l[at + i] += (float)(env * fl.low);
        out.r[at + i] += (float)(env * fr.low);
    }
}
