// Reads the text scores of data/songs/: settings, instruments, patterns of bars and
// the arrangement, turned into notes on a step grid. Every fault names its line.
#include "score.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <fstream>
#include <sstream>

// ---------------------------------------------------------------- tables

static const char *kind_names[KIND_COUNT] = {
    "saw", "square", "triangle", "sine", "fm", "pluck",
    "kick", "snare", "clap", "hat", "openhat", "shaker", "tom", "crash",
};

// An instrument parameter that a score may set, with its allowed range.
struct Param {
    const char *key;
    float Instrument::*field;
    float lo, hi;
};

static const Param params[] = {
    {"gain", &Instrument::gain, 0, 2},         {"pan", &Instrument::pan, -1, 1},
    {"reverb", &Instrument::reverb, 0, 1},     {"delay", &Instrument::delay, 0, 1},
    {"attack", &Instrument::attack, 0, 4},     {"decay", &Instrument::decay, 0.001f, 8},
    {"sustain", &Instrument::sustain, 0, 1},   {"release", &Instrument::release, 0.001f, 8},
    {"cutoff", &Instrument::cutoff, 20, 20000}, {"envmod", &Instrument::envmod, 0, 8},
    {"fdecay", &Instrument::fdecay, 0.001f, 8}, {"reso", &Instrument::reso, 0, 0.95f},
    {"keytrack", &Instrument::keytrack, 0, 1}, {"unison", &Instrument::unison, 1, 7},
    {"detune", &Instrument::detune, 0, 100},   {"width", &Instrument::width, 0, 1},
    {"vibrato", &Instrument::vibrato, 0, 100}, {"vibrate", &Instrument::vibrate, 0.1f, 20},
    {"pw", &Instrument::pw, 0.05f, 0.95f},     {"sub", &Instrument::sub, 0, 1},
    {"ratio", &Instrument::ratio, 0.25f, 16},  {"index", &Instrument::index, 0, 20},
    {"idecay", &Instrument::idecay, 0.001f, 8}, {"damp", &Instrument::damp, 0, 1},
    {"pitch", &Instrument::pitch, 0, 2000},    {"tone", &Instrument::tone, 0, 1},
    {"duck", &Instrument::duck, 0, 1},         {"center", &Instrument::center, 24, 108},
    {"octave", &Instrument::octave, -3, 3},    {"arpstep", &Instrument::arpstep, 1, 16},
    {"arpoct", &Instrument::arpoct, 1, 3},
};

// Chord qualities: the text after the root in a chord symbol such as [F#m7].
struct Quality {
    const char *name;
    int count;
    int intervals[5];
};

static const Quality qualities[] = {
    {"", 3, {0, 4, 7}},          {"m", 3, {0, 3, 7}},          {"5", 2, {0, 7}},
    {"7", 4, {0, 4, 7, 10}},     {"maj7", 4, {0, 4, 7, 11}},   {"m7", 4, {0, 3, 7, 10}},
    {"6", 4, {0, 4, 7, 9}},      {"m6", 4, {0, 3, 7, 9}},      {"sus2", 3, {0, 2, 7}},
    {"sus4", 3, {0, 5, 7}},      {"7sus4", 4, {0, 5, 7, 10}},  {"dim", 3, {0, 3, 6}},
    {"aug", 3, {0, 4, 8}},       {"add9", 4, {0, 4, 7, 14}},   {"madd9", 4, {0, 3, 7, 14}},
    {"9", 5, {0, 4, 7, 10, 14}}, {"maj9", 5, {0, 4, 7, 11, 14}}, {"m9", 5, {0, 3, 7, 10, 14}},
};

// ---------------------------------------------------------------- small helpers

// Throws the fault at the parser's current line.
[[noreturn]] void fail(const Parser &p, const std::string &msg)
{
    throw AudioError(p.path + ":" + std::to_string(p.line) + ": " + msg);
}

// Splits a line into words; '#' at the start of a word begins a comment.
static std::vector<std::string> words_of(const std::string &text)
{
    std::vector<std::string> w;
    std::istringstream in(text);
    std::string word;
    while (in >> word) {
        if (word[0] == '#')
            break;
        w.push_back(word);
    }
    return w;
}

// Reads a number within lo..hi, or fails naming what it is.
double number(const Parser &p, const std::string &text, double lo, double hi, const char *what)
{
    char *end = nullptr;
    double v = std::strtod(text.c_str(), &end);
    if (text.empty() || *end != '\0' || !std::isfinite(v))
        fail(p, std::string(what) + " \"" + text + "\" is not a number");
    if (v < lo || v > hi) {
        std::ostringstream m;
        m << what << " " << text << " is outside " << lo << ".." << hi;
        fail(p, m.str());
    }
    return v;
}

// Semitones of a root such as "C", "F#" or "Bb" above the C of its octave (-1 for
// Cb .. 12 for B#); `used` gets the root's length, 0 when the text has none.
static int root_class(const std::string &t, size_t &used)
{
    static const int classes[7] = {9, 11, 0, 2, 4, 5, 7};  // A B C D E F G
    used = 0;
    if (t.empty() || t[0] < 'A' || t[0] > 'G')
        return 0;
    int pc = classes[t[0] - 'A'];
    used = 1;
    if (t.size() > 1 && (t[1] == '#' || t[1] == 'b')) {
        pc += t[1] == '#' ? 1 : -1;
        used = 2;
    }
    return pc;
}

// MIDI number of a note name such as "C4", "F#3" or "Bb5"; -1 when it is not one.
static int note_number(const std::string &t)
{
    size_t used;
    int pc = root_class(t, used);
    if (used == 0 || t.size() != used + 1 || t[used] < '0' || t[used] > '8')
        return -1;
    return 12 * (t[used] - '0' + 1) + pc;
}

// ---------------------------------------------------------------- header lines

// Reads `instrument <name> <kind> key=value ...`.
static void read_instrument(Parser &p, const std::vector<std::string> &w)
{
    if (w.size() < 3)
        fail(p, "instrument needs a name and a kind");
    if (!p.patterns.empty())
        fail(p, "instruments must come before the first pattern");
    static const char *reserved[] = {"use", "pattern", "song", "instrument"};
    for (const char *r : reserved)
        if (w[1] == r)
            fail(p, "\"" + w[1] + "\" cannot name an instrument");
    for (const Instrument &i : p.song.instruments)
        if (i.name == w[1])
            fail(p, "instrument \"" + w[1] + "\" is defined twice");
    Instrument in;
    in.name = w[1];
    const char **k = std::find_if(kind_names, kind_names + KIND_COUNT,
                                  [&](const char *n) { return w[2] == n; });
    if (k == kind_names + KIND_COUNT)
        fail(p, "unknown instrument kind \"" + w[2] + "\"");
    in.kind = (InstrumentKind)(k - kind_names);
    for (size_t j = 3; j < w.size(); j++) {
        size_t eq = w[j].find('=');
        if (eq == std::string::npos)
            fail(p, "expected key=value, found \"" + w[j] + "\"");
        std::string key = w[j].substr(0, eq), val = w[j].substr(eq + 1);
        if (key == "arp") {
            static const char *modes[4] = {"none", "up", "down", "updown"};
            const char **m = std::find(modes, modes + 4, val);
            if (m == modes + 4)
                fail(p, "arp must be none, up, down or updown");
            in.arp = (float)(m - modes);
            continue;
        }
        const Param *pr = std::find_if(std::begin(params), std::end(params),
                                       [&](const Param &q) { return key == q.key; });
        if (pr == std::end(params))
            fail(p, "unknown instrument setting \"" + key + "\"");
        int n = key == "center" ? note_number(val) : -1;
        if (n >= 0)
            val = std::to_string(n);
        in.*(pr->field) = (float)number(p, val, pr->lo, pr->hi, pr->key);
    }
    p.song.instruments.push_back(in);
}

// Reads one line of song-wide settings; false when the line is not one.
static bool read_setting(Parser &p, const std::vector<std::string> &w, const std::string &rest)
{
    const std::string &k = w[0];
    auto need = [&](size_t n) {
        if (w.size() != n + 1)
            fail(p, k + " takes " + std::to_string(n) + (n == 1 ? " value" : " values"));
    };
    if (k == "title") {
        if (rest.empty() || rest.size() > 60)
            fail(p, "title must have 1 to 60 characters");
        p.song.title = rest;
    } else if (k == "tempo") {
        need(1);
        p.song.tempo = number(p, w[1], 40, 240, "tempo");
    } else if (k == "meter" || k == "steps") {
        need(1);
        if (!p.patterns.empty())
            fail(p, k + " must come before the first pattern");
        int v = (int)number(p, w[1], 1, 16, k.c_str());
        (k == "meter" ? p.song.meter : p.song.steps_per_beat) = v;
        if (p.song.meter * p.song.steps_per_beat > MAX_STEPS_PER_BAR)
            fail(p, "a bar has more than 64 steps");
    } else if (k == "tail") {
        need(1);
        p.song.tail = number(p, w[1], 0.5, 10, "tail");
    } else if (k == "echo") {
        need(2);
        p.song.delay_beats = number(p, w[1], 0.125, 4, "echo time");
        p.song.delay_feedback = number(p, w[2], 0, 0.9, "echo feedback");
    } else if (k == "reverb") {
        need(2);
        p.song.room = number(p, w[1], 0, 1, "room size");
        p.song.room_damp = number(p, w[2], 0, 1, "room damping");
    } else if (k == "loudness") {
        need(1);
        p.song.loudness = number(p, w[1], -30, -8, "loudness");
    } else {
        return false;
    }
    return true;
}

// ---------------------------------------------------------------- pattern lines

// Index of the instrument named n, or -1.
static int instrument_index(const Parser &p, const std::string &n)
{
    for (size_t i = 0; i < p.song.instruments.size(); i++)
        if (p.song.instruments[i].name == n)
            return (int)i;
    return -1;
}

// Pitches of one tuned token: "C4", "C4+E4+G4" or a chord symbol such as "[Am7]",
// voiced around the instrument's centre note.
static std::vector<double> token_pitches(const Parser &p, const Instrument &in,
                                         const std::string &t)
{
    std::vector<double> out;
    if (t[0] == '[') {
        if (t.back() != ']')
            fail(p, "chord \"" + t + "\" lacks its closing ]");
        std::string sym = t.substr(1, t.size() - 2);
        size_t used;
        int root = (root_class(sym, used) + 12) % 12;
        const Quality *q = std::end(qualities);
        for (const Quality &c : qualities)
            if (used && sym.substr(used) == c.name)
                q = &c;
        if (q == std::end(qualities))
            fail(p, "unknown chord \"" + t + "\"");
        int low = (int)in.center - 6;
        for (int k = 0; k < q->count; k++) {
            int pc = (root + q->intervals[k]) % 12;
            out.push_back(low + ((pc - low) % 12 + 12) % 12);
        }
        std::sort(out.begin(), out.end());
        return out;
    }
    if (t.back() == '+')
        fail(p, "\"" + t + "\" ends with +");
    std::string part;
    std::istringstream parts(t);
    while (std::getline(parts, part, '+')) {
        int n = note_number(part);
        if (n < 0)
            fail(p, "\"" + part + "\" is not a note (like C4, F#3 or Bb2)");
        out.push_back(n);
    }
    return out;
}

// Decodes one token of a track into a cell; `prev` is the token before it.
static Cell read_token(const Parser &p, const Instrument &in, std::string t,
                       const std::string &prev)
{
    Cell c;
    bool drum = in.kind >= FIRST_DRUM_KIND;
    if (t == ".")
        return c;
    if (t == "-") {
        if (drum)
            fail(p, "drum tracks have no held notes; use . for silence");
        if (prev == ".")
            fail(p, "- holds a note, but follows a rest");
        c.kind = CELL_HOLD;
        return c;
    }
    c.kind = CELL_ONSET;
    if (drum) {
        if (t != "X" && t != "x" && t != "o")
            fail(p, "drum hits are X (accent), x or o (soft), not \"" + t + "\"");
        c.velocity = t == "X" ? 1.0f : t == "x" ? 0.75f : 0.45f;
        return c;
    }
    c.velocity = 0.8f;
    if (t.back() == '!' || t.back() == '\'') {
        c.velocity = t.back() == '!' ? 1.0f : 0.55f;
        t.pop_back();
    }
    if (t.empty())
        fail(p, "a velocity mark needs a note before it");
    c.pitches = token_pitches(p, in, t);
    return c;
}

// Reads `<instrument> <tokens> | <tokens> ...`, adding its bars to the open pattern.
static void read_track(Parser &p, int inst, const std::vector<std::string> &w)
{
    const Instrument &in = p.song.instruments[inst];
    int spb = p.song.meter * p.song.steps_per_beat;
    Pattern &pat = *p.open;
    if (!pat.own[inst]) {
        pat.own[inst] = true;
        pat.tracks[inst].clear();
    }
    Track &track = pat.tracks[inst];
    pat.lines[inst] = p.line;
    std::vector<std::string> bar;
    // A hold may continue a note from an earlier line or pattern, never a rest.
    std::string prev = track.empty() ? "" : track.back().kind == CELL_REST ? "." : "note";
    auto close_bar = [&]() {
        int n = (int)bar.size();
        if (n == 0 || spb % n != 0)
            fail(p, "a bar of " + in.name + " has " + std::to_string(n) +
                        " notes; it needs a number that divides " + std::to_string(spb));
        for (const std::string &t : bar) {
            Cell c = read_token(p, in, t, prev);
            prev = t;
            track.push_back(c);
            Cell rest;
            rest.kind = c.kind == CELL_REST ? CELL_REST : CELL_HOLD;
            if (in.kind >= FIRST_DRUM_KIND)
                rest.kind = CELL_REST;
            for (int k = 1; k < spb / n; k++)
                track.push_back(rest);
        }
        bar.clear();
    };
    for (size_t j = 1; j < w.size(); j++) {
        if (w[j] == "|") {
            if (!bar.empty() || (j > 1 && j + 1 < w.size()))
                close_bar();
        } else {
            bar.push_back(w[j]);
        }
    }
    if (!bar.empty())
        close_bar();
    if ((int)track.size() > pat.bars * spb)
        fail(p, in.name + " has more bars than pattern " + pat.name);
}

// Repeats track to fill `steps`; the track's length must divide it.
static Track tiled(const Parser &p, const Track &t, int steps, const std::string &what)
{
    if (t.empty() || steps % t.size() != 0)
        fail(p, what + ": its bars do not divide the pattern's length");
    Track out;
    while ((int)out.size() < steps)
        out.insert(out.end(), t.begin(), t.end());
    return out;
}

// Finishes the open pattern: tiles each short track to the pattern's length.
static void close_pattern(Parser &p)
{
    if (!p.open)
        return;
    int steps = p.open->bars * p.song.meter * p.song.steps_per_beat;
    int here = p.line;
    for (auto &kv : p.open->tracks) {
        if (p.open->own[kv.first])
            p.line = p.open->lines[kv.first];
        kv.second = tiled(p, kv.second, steps,
                          "track " + p.song.instruments[kv.first].name + " of " + p.open->name);
    }
    p.line = here;
    p.open = nullptr;
}

// Reads `pattern <name> <bars>` and opens it.
static void read_pattern(Parser &p, const std::vector<std::string> &w)
{
    close_pattern(p);
    if (w.size() != 3)
        fail(p, "pattern takes a name and a number of bars");
    for (char ch : w[1])
        if (!std::isalnum((unsigned char)ch) && ch != '_')
            fail(p, "pattern names use letters, digits and _ only");
    for (const Pattern &q : p.patterns)
        if (q.name == w[1])
            fail(p, "pattern \"" + w[1] + "\" is defined twice");
    Pattern pat;
    pat.name = w[1];
    pat.bars = (int)number(p, w[2], 1, 64, "bars");
    p.patterns.push_back(pat);
    p.open = &p.patterns.back();
}

// Reads `use <pattern>`: the open pattern takes that pattern's tracks, repeated.
static void read_use(Parser &p, const std::vector<std::string> &w)
{
    if (w.size() != 2)
        fail(p, "use takes one pattern name");
    const Pattern *src = nullptr;
    for (const Pattern &q : p.patterns)
        if (q.name == w[1] && &q != p.open)
            src = &q;
    if (!src)
        fail(p, "use of unknown or unfinished pattern \"" + w[1] + "\"");
    int steps = p.open->bars * p.song.meter * p.song.steps_per_beat;
    for (const auto &kv : src->tracks)
        if (!p.open->own[kv.first])
            p.open->tracks[kv.first] = tiled(p, kv.second, steps, "use " + src->name);
}

// ---------------------------------------------------------------- the file

// Handles one line of the score.
static void read_line(Parser &p, const std::string &text)
{
    std::vector<std::string> w = words_of(text);
    if (w.empty())
        return;
    // The words after the first, for settings such as the title that take words.
    std::string rest;
    for (size_t j = 1; j < w.size(); j++)
        rest += (j > 1 ? " " : "") + w[j];
    if (w[0] == "song") {
        close_pattern(p);
        for (size_t j = 1; j < w.size(); j++) {
            p.order.push_back(w[j]);
            p.order_lines.push_back(p.line);
        }
    } else if (w[0] == "pattern") {
        read_pattern(p, w);
    } else if (w[0] == "use" && p.open) {
        read_use(p, w);
    } else if (p.open && instrument_index(p, w[0]) >= 0) {
        read_track(p, instrument_index(p, w[0]), w);
    } else if (w[0] == "instrument") {
        read_instrument(p, w);
    } else if (p.open || !read_setting(p, w, rest)) {
        fail(p, "\"" + w[0] + "\" is not an instrument or a setting here");
    }
}

// Reads and checks the score file at path.
Song parse_score(const std::string &path)
{
    std::ifstream in(path);
    if (!in)
        throw AudioError(path + ": cannot be read");
    Parser p;
    p.path = path;
    std::string base = path.substr(path.find_last_of('/') + 1);
    p.song.name = base.substr(0, base.rfind('.'));
    p.song.title = p.song.name;
    std::string text;
    while (std::getline(in, text)) {
        p.line++;
        if (text.size() > 4000)
            fail(p, "the line is longer than 4000 characters");
        read_line(p, text);
    }
    close_pattern(p);
    if (p.order.empty())
        fail(p, "the score has no song line");
    arrange(p);
    if (p.song.notes.empty())
        fail(p, "the song has no notes");
    return p.song;
}
