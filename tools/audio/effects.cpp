// The twelve sound effects of the game, each synthesized from oscillators, noise,
// envelopes and filters, levelled against the others and written as mono WAV.
#include "audio.h"

#include <algorithm>

// ---------------------------------------------------------------- helpers

// Empties m and makes room for `seconds` of sound at its rate.
static std::vector<float> &sized(Mono &m, double seconds)
{
    m.s.assign((size_t)(seconds * m.rate), 0.0f);
    return m.s;
}

// Adds a sine partial starting at `at` s: its frequency glides exponentially from f0
// towards f1 (time constant glide s) and its level decays with time constant decay s.
static void add_partial(Mono &m, double at, double f0, double f1, double glide, double amp,
                        double decay)
{
    double phase = 0;
    for (size_t i = (size_t)(at * m.rate); i < m.s.size(); i++) {
        double t = (double)i / m.rate - at;
        double env = amp * std::exp(-t / decay) * std::min(1.0, t / 0.001);
        if (env < 1e-5 && t > 0.01)
            break;
        double f = f1 + (f0 - f1) * std::exp(-t / glide);
        phase += f / m.rate;
        m.s[i] += (float)(env * std::sin(2 * PI * phase));
    }
}

// Adds a bell tone at `at` s: a fundamental with three bright inharmonic overtones.
static void add_bell(Mono &m, double at, double f, double amp, double decay)
{
    static const double ratios[4] = {1.0, 2.0, 2.76, 4.07};
    static const double levels[4] = {1.0, 0.35, 0.2, 0.08};
    for (int k = 0; k < 4; k++)
        add_partial(m, at, f * ratios[k], f * ratios[k], 1, amp * levels[k], decay / (1 + k));
}

// Adds a burst of filtered noise at `at` s: band-pass around `center` Hz, decaying
// with time constant decay s.
static void add_noise(Mono &m, Noise &rng, double at, double center, double q, double amp,
                      double decay)
{
    Svf f;
    f.set(center, q, m.rate);
    for (size_t i = (size_t)(at * m.rate); i < m.s.size(); i++) {
        double t = (double)i / m.rate - at;
        double env = amp * std::exp(-t / decay);
        if (env < 1e-5)
            break;
        f.run(rng.next());
        m.s[i] += (float)(env * f.band);
    }
}

// Adds a brass-like note: two detuned band-limited saws through a low-pass that opens
// on the attack, `midi` pitch, from `at` s, held `gate` s.
static void add_brass(Mono &m, double at, double gate, double midi, double amp)
{
    double f = note_freq(midi);
    double ph[2] = {0, 0.37};
    Svf lp;
    for (size_t i = (size_t)(at * m.rate); i < m.s.size(); i++) {
        double t = (double)i / m.rate - at;
        double env = adsr(t, gate, 0.03, 0.25, 0.75, 0.25);
        if (t > gate + 0.25)
            break;
        if ((i & 7) == 0)
            lp.set(500 + 3500 * std::exp(-t / 0.25) + 900 * env, 0.15, m.rate);
        double x = 0;
        for (int k = 0; k < 2; k++) {
            double dt = f * (k ? 1.004 : 0.996) / m.rate;
            ph[k] += dt;
            if (ph[k] >= 1)
                ph[k] -= 1;
            x += 2 * ph[k] - 1 - poly_blep(ph[k], dt);
        }
        lp.run(x * 0.5);
        m.s[i] += (float)(amp * env * lp.low);
    }
}

// ---------------------------------------------------------------- the effects

// Ball off a wall or the paddle: a short bright square blip, falling a little.
static void make_blip(Mono &m)
{
    auto &s = sized(m, 0.09);
    double ph = 0;
    Svf lp;
    lp.set(6000, 0.1, m.rate);
    for (size_t i = 0; i < s.size(); i++) {
        double t = (double)i / m.rate;
        double dt = (880 + 300 * std::exp(-t / 0.012)) / m.rate;
        ph += dt;
        if (ph >= 1)
            ph -= 1;
        double sq = (ph < 0.5 ? 1.0 : -1.0) + poly_blep(ph, dt);
        sq -= poly_blep(std::fmod(ph + 0.5, 1.0), dt);
        lp.run(sq);
        s[i] = (float)(lp.low * std::exp(-t / 0.022));
    }
}

// Normal brick broken: a woody knock with a dry crack on top.
static void make_hit(Mono &m)
{
    Noise rng(101);
    sized(m, 0.22);
    add_partial(m, 0, 420, 190, 0.025, 0.9, 0.06);
    add_partial(m, 0, 1150, 980, 0.02, 0.4, 0.03);
    add_noise(m, rng, 0, 2600, 0.4, 0.8, 0.012);
    for (float &v : m.s)
        v = (float)std::tanh(1.5 * v);
}

// Exploding brick: a crack, a falling roar of low noise and a deep thump.
static void make_explosion(Mono &m)
{
    Noise rng(202);
    auto &s = sized(m, 1.6);
    Svf lp;
    for (size_t i = 0; i < s.size(); i++) {
        double t = (double)i / m.rate;
        if ((i & 7) == 0)
            lp.set(180 + 3200 * std::exp(-t / 0.18), 0.2, m.rate);
        lp.run(rng.next());
        double env = std::min(1.0, t / 0.004) * std::exp(-t / 0.38);
        double crackle = 0;
        if (rng.unit() > 0.9985 && t < 0.7)
            crackle = rng.next() * 2.5 * std::exp(-t / 0.3);
        s[i] = (float)(1.6 * env * lp.low + crackle);
    }
    add_partial(m, 0, 110, 38, 0.09, 0.9, 0.3);
    add_noise(m, rng, 0, 1800, 0.2, 0.8, 0.02);
    for (float &v : s)
        v = (float)std::tanh(1.4 * v);
}

// Invisible brick revealed: a crash of breaking glass and falling shards.
static void make_glass(Mono &m)
{
    Noise rng(303);
    sized(m, 0.95);
    add_noise(m, rng, 0, 6500, 0.3, 1.0, 0.05);
    add_noise(m, rng, 0.005, 3200, 0.5, 0.5, 0.03);
    for (int k = 0; k < 46; k++) {
        double u = rng.unit();
        double at = 0.5 * u * u;
        double f = 2400 + 6800 * rng.unit();
        double amp = 0.35 * (1.0 - 0.7 * u) * (0.4 + 0.6 * rng.unit());
        add_partial(m, at, f, f, 1, amp, 0.015 + 0.06 * rng.unit());
    }
    for (float &v : m.s)
        v = (float)std::tanh(2.5 * v);
}

// Multi-hit brick struck: a metallic ping with the overtones of a struck bar.
static void make_ping(Mono &m)
{
    Noise rng(404);
    sized(m, 0.7);
    static const double ratios[5] = {1.0, 2.756, 5.404, 8.933, 13.34};
    static const double levels[5] = {1.0, 0.55, 0.28, 0.14, 0.06};
    static const double decays[5] = {0.3, 0.17, 0.09, 0.05, 0.03};
    for (int k = 0; k < 5; k++) {
        double f = 1320 * ratios[k];
        if (f < m.rate * 0.45)
            add_partial(m, 0, f, f, 1, 0.6 * levels[k], decays[k]);
    }
    add_noise(m, rng, 0, 5000, 0.3, 0.4, 0.004);
}

// Helpful power-up caught: a rising major arpeggio of bells.
static void make_good(Mono &m)
{
    sized(m, 0.9);
    static const double notes[4] = {72, 76, 79, 84};
    for (int k = 0; k < 4; k++)
        add_bell(m, 0.065 * k, note_freq(notes[k] + 12), 0.35 + 0.05 * k, 0.28 + 0.06 * k);
}

// Harmful power-up caught or a refused action: a falling, wobbling buzz.
static void make_bad(Mono &m)
{
    auto &s = sized(m, 0.62);
    double ph[2] = {0, 0.5};
    Svf lp;
    lp.set(1800, 0.3, m.rate);
    for (size_t i = 0; i < s.size(); i++) {
        double t = (double)i / m.rate;
        double f = (110 + 230 * std::exp(-t / 0.22)) * (1 + 0.03 * std::sin(2 * PI * 11 * t));
        double x = 0;
        for (int k = 0; k < 2; k++) {
            double dt = f * (k ? 1.012 : 1.0) / m.rate;
            ph[k] += dt;
            if (ph[k] >= 1)
                ph[k] -= 1;
            x += 2 * ph[k] - 1 - poly_blep(ph[k], dt);
        }
        lp.run(x * 0.5);
        s[i] = (float)(lp.low * adsr(t, 0.42, 0.01, 0.3, 0.7, 0.18));
    }
}

// Power-up released from a brick: a quick bubbly upward sweep.
static void make_pup(Mono &m)
{
    auto &s = sized(m, 0.24);
    double ph = 0, ph2 = 0;
    for (size_t i = 0; i < s.size(); i++) {
        double t = (double)i / m.rate;
        double f = 320 * std::pow(4.5, std::min(1.0, t / 0.17));
        ph += f / m.rate;
        ph2 += 2 * f / m.rate;
        double tri = 4 * std::fabs(ph - std::floor(ph) - 0.5) - 1;
        double env = std::min(1.0, t / 0.005) * std::exp(-t / 0.08) * (1 - t / 0.24);
        s[i] = (float)(env * (0.8 * tri + 0.25 * std::sin(2 * PI * ph2)));
    }
}

// Falling power-up off a side wall: a short soft boing.
static void make_pupbounce(Mono &m)
{
    sized(m, 0.18);
    add_partial(m, 0, 700, 470, 0.03, 0.8, 0.045);
    add_partial(m, 0, 1410, 940, 0.03, 0.18, 0.02);
}

// Level finished: a brass fanfare, a pickup triplet rising to a held major chord.
static void make_next_level(Mono &m)
{
    sized(m, 2.3);
    const double beat = 0.13;
    add_brass(m, 0 * beat, 0.11, 67, 0.5);
    add_brass(m, 1 * beat, 0.11, 67, 0.5);
    add_brass(m, 2 * beat, 0.11, 67, 0.5);
    add_brass(m, 3 * beat, 0.36, 72, 0.55);
    add_brass(m, 6 * beat, 0.11, 67, 0.45);
    add_brass(m, 7 * beat, 0.11, 72, 0.5);
    static const double chord[4] = {64, 67, 72, 76};
    for (int k = 0; k < 4; k++)
        add_brass(m, 8 * beat, 1.0, chord[k], 0.32);
    add_partial(m, 8 * beat, 65.4, 65.4, 1, 0.3, 0.5);
}

// A prize: a coin-like two-note jingle followed by a sparkling arpeggio.
static void make_bonus(Mono &m)
{
    auto &s = sized(m, 1.2);
    double ph = 0;
    for (size_t i = 0; i < (size_t)(0.3 * m.rate); i++) {
        double t = (double)i / m.rate;
        double f = note_freq(t < 0.07 ? 83 : 88);
        double dt = f / m.rate;
        ph += dt;
        if (ph >= 1)
            ph -= 1;
        double pulse = (ph < 0.25 ? 1.0 : -0.33) + poly_blep(ph, dt) * 0.66
                     - poly_blep(std::fmod(ph + 0.75, 1.0), dt) * 0.66;
        double env = t < 0.07 ? 1.0 : std::exp(-(t - 0.07) / 0.07);
        s[i] += (float)(0.3 * env * pulse);
    }
    static const double notes[6] = {88, 91, 96, 100, 103, 108};
    for (int k = 0; k < 6; k++)
        add_bell(m, 0.24 + 0.045 * k, note_freq(notes[k] - 12), 0.22, 0.25);
}

// Interface click: a soft, dull tick.
static void make_click(Mono &m)
{
    Noise rng(505);
    sized(m, 0.04);
    add_partial(m, 0, 1900, 1500, 0.004, 0.6, 0.004);
    add_noise(m, rng, 0, 3000, 0.2, 0.5, 0.003);
}

// ---------------------------------------------------------------- the table

// One effect file: its name, native rate, recipe and loudness (the loudest 50 ms,
// ear-weighted, in dB). Equal loudness keeps the effects balanced: the frequent ones
// (blip, ping, power-up sounds) sit a little lower, the interface click lowest.
// No effect peaks above PEAK_DB, which also holds back the long fanfare and jingle.
struct EffectRecipe {
    sound_effect effect;  // names the file
    int rate;
    void (*make)(Mono &);
    double loud_db;
};

constexpr double PEAK_DB = -3.0;

static const EffectRecipe effect_table[] = {
    {SFX_NEXT_LEVEL, 44100, make_next_level, -9},
    {SFX_BLIP, 22050, make_blip, -10},
    {SFX_BONUS, 44100, make_bonus, -9},
    {SFX_HIT, 22050, make_hit, -9},
    {SFX_EXPLOSION, 44100, make_explosion, -9},
    {SFX_GLASS, 44100, make_glass, -10},
    {SFX_PING, 44100, make_ping, -10},
    {SFX_GOOD, 44100, make_good, -9},
    {SFX_BAD, 44100, make_bad, -9.5},
    {SFX_PUP, 22050, make_pup, -10},
    {SFX_PUPBOUNCE, 22050, make_pupbounce, -11},
    {SFX_CLICK, 44100, make_click, -21},
};
static_assert(sizeof effect_table / sizeof effect_table[0] == EFFECT_COUNT,
              "one recipe for each effect file the game loads");

// Synthesizes every effect, fades its edges, levels it and writes it.
void make_effects(const std::string &dir)
{
    for (const EffectRecipe &e : effect_table) {
        Mono m;
        m.rate = e.rate;
        e.make(m);
        remove_dc(m.s, m.rate, 20);
        fade_edges(m.s, m.rate, 0.002, std::min(0.02, m.s.size() * 0.25 / m.rate));
        float p = peak_of(m.s), loud = loudness_of(m.s, m.rate);
        if (p > 0)
            scale(m.s, std::min(db_gain(PEAK_DB) / p, db_gain(e.loud_db) / loud));
        write_wav(dir + "/" + SOUND_EFFECT_NAMES[e.effect] + ".wav", m);
    }
}
