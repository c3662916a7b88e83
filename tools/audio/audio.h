// The sound generator: synthesizes the game's twelve sound effects and composes its
// songs from the text scores in data/songs/, writing WAV, OGG Vorbis and the playlist.
#pragma once

#include <cmath>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "sound_effects.h"

// ---------------------------------------------------------------- constants

constexpr double PI = 3.14159265358979323846;
constexpr int SONG_RATE = 44100;        // every song is 44100 Hz stereo
constexpr int MAX_STEPS_PER_BAR = 64;   // a score's meter × steps, at most

// ---------------------------------------------------------------- sounds

// A mono sound: samples in -1..1 at `rate` Hz.
struct Mono {
    int rate = 44100;
    std::vector<float> s;
};

// A stereo sound at SONG_RATE.
struct Stereo {
    std::vector<float> l, r;
};

// A fault in a score or a failed write: the message names the file and line.
struct AudioError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// ---------------------------------------------------------------- building blocks

// Deterministic noise source (xorshift32); the same seed gives the same sound.
struct Noise {
    uint32_t state;
    explicit Noise(uint32_t seed) : state(seed ? seed : 0x9e3779b9u) {}
    // Next value, uniform in -1..1.
    float next() {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return (float)((double)state / 2147483648.0 - 1.0);
    }
    // Next value, uniform in 0..1.
    float unit() { return 0.5f * (next() + 1.0f); }
};

// Frequency in Hz of a MIDI note number (69 = A4 = 440 Hz).
inline double note_freq(double midi) { return 440.0 * std::pow(2.0, (midi - 69.0) / 12.0); }

// Band-limiting correction for a step in a saw or pulse wave; t is the phase 0..1,
// dt the phase step per sample.
inline double poly_blep(double t, double dt) {
    if (t < dt) {
        t /= dt;
        return t + t - t * t - 1.0;
    }
    if (t > 1.0 - dt) {
        t = (t - 1.0) / dt;
        return t * t + t + t + 1.0;
    }
    return 0.0;
}

// State-variable filter (trapezoidal, stable under fast cutoff changes).
struct Svf {
    double g = 0, k = 2, a1 = 0, a2 = 0, a3 = 0, ic1 = 0, ic2 = 0;
    double low = 0, band = 0, high = 0;
    // Sets cutoff (Hz) and resonance (0 = none .. 0.97 = near self-oscillation).
    void set(double cutoff, double reso, int rate) {
        cutoff = std::fmin(std::fmax(cutoff, 10.0), rate * 0.45);
        g = std::tan(PI * cutoff / rate);
        k = 2.0 - 2.0 * std::fmin(std::fmax(reso, 0.0), 0.97);
        a1 = 1.0 / (1.0 + g * (g + k));
        a2 = g * a1;
        a3 = g * a2;
    }
    // Runs one sample; the low, band and high outputs are then ready.
    void run(double x) {
        double v3 = x - ic2;
        double v1 = a1 * ic1 + a2 * v3;
        double v2 = ic2 + a2 * ic1 + a3 * v3;
        ic1 = 2 * v1 - ic1;
        ic2 = 2 * v2 - ic2;
        low = v2;
        band = v1;
        high = x - k * v1 - v2;
    }
};

// One-pole low-pass smoother; coefficient from a cutoff in Hz.
struct OnePole {
    double a = 0, y = 0;
    void set(double cutoff, int rate) { a = 1.0 - std::exp(-2.0 * PI * cutoff / rate); }
    double run(double x) { return y += a * (x - y); }
};

// Attack-decay-sustain-release level at time t (s) for a note held `gate` seconds.
double adsr(double t, double gate, double attack, double decay, double sustain, double release);

// ---------------------------------------------------------------- sound helpers (synth.cpp)

// Peak absolute sample value.
float peak_of(const std::vector<float> &s);
// Loudest level over any 50 ms of the sound, weighted as the ear hears (the K curve:
// lows count less, the presence range more): how loud it sounds at its peak.
float loudness_of(const std::vector<float> &s, int rate);
// Multiplies every sample by gain.
void scale(std::vector<float> &s, float gain);
// Removes any constant offset with a gentle high-pass at `cutoff` Hz.
void remove_dc(std::vector<float> &s, int rate, double cutoff);
// Raised-cosine fade-in over in_s seconds and fade-out over out_s seconds.
void fade_edges(std::vector<float> &s, int rate, double in_s, double out_s);
// Converts decibels to a linear gain.
inline float db_gain(double db) { return (float)std::pow(10.0, db / 20.0); }

// ---------------------------------------------------------------- effects (effects.cpp)

// Number of effect files the game loads.
constexpr int EFFECT_COUNT = SFX_COUNT;

// Synthesizes every effect and writes it as a WAV file into dir (sounds/effects/).
void make_effects(const std::string &dir);

// ---------------------------------------------------------------- scores (score.cpp, arrange.cpp)

// Kinds of instrument a score can name: tuned synth voices, then drum voices.
enum InstrumentKind {
    KIND_SAW, KIND_SQUARE, KIND_TRIANGLE, KIND_SINE, KIND_FM, KIND_PLUCK,
    KIND_KICK, KIND_SNARE, KIND_CLAP, KIND_HAT, KIND_OPENHAT, KIND_SHAKER, KIND_TOM,
    KIND_CRASH,
    KIND_COUNT
};
constexpr int FIRST_DRUM_KIND = KIND_KICK;

// Arpeggiator modes: a chord event becomes a run of single notes.
enum ArpMode { ARP_NONE, ARP_UP, ARP_DOWN, ARP_UPDOWN };

// An instrument of a score with its sound parameters (units in the comments).
struct Instrument {
    std::string name;
    InstrumentKind kind = KIND_SAW;
    float gain = 0.5f;      // level, 0..2
    float pan = 0.0f;       // -1 left .. 1 right
    float reverb = 0.0f;    // send to the reverb, 0..1
    float delay = 0.0f;     // send to the echo, 0..1
    float attack = 0.005f;  // s
    float decay = 0.2f;     // s
    float sustain = 0.7f;   // level 0..1
    float release = 0.1f;   // s
    float cutoff = 4000;    // filter cutoff, Hz
    float envmod = 0;       // filter envelope depth, octaves above the cutoff
    float fdecay = 0.2f;    // filter envelope decay, s
    float reso = 0.1f;      // filter resonance 0..0.95
    float keytrack = 0.5f;  // share of the note's pitch the cutoff follows, 0..1
    float unison = 1;       // stacked oscillators, 1..7
    float detune = 0;       // spread of the stack, cents
    float width = 0.5f;     // stereo spread of the stack, 0..1
    float vibrato = 0;      // depth, cents
    float vibrate = 5.0f;   // rate, Hz
    float pw = 0.5f;        // pulse width of square voices, 0.05..0.95
    float sub = 0;          // sine an octave below, level 0..1
    float ratio = 2.0f;     // FM modulator frequency ratio
    float index = 2.0f;     // FM modulation depth at the attack
    float idecay = 0.3f;    // FM depth decay, s
    float damp = 0.5f;      // pluck string damping, 0..1
    float pitch = 0;        // drum tuning, Hz (0 = the drum's own)
    float tone = 0.5f;      // drum brightness, 0..1
    float duck = 0;         // how far the kick drum ducks this instrument, 0..1
    float center = 64;      // MIDI note around which chord symbols are voiced
    float octave = 0;       // octaves added to every note, -3..3
    float arp = ARP_NONE;   // arpeggiator mode (ArpMode)
    float arpstep = 1;      // arpeggio note length, steps
    float arpoct = 1;       // octaves an arpeggio spans, 1..3
};

// One note (or drum hit) of a song, placed on the song's step grid.
struct Note {
    int inst;           // index into Song::instruments
    int step;           // start, in steps from the song's beginning
    int length;         // steps the note is held (drums: 1)
    double pitch;       // MIDI note number (drums: 0)
    float velocity;     // 0..1
};

// A parsed score: everything needed to render the song.
struct Song {
    std::string name;           // file name stem, e.g. "rebound"
    std::string title;          // shown by the game's music bar
    double tempo = 120;         // beats per minute
    int meter = 4;              // beats per bar
    int steps_per_beat = 4;     // grid resolution
    double tail = 3.0;          // seconds after the last bar for echoes to die away
    double delay_beats = 0.75;  // echo time, beats
    double delay_feedback = 0.35;
    double room = 0.7;          // reverb room size 0..1
    double room_damp = 0.4;     // reverb high damping 0..1
    double loudness = -16;      // target RMS level of the mix, dBFS
    int total_steps = 0;        // length of the arrangement, steps
    std::vector<Instrument> instruments;
    std::vector<Note> notes;
};

// Reads and checks the score file at path; throws AudioError naming file and line.
Song parse_score(const std::string &path);
// Seconds from the song's start to step.
double step_time(const Song &song, int step);

// ---------------------------------------------------------------- voices (voices.cpp, drums.cpp)

// Adds one tuned note of inst to out (stereo), starting at sample `at`; `gate` is the
// held time in seconds.
void render_note(const Instrument &inst, const Note &note, double gate, int at, Stereo &out);
// One hit of drum inst at full velocity (mono); variants differ only in their noise.
std::vector<float> drum_hit(const Instrument &inst, uint32_t variant);
// Seconds a tuned note keeps sounding after its gate closes.
double note_tail(const Instrument &inst);
// Seconds a drum hit of inst lasts.
double drum_length(const Instrument &inst);

// ---------------------------------------------------------------- mixing (mixer.cpp, reverb.cpp)

// Renders the whole song: voices, echo, reverb, master level and limiter.
Stereo render_song(const Song &song);
// Adds a stereo echo of in (mono send) to l/r: `time` s, feedback 0..0.9.
void add_echo(const std::vector<float> &in, double time, double feedback, Stereo &out);
// Adds a stereo reverb of in (mono send) to l/r.
void add_reverb(const std::vector<float> &in, double room, double damp, Stereo &out);

// ---------------------------------------------------------------- files (encode.cpp)

// Writes s as a mono 16-bit PCM WAV file (via a temporary file and a rename).
void write_wav(const std::string &path, const Mono &s);
// Encodes st as OGG Vorbis with a fixed stream serial, so that the bytes never vary.
void write_ogg(const std::string &path, const Stereo &st, const std::string &title, int serial);
// Writes text to path via a temporary file and a rename.
void write_text(const std::string &path, const std::string &text);
