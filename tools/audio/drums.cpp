// The drum voices of the songs: kick, snare, clap, hats, shaker, tom and crash, made
// from pitch-swept sines, filtered noise and clusters of square waves.
#include "audio.h"

#include <algorithm>

// Seconds a drum hit of inst lasts.
double drum_length(const Instrument &in)
{
    switch (in.kind) {
    case KIND_KICK: return 0.7;
    case KIND_SNARE: return 0.4;
    case KIND_CLAP: return 0.4;
    case KIND_HAT: return 0.15;
    case KIND_OPENHAT: return 0.7;
    case KIND_SHAKER: return 0.2;
    case KIND_TOM: return 0.7;
    default: return 2.5;
    }
}

// Six detuned square waves: the metallic body of hats and cymbals.
struct Metal {
    double phase[6] = {0, 0.13, 0.29, 0.41, 0.57, 0.83};
    double sample(double scale) {
        static const double freqs[6] = {205.3, 304.4, 369.6, 522.7, 540.0, 800.0};
        double x = 0;
        for (int k = 0; k < 6; k++) {
            phase[k] += freqs[k] * scale / SONG_RATE;
            phase[k] -= std::floor(phase[k]);
            x += phase[k] < 0.5 ? 1 : -1;
        }
        return x / 6;
    }
};

// Kick: a sine that drops from high to its pitch, with a short click on top.
static double kick(const Instrument &in, double t, double &ph, Noise &rng)
{
    double base = in.pitch > 0 ? in.pitch : 48;
    double f = base * (1 + 3.0 * std::exp(-t / 0.03));
    ph += f / SONG_RATE;
    double body = std::sin(2 * PI * ph) * std::exp(-t / (0.18 + 0.3 * (1 - in.tone)));
    double click = rng.next() * std::exp(-t / 0.0015) * 0.4 * in.tone;
    return std::tanh(1.5 * (body + click));
}

// Snare: two short tones of the drum head, a fifth apart so that a snare tuned to
// the song sits in its key, and a burst of bright noise.
static double snare(const Instrument &in, double t, double &ph, Noise &rng, Svf &f)
{
    double base = in.pitch > 0 ? in.pitch : 190;
    ph += base * (1 + 0.5 * std::exp(-t / 0.01)) / SONG_RATE;
    double head = std::sin(2 * PI * ph) + 0.5 * std::sin(2 * PI * 1.5 * ph);
    head *= std::exp(-t / 0.05);
    f.run(rng.next());
    double noise = f.high * std::exp(-t / (0.07 + 0.1 * in.tone));
    return 0.5 * head + 0.9 * noise;
}

// Clap: three quick bursts of band-passed noise and a short tail.
static double clap(double t, Noise &rng, Svf &f)
{
    double env = 0;
    for (int k = 0; k < 3; k++)
        if (t >= 0.011 * k)
            env += std::exp(-(t - 0.011 * k) / 0.004);
    if (t >= 0.03)
        env += 0.8 * std::exp(-(t - 0.03) / 0.09);
    f.run(rng.next());
    return 1.8 * f.band * env;
}

// One hit of drum inst at full velocity; variants differ only in their noise.
std::vector<float> drum_hit(const Instrument &in, uint32_t variant)
{
    size_t n = (size_t)(drum_length(in) * SONG_RATE);
    std::vector<float> out(n, 0.0f);
    Noise rng(variant * 2654435761u + in.kind * 97 + 7);
    Svf f, f2;
    double bright = 0.5 + in.tone;
    switch (in.kind) {
    case KIND_SNARE: f.set(1500 * bright, 0.2, SONG_RATE); break;
    case KIND_CLAP: f.set(1150 * bright, 0.45, SONG_RATE); break;
    case KIND_SHAKER: f.set(6000 * bright, 0.3, SONG_RATE); break;
    case KIND_HAT:
    case KIND_OPENHAT: f.set(7000 * bright, 0.2, SONG_RATE); break;
    case KIND_CRASH: f.set(4200 * bright, 0.1, SONG_RATE); break;
    default: f.set(900, 0.1, SONG_RATE); break;
    }
    f2.set(9000, 0.1, SONG_RATE);
    Metal metal;
    double ph = 0, scale = in.pitch > 0 ? in.pitch / 400.0 : 1.0;
    double gain = in.gain;
    for (size_t i = 0; i < n; i++) {
        double t = (double)i / SONG_RATE;
        double x = 0;
        switch (in.kind) {
        case KIND_KICK: x = kick(in, t, ph, rng); break;
        case KIND_SNARE: x = snare(in, t, ph, rng, f); break;
        case KIND_CLAP: x = clap(t, rng, f); break;
        case KIND_HAT:
        case KIND_OPENHAT: {
            f.run(0.6 * metal.sample(scale) + 0.5 * rng.next());
            double d = in.kind == KIND_HAT ? 0.03 : 0.22;
            x = f.high * std::exp(-t / d);
            break;
        }
        case KIND_SHAKER:
            f.run(rng.next());
            x = 1.4 * f.band * std::min(1.0, t / 0.012) * std::exp(-t / 0.045);
            break;
        case KIND_TOM: {
            double base = in.pitch > 0 ? in.pitch : 110;
            ph += base * (1 + 0.6 * std::exp(-t / 0.05)) / SONG_RATE;
            f.run(rng.next());
            x = std::sin(2 * PI * ph) * std::exp(-t / 0.22) + 0.2 * f.low * std::exp(-t / 0.02);
            break;
        }
        default: {
            f.run(0.4 * metal.sample(scale * 1.7) + 0.6 * rng.next());
            f2.run(f.high);
            double env = std::min(1.0, t / 0.002) * std::exp(-t / (0.5 + 0.8 * in.tone));
            x = 0.9 * (f.high - 0.4 * f2.high) * env;
            break;
        }
        }
        out[i] = (float)(gain * x);
    }
    return out;
}
