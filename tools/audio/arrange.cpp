// Lays out a parsed score: the `song` items in order, each pattern transposed and
// repeated, then every onset turned into notes (chords and arpeggios included).
#include "score.h"

#include <algorithm>

// Seconds from the song's start to step.
double step_time(const Song &song, int step)
{
    double d = 60.0 / song.tempo / song.steps_per_beat;
    return d * step;
}

// Reads one `song` item, "name", "name*N", "name+T" or "name-T*N" (T semitones).
static void read_item(const Parser &p, const std::string &item, const Pattern *&pat,
                      int &transpose, int &times)
{
    size_t end = item.find_first_of("+-*");
    std::string name = item.substr(0, end);
    pat = nullptr;
    for (const Pattern &q : p.patterns)
        if (q.name == name)
            pat = &q;
    if (!pat)
        fail(p, "song names unknown pattern \"" + name + "\"");
    transpose = 0;
    times = 1;
    std::string rest = end == std::string::npos ? "" : item.substr(end);
    size_t star = rest.find('*');
    if (star != 0 && !rest.empty())
        transpose = (int)number(p, rest.substr(0, star), -24, 24, "transposition");
    if (star != std::string::npos)
        times = (int)number(p, rest.substr(star + 1), 1, 64, "repeat count");
}

// Appends pattern pat (transposed) to the song's per-instrument timelines.
static void append_pattern(const Parser &p, const Pattern &pat, int transpose,
                           std::vector<Track> &lines, int &at)
{
    int steps = pat.bars * p.song.meter * p.song.steps_per_beat;
    for (size_t i = 0; i < lines.size(); i++) {
        lines[i].resize(at + steps);
        auto t = pat.tracks.find((int)i);
        if (t == pat.tracks.end())
            continue;
        const Instrument &in = p.song.instruments[i];
        for (int s = 0; s < steps; s++) {
            Cell c = t->second[s];
            for (double &n : c.pitches) {
                n += transpose + 12 * (int)in.octave;
                if (n < 12 || n > 120)
                    fail(p, "a note of " + in.name + " in " + pat.name +
                                " is out of range after transposition");
            }
            lines[i][at + s] = c;
        }
    }
    at += steps;
}

// Adds the notes of one onset: a chord, or an arpeggio of it over its length.
static void add_onset(Song &song, int inst, int step, int length, const Cell &c)
{
    const Instrument &in = song.instruments[inst];
    if (in.kind >= FIRST_DRUM_KIND) {
        song.notes.push_back({inst, step, 1, 0, c.velocity});
        return;
    }
    if (in.arp == ARP_NONE) {
        for (double n : c.pitches)
            song.notes.push_back({inst, step, length, n, c.velocity});
        return;
    }
    std::vector<double> run;
    for (int o = 0; o < (int)in.arpoct; o++)
        for (double n : c.pitches)
            run.push_back(n + 12 * o);
    if (in.arp == ARP_DOWN)
        std::reverse(run.begin(), run.end());
    if (in.arp == ARP_UPDOWN)
        for (int k = (int)run.size() - 2; k > 0; k--)
            run.push_back(run[k]);
    int each = (int)in.arpstep;
    for (int s = 0, k = 0; s < length; s += each, k++)
        song.notes.push_back({inst, step + s, std::min(each, length - s),
                              run[k % run.size()], k == 0 ? c.velocity : c.velocity * 0.85f});
}

// Turns the timelines into notes: an onset lasts until its holds end.
static void collect_notes(Song &song, const std::vector<Track> &lines)
{
    for (size_t i = 0; i < lines.size(); i++) {
        const Track &t = lines[i];
        for (int s = 0; s < (int)t.size(); s++) {
            if (t[s].kind != CELL_ONSET)
                continue;
            int len = 1;
            while (s + len < (int)t.size() && t[s + len].kind == CELL_HOLD)
                len++;
            add_onset(song, (int)i, s, len, t[s]);
        }
    }
    std::stable_sort(song.notes.begin(), song.notes.end(),
                     [](const Note &a, const Note &b) { return a.step < b.step; });
}

// Builds the whole song from the `song` items.
void arrange(Parser &p)
{
    std::vector<Track> lines(p.song.instruments.size());
    int at = 0;
    for (size_t k = 0; k < p.order.size(); k++) {
        p.line = p.order_lines[k];
        const Pattern *pat;
        int transpose, times;
        read_item(p, p.order[k], pat, transpose, times);
        for (int r = 0; r < times; r++)
            append_pattern(p, *pat, transpose, lines, at);
        if (step_time(p.song, at) > 400)
            fail(p, "the song is longer than 400 seconds");
    }
    p.song.total_steps = at;
    collect_notes(p.song, lines);
}

