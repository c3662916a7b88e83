// The replay file's frame stream: encoding the frames of a game as it is
// played, checking a whole file before anything of it is used, and handing
// its frames back one at a time.

#include "replayfile.h"

#include <cmath>
#include <cstring>

#include "files.h"

// ---- Encoding ----

static void put_varint(std::vector<uint8_t> &out, uint32_t v)
{
    while (v >= 0x80) {
        out.push_back((uint8_t)(v | 0x80));
        v >>= 7;
    }
    out.push_back((uint8_t)v);
}

static void put_u32(std::vector<uint8_t> &out, uint32_t v)
{
    for (int k = 0; k < 4; k++)
        out.push_back((uint8_t)(v >> (8 * k)));
}

// A signed change as an unsigned number, small either way.
static uint32_t zigzag(int32_t v)
{
    return ((uint32_t)v << 1) ^ (uint32_t)(v >> 31);
}

static int32_t unzigzag(uint32_t u)
{
    return (int32_t)(u >> 1) ^ -(int32_t)(u & 1);
}

float paddle_on_grid(float x)
{
    if (!(x >= -PADDLE_REACH))
        x = -PADDLE_REACH;
    if (x > PADDLE_REACH)
        x = PADDLE_REACH;
    return (float)lrintf(x * PADDLE_GRID) / PADDLE_GRID;
}

static int32_t grid_steps(float x)
{
    return (int32_t)lrintf(x * PADDLE_GRID);
}

replay_encoder::replay_encoder() : at(grid_steps(REPLAY_FIRST_PADDLE)) {}

// A change that shares a byte with the next frame's.
static bool pairs(int32_t c)
{
    return c >= -4 && c < 4;
}

// One frame's change on its own.
static void put_change(std::vector<uint8_t> &out, int32_t c)
{
    if (c >= -64 && c < 64) {
        out.push_back((uint8_t)(OP_NUDGE + c + 64));
    } else {
        out.push_back(OP_STEP);
        put_varint(out, zigzag(c));
    }
}

// The frames held back are written: a run, or a change waiting for a partner.
static void flush_frames(replay_encoder &e)
{
    if (e.run > 0 && e.run <= (uint32_t)SHORT_RUN_MOST) {
        e.bytes.push_back((uint8_t)(OP_SHORT_RUN + e.run - 1));
    } else if (e.run > 0) {
        e.bytes.push_back(OP_RUN);
        put_varint(e.bytes, e.run);
    }
    e.run = 0;
    if (e.held)
        put_change(e.bytes, e.held_change);
    e.held = 0;
}

void replay_encoder::event(int id)
{
    flush_frames(*this);
    bytes.push_back(OP_EVENT);
    bytes.push_back((uint8_t)id);
}

void replay_encoder::frame(const play_input &in, uint32_t hash)
{
    if ((in.slow != 0) != (slow != 0)) {
        flush_frames(*this);
        slow = in.slow != 0;
        bytes.push_back(OP_SLOW);
        bytes.push_back((uint8_t)slow);
    }
    int32_t now = grid_steps(in.paddle), change = (now - at) - move;
    move = now - at;
    at = now;
    if (held && pairs(change)) {
        bytes.push_back((uint8_t)(OP_PAIR + 8 * (held_change + 4) + change + 4));
        held = 0;
    } else if (change == 0 && !held) {
        run++;
    } else {
        flush_frames(*this);
        if (pairs(change)) {
            held = 1;
            held_change = change;
        } else {
            put_change(bytes, change);
        }
    }
    if (++frames % REPLAY_HASH_PERIOD == 0) {
        flush_frames(*this);
        bytes.push_back(OP_HASH);
        put_u32(bytes, hash);
    }
}

void replay_encoder::finish(const replay_trailer &t)
{
    flush_frames(*this);
    bytes.push_back(OP_END);
    const uint8_t *p = (const uint8_t *)&t;
    bytes.insert(bytes.end(), p, p + sizeof t);
}

// ---- Reading ----

// A varint of at most five bytes within [*pos, size); 0 when cut or too long.
static int get_varint(const uint8_t *d, size_t size, size_t *pos, uint32_t *v)
{
    uint64_t x = 0;
    for (int k = 0; k < 5; k++) {
        if (*pos >= size)
            return 0;
        uint8_t c = d[(*pos)++];
        x |= (uint64_t)(c & 0x7f) << (7 * k);
        if (!(c & 0x80)) {
            if (x > 0xffffffffu)
                return 0;
            *v = (uint32_t)x;
            return 1;
        }
    }
    return 0;
}

static uint32_t get_u32(const uint8_t *d)
{
    return (uint32_t)d[0] | (uint32_t)d[1] << 8 | (uint32_t)d[2] << 16 | (uint32_t)d[3] << 24;
}

// 1 when the text ends inside its field and is not empty.
static bool ended_text(const char *s, size_t field)
{
    return memchr(s, 0, field) != nullptr && s[0] != 0;
}

static int refuse(std::string *why, const char *reason)
{
    if (why)
        *why = reason;
    return 0;
}

static int header_sound(const replay_header &h, std::string *why)
{
    if (memcmp(h.magic, REPLAY_MAGIC, sizeof h.magic) != 0)
        return refuse(why, "it is not a Corvale replay");
    if (h.format < REPLAY_FORMAT)
        return refuse(why, "it was made by an older version of Corvale, in another replay format");
    if (h.format > REPLAY_FORMAT)
        return refuse(why, "it was made by a newer version of Corvale, in another replay format");
    if (!ended_text(h.game_version, sizeof h.game_version) || !ended_text(h.set_name, sizeof h.set_name))
        return refuse(why, "its header is damaged");
    if (h.difficulty < 0 || h.difficulty > 2 || (h.classic & ~1) || (h.particles & ~1) ||
        (h.continued & ~1) || h.start_level < 1)
        return refuse(why, "its header is damaged");
    return 1;
}

// One operation of the stream as read.
struct stream_op {
    uint8_t op;          // OP_END, OP_RUN (short runs too), OP_STEP (nudges and pairs too), OP_SLOW, OP_EVENT, OP_HASH
    uint32_t value;      // a run's frames, OP_SLOW's or OP_EVENT's byte, OP_HASH's hash
    int frames;          // OP_STEP: 1, or 2 for a pair
    int32_t change[2];   // OP_STEP: the frames' changes of the move
};

// Reads the operation at *pos. 0 when it is cut short (*cut 1) or not an
// operation at all; its operand's values are not checked.
static int read_op(const uint8_t *d, size_t size, size_t *pos, stream_op *o, int *cut)
{
    *cut = 0;
    uint8_t b = d[(*pos)++];
    o->op = b;
    o->frames = 1;
    if (b >= OP_NUDGE) {
        o->op = OP_STEP;
        o->change[0] = b - OP_NUDGE - 64;
    } else if (b >= OP_PAIR) {
        o->op = OP_STEP;
        o->frames = 2;
        o->change[0] = ((b - OP_PAIR) >> 3) - 4;
        o->change[1] = ((b - OP_PAIR) & 7) - 4;
    } else if (b >= OP_SHORT_RUN) {
        o->op = OP_RUN;
        o->value = b - OP_SHORT_RUN + 1u;
    } else if (b == OP_RUN || b == OP_STEP) {
        if (!get_varint(d, size, pos, &o->value))
            return *pos >= size ? (*cut = 1, 0) : 0;
        o->change[0] = unzigzag(o->value);
    } else if (b == OP_SLOW || b == OP_EVENT) {
        if (*pos >= size)
            return *cut = 1, 0;
        o->value = d[(*pos)++];
    } else if (b == OP_HASH) {
        if (size - *pos < 4)
            return *cut = 1, 0;
        o->value = get_u32(d + *pos);
        *pos += 4;
    } else if (b != OP_END) {
        return 0;
    }
    return 1;
}

// Walks the stream from pos: every operation whole and sound, the paddle
// within its reach, the frames counted; the end operation and the trailer
// close the file exactly.
static int stream_sound(const uint8_t *d, size_t size, size_t pos, replay_trailer *t, std::string *why)
{
    int64_t at = grid_steps(REPLAY_FIRST_PADDLE), move = 0;
    uint64_t frames = 0;
    // A run's frames lie between its ends, so its ends within reach hold them all.
    auto far = [&] { return at < -PADDLE_GRID_REACH || at > PADDLE_GRID_REACH; };
    while (pos < size) {
        stream_op o;
        int cut;
        if (!read_op(d, size, &pos, &o, &cut))
            return refuse(why, cut ? "it is cut short" : "its frames are damaged");
        switch (o.op) {
        case OP_END:
            if (size - pos != sizeof *t)
                return refuse(why, "it does not end where its frames end");
            memcpy(t, d + pos, sizeof *t);
            if (t->frames != frames)
                return refuse(why, "its frame count is damaged");
            if (t->end_reason < REPLAY_GAME_OVER || t->end_reason > REPLAY_QUIT)
                return refuse(why, "its ending is damaged");
            return 1;
        case OP_RUN:
            if (o.value == 0)
                return refuse(why, "its frames are damaged");
            at += move * (int64_t)o.value;
            frames += o.value;
            if (far())
                return refuse(why, "its frames are damaged");
            break;
        case OP_STEP:
            for (int k = 0; k < o.frames; k++) {
                move += o.change[k];
                at += move;
                if (far())
                    return refuse(why, "its frames are damaged");
            }
            frames += o.frames;
            break;
        case OP_SLOW:
        case OP_EVENT:
            if (o.op == OP_SLOW ? o.value > 1 : o.value < 1 || o.value > EVENT_LAST)
                return refuse(why, "its frames are damaged");
            break;
        default:
            break;
        }
        if (frames > 0xffffffffu)
            return refuse(why, "its frames are damaged");
    }
    return refuse(why, "it is cut short");
}

int replay_parse(const uint8_t *data, size_t size, replay_file *out, std::string *why)
{
    replay_header h;
    if (size < sizeof h)
        return refuse(why, "it is cut short");
    memcpy(&h, data, sizeof h);
    if (!header_sound(h, why))
        return 0;
    size_t pos = sizeof h;
    saved_game g;
    memset(&g, 0, sizeof g);
    if (h.continued) {
        if (size - pos < sizeof g)
            return refuse(why, "it is cut short");
        memcpy(&g, data + pos, sizeof g);
        pos += sizeof g;
    }
    replay_trailer t;
    if (!stream_sound(data, size, pos, &t, why))
        return 0;
    out->header = h;
    out->start = g;
    out->trailer = t;
    out->bytes.assign(data, data + size);
    out->stream = pos;
    return 1;
}

// The whole of a regular file; 0 when it cannot be read.
static int read_whole(const std::string &path, std::vector<uint8_t> *bytes)
{
    FILE *f = open_regular_file(path.c_str());
    if (!f)
        return 0;
    bytes->clear();
    uint8_t buf[65536];
    size_t got;
    while ((got = fread(buf, 1, sizeof buf, f)) > 0)
        bytes->insert(bytes->end(), buf, buf + got);
    int ok = !ferror(f);
    fclose(f);
    return ok;
}

int replay_load(const std::string &path, replay_file *out, std::string *why)
{
    std::vector<uint8_t> bytes;
    if (!read_whole(path, &bytes))
        return refuse(why, "it cannot be read");
    return replay_parse(bytes.data(), bytes.size(), out, why);
}

uint64_t file_hash(const std::string &path, int *ok)
{
    std::vector<uint8_t> bytes;
    *ok = read_whole(path, &bytes);
    if (!*ok)
        return 0;
    uint64_t h = 14695981039346656037ull;
    for (uint8_t c : bytes) {
        h ^= c;
        h *= 1099511628211ull;
    }
    return h;
}

// ---- Playing back ----

replay_cursor::replay_cursor(const replay_file &f)
    : file(&f), pos(f.stream), at(grid_steps(REPLAY_FIRST_PADDLE)) {}

int replay_cursor::next(std::vector<int> *events, play_input *in, int *check, uint32_t *expected)
{
    const uint8_t *d = file->bytes.data();
    size_t size = file->bytes.size();
    events->clear();
    *check = 0;
    int32_t change = 0;
    for (;;) {
        if (run_left > 0) {
            run_left--;
            break;
        }
        if (queued) {
            queued = 0;
            change = queued_change;
            break;
        }
        size_t start = pos;
        stream_op o;
        int cut;
        read_op(d, size, &pos, &o, &cut);   // the file was checked whole
        if (o.op == OP_END) {
            pos = start;
            *check = 1;
            *expected = file->trailer.final_hash;
            return 0;
        }
        if (o.op == OP_RUN) {
            run_left = o.value;
        } else if (o.op == OP_STEP) {
            change = o.change[0];
            queued = o.frames == 2;
            if (queued)
                queued_change = o.change[1];
            break;
        } else if (o.op == OP_SLOW) {
            slow = (int)o.value;
        } else if (o.op == OP_EVENT) {
            events->push_back((int)o.value);
        } else if (o.op == OP_HASH) {
            *check = 1;
            *expected = o.value;
        }
    }
    frame++;
    move += change;
    at += move;
    in->paddle = (float)at / PADDLE_GRID;
    in->slow = slow;
    return 1;
}

int replay_name_ok(const char *name)
{
    static const char shape[] = "########-######-##.crp";
    if (strlen(name) != sizeof shape - 1)
        return 0;
    for (size_t k = 0; shape[k]; k++)
        if (shape[k] == '#' ? !(name[k] >= '0' && name[k] <= '9') : name[k] != shape[k])
            return 0;
    return 1;
}
