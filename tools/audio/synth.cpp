// Small helpers shared by the effects and the songs: envelopes, levels, fades and
// offset removal over whole sounds.
#include "audio.h"

#include <algorithm>

// Linear attack, exponential-looking decay to the sustain level, and a release that
// starts from wherever the level was when the gate closed.
double adsr(double t, double gate, double attack, double decay, double sustain, double release)
{
    auto held = [&](double u) {
        if (u < attack)
            return u / attack;
        double d = (u - attack) / std::max(decay, 1e-4);
        return sustain + (1.0 - sustain) * std::exp(-4.0 * d);
    };
    if (t < 0)
        return 0;
    if (t < gate)
        return held(t);
    double r = (t - gate) / std::max(release, 1e-4);
    if (r >= 1)
        return 0;
    return held(gate) * (1.0 - r) * (1.0 - r);
}

// Peak absolute sample value.
float peak_of(const std::vector<float> &s)
{
    float p = 0;
    for (float v : s)
        p = std::max(p, std::fabs(v));
    return p;
}

// A second-order filter section (direct form I).
struct Biquad {
    double b0, b1, b2, a1, a2, x1 = 0, x2 = 0, y1 = 0, y2 = 0;
    double run(double x) {
        double y = b0 * x + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2;
        x2 = x1;
        x1 = x;
        y2 = y1;
        y1 = y;
        return y;
    }
};

// The ear's loudness weighting (the K curve of broadcast loudness meters): a shelf
// lifting the highs by 4 dB, then a high-pass at 38 Hz; coefficients for any rate.
static std::vector<float> k_weighted(const std::vector<float> &s, int rate)
{
    double k = std::tan(PI * 1681.974450955533 / rate), q = 0.7071752369554196;
    double vh = std::pow(10.0, 3.999843853973347 / 20), vb = std::pow(vh, 0.4996667741545416);
    double a0 = 1 + k / q + k * k;
    Biquad shelf = {(vh + vb * k / q + k * k) / a0, 2 * (k * k - vh) / a0,
                    (vh - vb * k / q + k * k) / a0, 2 * (k * k - 1) / a0, (1 - k / q + k * k) / a0};
    k = std::tan(PI * 38.13547087602444 / rate);
    q = 0.5003270373238773;
    a0 = 1 + k / q + k * k;
    Biquad high = {1, -2, 1, 2 * (k * k - 1) / a0, (1 - k / q + k * k) / a0};
    std::vector<float> out(s.size());
    for (size_t i = 0; i < s.size(); i++)
        out[i] = (float)high.run(shelf.run(s[i]));
    return out;
}

// Loudest K-weighted RMS over any 50 ms window (hopping by 5 ms).
float loudness_of(const std::vector<float> &s, int rate)
{
    std::vector<float> w = k_weighted(s, rate);
    size_t win = std::max<size_t>(1, (size_t)(0.05 * rate)), hop = std::max<size_t>(1, win / 10);
    double best = 0;
    for (size_t at = 0; at < w.size(); at += hop) {
        size_t end = std::min(w.size(), at + win);
        double sum = 0;
        for (size_t i = at; i < end; i++)
            sum += (double)w[i] * w[i];
        best = std::max(best, sum / win);
        if (end == w.size())
            break;
    }
    return (float)std::sqrt(best);
}

// Multiplies every sample by gain.
void scale(std::vector<float> &s, float gain)
{
    for (float &v : s)
        v *= gain;
}

// One-pole high-pass: takes out DC and sub-audible rumble.
void remove_dc(std::vector<float> &s, int rate, double cutoff)
{
    double a = std::exp(-2.0 * PI * cutoff / rate);
    double x1 = 0, y1 = 0;
    for (float &v : s) {
        double y = a * (y1 + v - x1);
        x1 = v;
        y1 = y;
        v = (float)y;
    }
}

// Raised-cosine fades, so a sound starts and stops without a click.
void fade_edges(std::vector<float> &s, int rate, double in_s, double out_s)
{
    size_t n = s.size();
    size_t fin = std::min(n, (size_t)(in_s * rate));
    size_t fout = std::min(n, (size_t)(out_s * rate));
    for (size_t i = 0; i < fin; i++)
        s[i] *= (float)(0.5 - 0.5 * std::cos(PI * i / fin));
    for (size_t i = 0; i < fout; i++)
        s[n - 1 - i] *= (float)(0.5 - 0.5 * std::cos(PI * i / fout));
}
