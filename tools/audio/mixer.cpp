// Renders a parsed song: each instrument's notes onto its own bus, panned into the
// mix with sends to the echo and reverb, then levelled and limited as a whole.
#include "audio.h"

#include <algorithm>
#include <deque>

constexpr double CEILING_DB = -1.5;     // no sample of a song goes above this
constexpr double FADE_OUT = 1.5;        // seconds of fade at the end of the tail
constexpr int DRUM_VARIANTS = 4;        // differently noisy takes of each drum

// Gain curve that the kick drums press into instruments with a `duck` setting:
// 1 at each kick hit, falling away over about a tenth of a second.
static std::vector<float> kick_pulse(const Song &song, size_t n)
{
    std::vector<float> env(n, 0.0f);
    for (const Note &note : song.notes) {
        if (song.instruments[note.inst].kind != KIND_KICK)
            continue;
        size_t at = (size_t)(step_time(song, note.step) * SONG_RATE);
        for (size_t i = 0; at + i < n && i < (size_t)(0.4 * SONG_RATE); i++) {
            double t = (double)i / SONG_RATE;
            double v = std::min(1.0, t / 0.004) * std::exp(-t / 0.11);
            env[at + i] = std::max(env[at + i], (float)v);
        }
    }
    return env;
}

// Adds every hit of drum `inst` onto the left side of bus, each one of a few takes
// of the drum picked by its step, so that repeated hits are not all alike.
static void render_drums(const Song &song, int inst, Stereo &bus)
{
    std::vector<float> takes[DRUM_VARIANTS];
    for (int v = 0; v < DRUM_VARIANTS; v++)
        takes[v] = drum_hit(song.instruments[inst], v);
    for (const Note &note : song.notes) {
        if (note.inst != inst)
            continue;
        const std::vector<float> &hit = takes[(note.step * 2654435761u >> 16) % DRUM_VARIANTS];
        size_t at = (size_t)(step_time(song, note.step) * SONG_RATE);
        for (size_t i = 0; i < hit.size() && at + i < bus.l.size(); i++)
            bus.l[at + i] += note.velocity * hit[i];
    }
}

// Renders every note of instrument `inst` onto bus (cleared first).
static void render_bus(const Song &song, int inst, Stereo &bus)
{
    std::fill(bus.l.begin(), bus.l.end(), 0.0f);
    std::fill(bus.r.begin(), bus.r.end(), 0.0f);
    const Instrument &in = song.instruments[inst];
    if (in.kind >= FIRST_DRUM_KIND) {
        render_drums(song, inst, bus);
        bus.r = bus.l;
        return;
    }
    for (const Note &note : song.notes) {
        if (note.inst != inst)
            continue;
        // Each note lets go a moment before its length is up, so that repeated
        // notes are heard as separate notes.
        double start = step_time(song, note.step);
        double gate = step_time(song, note.step + note.length) - start;
        render_note(in, note, gate - std::min(0.1 * gate, 0.03), (int)(start * SONG_RATE), bus);
    }
}

// Adds a bus into the mix at the instrument's pan and level, and into the sends.
static void place_bus(const Instrument &in, const Stereo &bus, const std::vector<float> &pulse,
                      Stereo &mix, std::vector<float> &echo, std::vector<float> &verb)
{
    double angle = (in.pan + 1) * PI / 4;
    double gl = std::cos(angle) * std::sqrt(2.0), gr = std::sin(angle) * std::sqrt(2.0);
    for (size_t i = 0; i < mix.l.size(); i++) {
        double g = 1.0 - in.duck * pulse[i];
        double l = bus.l[i] * gl * g, r = bus.r[i] * gr * g;
        mix.l[i] += (float)l;
        mix.r[i] += (float)r;
        echo[i] += (float)(0.5 * (l + r) * in.delay);
        verb[i] += (float)(0.5 * (l + r) * in.reverb);
    }
}

// Lowers the gain just ahead of any peak above the ceiling and lets it recover
// slowly; the gain moves in ramps a few milliseconds long, so it never clicks.
static void limit(Stereo &mix)
{
    const size_t ahead = (size_t)(0.003 * SONG_RATE);
    const float ceiling = db_gain(CEILING_DB);
    const double recover = 1.0 - std::exp(-1.0 / (0.08 * SONG_RATE));
    size_t n = mix.l.size();
    std::vector<float> need(n), g(n);
    for (size_t i = 0; i < n; i++) {
        float p = std::max(std::fabs(mix.l[i]), std::fabs(mix.r[i]));
        need[i] = p > ceiling ? ceiling / p : 1.0f;
    }
    std::deque<size_t> win;     // indices of a running minimum over [i, i + ahead]
    double held = 1.0;
    for (size_t i = 0, j = 0; i < n; i++) {
        for (; j < n && j <= i + ahead; j++) {
            while (!win.empty() && need[win.back()] >= need[j])
                win.pop_back();
            win.push_back(j);
        }
        while (win.front() < i)
            win.pop_front();
        held = std::min((double)need[win.front()], held + (1.0 - held) * recover);
        g[i] = (float)held;
    }
    double sum = 0;
    for (size_t i = 0; i < n; i++) {
        sum += g[i];
        if (i >= ahead)
            sum -= g[i - ahead];
        float avg = (float)(sum / std::min(i + 1, ahead));
        mix.l[i] *= avg;
        mix.r[i] *= avg;
    }
}

// Brings the mix to the song's loudness, limits its peaks and fades its ends.
static void master(const Song &song, Stereo &mix)
{
    remove_dc(mix.l, SONG_RATE, 20);
    remove_dc(mix.r, SONG_RATE, 20);
    size_t body = std::min(mix.l.size(), (size_t)(step_time(song, song.total_steps) * SONG_RATE));
    double sum = 0;
    for (size_t i = 0; i < body; i++)
        sum += 0.5 * ((double)mix.l[i] * mix.l[i] + (double)mix.r[i] * mix.r[i]);
    double rms = std::sqrt(sum / std::max<size_t>(body, 1));
    float gain = rms > 0 ? (float)(db_gain(song.loudness) / rms) : 1.0f;
    scale(mix.l, gain);
    scale(mix.r, gain);
    limit(mix);
    fade_edges(mix.l, SONG_RATE, 0.004, FADE_OUT);
    fade_edges(mix.r, SONG_RATE, 0.004, FADE_OUT);
}

// Renders the whole song: voices, echo, reverb, master level and limiter.
Stereo render_song(const Song &song)
{
    double seconds = step_time(song, song.total_steps) + song.tail;
    size_t n = (size_t)(seconds * SONG_RATE);
    Stereo mix, bus;
    mix.l.assign(n, 0.0f);
    mix.r.assign(n, 0.0f);
    bus = mix;
    std::vector<float> echo(n, 0.0f), verb(n, 0.0f);
    std::vector<float> pulse = kick_pulse(song, n);
    for (size_t i = 0; i < song.instruments.size(); i++) {
        render_bus(song, (int)i, bus);
        place_bus(song.instruments[i], bus, pulse, mix, echo, verb);
    }
    Stereo echoed;
    echoed.l.assign(n, 0.0f);
    echoed.r.assign(n, 0.0f);
    add_echo(echo, song.delay_beats * 60.0 / song.tempo, song.delay_feedback, echoed);
    for (size_t i = 0; i < n; i++) {
        mix.l[i] += echoed.l[i];
        mix.r[i] += echoed.r[i];
        verb[i] += 0.15f * (echoed.l[i] + echoed.r[i]);
    }
    add_reverb(verb, song.room, song.room_damp, mix);
    master(song, mix);
    return mix;
}
