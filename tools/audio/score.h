// The score reader's own types, shared by its two files: score.cpp reads the lines
// of a score into patterns, arrange.cpp lays the patterns out into the song's notes.
#pragma once

#include "audio.h"

#include <map>

// One step of a track: nothing, the start of a note or chord, or a held note.
enum CellKind { CELL_REST, CELL_ONSET, CELL_HOLD };

struct Cell {
    CellKind kind = CELL_REST;
    std::vector<double> pitches;    // MIDI notes of an onset (empty for a drum hit)
    float velocity = 0;
};
typedef std::vector<Cell> Track;    // one cell per step

// A named pattern: a few bars of tracks, one per instrument that plays in it.
struct Pattern {
    std::string name;
    int bars = 0;
    std::map<int, Track> tracks;    // by instrument index
    std::map<int, bool> own;        // tracks written in this pattern, not taken by `use`
    std::map<int, int> lines;       // last line of each written track, for messages
};

// The parser's state while it walks one file.
struct Parser {
    std::string path;
    int line = 0;
    Song song;
    std::vector<Pattern> patterns;
    Pattern *open = nullptr;        // pattern whose lines are being read
    std::vector<std::string> order; // the `song` items, in order
    std::vector<int> order_lines;   // the line of each item, for messages
};

// Throws the fault at the parser's current line.
[[noreturn]] void fail(const Parser &p, const std::string &msg);
// Reads a number within lo..hi, or fails naming what it is.
double number(const Parser &p, const std::string &text, double lo, double hi, const char *what);
// Builds the whole song from the `song` items: the timelines, then the notes.
void arrange(Parser &p);
