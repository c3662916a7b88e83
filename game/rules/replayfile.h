// The replay file: its frames encoded as a stream of operations, the checks a
// file must pass before it is watched, and a cursor that hands its frames back.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "formats.h"   // replay_header, replay_trailer, saved_game
#include "tick.h"      // play_input

// The operations of the frame stream: one byte each, then their operand. The
// paddle is kept on a grid (paddle_on_grid), and each frame moves it by the
// frame before's move plus a change, so a paddle at rest or steered at an even
// speed costs only its runs, and most other frames a byte or half of one.
enum replay_op {
    OP_END = 0,          // then the trailer, and the file ends
    OP_RUN = 1,          // varint n >= 1: n frames, each moving the paddle as the one before
    OP_STEP = 2,         // varint zigzag(change of the move, in grid steps): one frame
    OP_SLOW = 3,         // byte 0/1: the frames from here are slow (slow_frame) or not
    OP_EVENT = 4,        // byte: an event (play_event_id) before the next frame
    OP_HASH = 5,         // 4 bytes: play's state hash after the frames so far
    OP_SHORT_RUN = 0x08, // + n - 1, n 1..SHORT_RUN_MOST: as OP_RUN
    OP_PAIR = 0x40,      // + 8 (a + 4) + (b + 4): two frames, their changes a, b in -4..3
    OP_NUDGE = 0x80,     // + c + 64: one frame, its change c in -64..63
};
constexpr int SHORT_RUN_MOST = OP_PAIR - OP_SHORT_RUN;
constexpr int REPLAY_HASH_PERIOD = 60;         // frames between two state hashes
constexpr float REPLAY_FIRST_PADDLE = 2.75f;   // where the stream's paddle starts, at rest
constexpr float PADDLE_GRID = 4096.0f;         // grid steps a field unit: a tenth of a pixel or finer
constexpr float PADDLE_REACH = 64.0f;          // the paddle asked for is held within +-this; the walls are far inside
constexpr int32_t PADDLE_GRID_REACH = (int32_t)(PADDLE_REACH * PADDLE_GRID);

// Where the player puts the paddle, as play takes it and a replay keeps it:
// on the grid, within the reach.
float paddle_on_grid(float x);

enum replay_end { REPLAY_GAME_OVER = 1, REPLAY_ESCAPE = 2, REPLAY_QUIT = 3 };

// Encodes the frames of one game as they are played.
struct replay_encoder {
    std::vector<uint8_t> bytes;   // the stream so far
    int32_t at;                   // the paddle of the last frame, in grid steps
    int32_t move = 0;             // its move in that frame
    int slow = 0;
    uint32_t run = 0;             // frames not yet written whose move was the one before's
    int held = 0;                 // a frame with a small change waits to share a byte
    int32_t held_change = 0;
    uint32_t frames = 0;
    replay_encoder();
    void event(int id);                               // before the next frame
    // A frame played (its paddle on the grid); hash is the state after it.
    void frame(const play_input &in, uint32_t hash);
    void finish(const replay_trailer &t);             // the end operation and the trailer
};

// A whole replay file read and checked.
struct replay_file {
    replay_header header;
    saved_game start;            // the continued game's record (when header.continued)
    replay_trailer trailer;
    std::vector<uint8_t> bytes;  // the whole file
    size_t stream = 0;           // offset of the frame stream
};

// Checks bytes as a replay: the magic and format, the header's values, the
// saved-game record's presence, every operation of the stream, the trailer and
// the file's end. 1 with the file in *out; 0 with the reason in *why.
int replay_parse(const uint8_t *data, size_t size, replay_file *out, std::string *why);

// Reads path and checks it; 0 with the reason in *why.
int replay_load(const std::string &path, replay_file *out, std::string *why);

// Hands back the frames of a checked replay one at a time.
struct replay_cursor {
    const replay_file *file = nullptr;
    size_t pos = 0;
    int32_t at;               // the paddle, in grid steps
    int32_t move = 0;
    int slow = 0;
    uint32_t run_left = 0;
    int queued = 0;           // a pair's second frame is next
    int32_t queued_change = 0;
    uint32_t frame = 0;       // frames handed back so far
    explicit replay_cursor(const replay_file &f);
    // The next frame: the events before it, its input, and the state hash
    // expected before it runs (*check 1 when one is due). 0 at the stream's
    // end (a check may still be due: the final hash).
    int next(std::vector<int> *events, play_input *in, int *check, uint32_t *expected);
};

// FNV-1a (64 bits) of a file's bytes; 0 with *ok 0 when it cannot be read.
uint64_t file_hash(const std::string &path, int *ok);

// 1 for a name the game gives its replays: "YYYYMMDD-HHMMSS-NN.crp".
int replay_name_ok(const char *name);
