// Play's frames and events from the player, and the recording of a game: the
// input each frame of play reads, encoded as it is played and written whole
// when the game ends.

#include "replay.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <vector>

#include "files.h"
#include "paths.h"
#include "physics/ball.h"
#include "physics/physics.h"
#include "progress.h"
#include "replayfile.h"
#include "rules.h"
#include "savegame.h"
#include "scores.h"
#include "shell/shell.h"
#include "tick.h"
#include "watch.h"

#ifndef CORVALE_VERSION
#define CORVALE_VERSION "unknown"
#endif

const char REPLAYS_FOLDER[] = "replays";
std::string last_replay;

static unsigned game_seed = 1;       // the seed of the game chosen last
static int armed;                    // a game was chosen and waits for play to begin
static int recording;                // the game in play is being recorded
static replay_header header;         // the recorded game's header
static saved_game start_record;      // a continued game's record
static replay_encoder *encoder;      // its frames so far

void play_frame()
{
    if (watching) {
        watch_frame();
        return;
    }
    attract_frame();
    if (watching)
        return;   // the demo has just begun: its first frame is the next
    play_input in;
    in.paddle = paddle_on_grid(paddle_target());
    in.slow = fps < 60;
    play_tick(in);
    if (recording && screen_is(SCREEN_PLAY)) {
        int due = (encoder->frames + 1) % REPLAY_HASH_PERIOD == 0;
        encoder->frame(in, due ? play_state_hash() : 0);
    }
}

void play_event(int event)
{
    if (watching)
        return;  // the replay's own events play
    if (recording && screen_is(SCREEN_PLAY))
        encoder->event(event);
    apply_play_event(event);
}

void game_chosen()
{
    game_seed = fresh_seed();
    crt_srand(game_seed);
    memset(&header, 0, sizeof header);
    memcpy(header.magic, REPLAY_MAGIC, sizeof header.magic);
    header.format = REPLAY_FORMAT;
    header.seed = game_seed;
    header.difficulty = difficulty;
    header.classic = classic != 0;
    header.particles = psystem != 0;
    header.start_level = level;
    snprintf(header.game_version, sizeof header.game_version, "%s", CORVALE_VERSION);
    armed = 1;
}

void play_starts()
{
    if (watching)
        return;   // the title faded out over the demo, whose game is set up
    play_begin(game_seed);
    recording = 0;
    if (!armed || test)
        return;
    armed = 0;
    header.continued = PLAYING_SAVED_GAME != 0;
    if (header.continued)
        start_record = Sgame;
    snprintf(header.set_name, sizeof header.set_name, "%s", set_name);
    int ok;
    header.set_hash = file_hash(set_file_path(set_name), &ok);
    if (!ok)
        return;  // a set that cannot be read again cannot be replayed
    delete encoder;
    encoder = new replay_encoder();
    recording = 1;
}

// A name for a new replay: the date and time, and a number that is free.
static std::string new_replay_name(const std::string &folder)
{
    char stamp[32], name[48];
    time_t t = time(nullptr);
    struct tm tm;
    localtime_r(&t, &tm);
    strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &tm);
    for (int n = 0; n < 100; n++) {
        snprintf(name, sizeof name, "%s-%02d.crp", stamp, n);
        FILE *f = fopen((folder + "/" + name).c_str(), "rb");
        if (!f)
            return name;
        fclose(f);
    }
    return name;
}

void game_ends(int reason)
{
    last_replay.clear();
    if (!recording)
        return;
    recording = 0;
    replay_trailer t;
    t.frames = encoder->frames;
    t.score = score;
    t.end_reason = reason;
    t.final_hash = play_state_hash();
    encoder->finish(t);
    std::vector<uint8_t> bytes((const uint8_t *)&header, (const uint8_t *)&header + sizeof header);
    if (header.continued)
        bytes.insert(bytes.end(), (const uint8_t *)&start_record,
                     (const uint8_t *)&start_record + sizeof start_record);
    bytes.insert(bytes.end(), encoder->bytes.begin(), encoder->bytes.end());
    delete encoder;
    encoder = nullptr;

    std::string folder_error;
    std::string folder = player_path((std::string(REPLAYS_FOLDER) + "/x").c_str(), &folder_error);
    folder = folder.substr(0, folder.rfind('/'));
    std::string name = new_replay_name(folder);
    std::string path = folder + "/" + name;
    if (!folder_error.empty() || !replace_file(path.c_str(), bytes.data(), bytes.size())) {
        report_write_failure("the game's replay", path, folder_error);
        return;
    }
    last_replay = name;
    prune_replays(header.set_name, REPLAYS_KEPT);
}

// ---- Keeping the newest ----

// The level set a replay file was recorded on; "" when its header is not a replay's.
static std::string replay_set(const std::string &path)
{
    replay_header h;
    FILE *f = open_regular_file(path.c_str());
    if (!f)
        return "";
    size_t got = fread(&h, 1, sizeof h, f);
    fclose(f);
    if (got != sizeof h || memcmp(h.magic, REPLAY_MAGIC, sizeof h.magic) != 0 ||
        !memchr(h.set_name, 0, sizeof h.set_name))
        return "";
    return h.set_name;
}

int prune_replays(const char *set, int keep)
{
    std::string folder = player_file(REPLAYS_FOLDER);
    std::vector<std::string> names, mine;
    list_regular_files(folder, &names);
    for (const std::string &n : names)
        if (replay_name_ok(n.c_str()) && !replay_linked(n.c_str()) && replay_set(folder + "/" + n) == set)
            mine.push_back(n);
    std::sort(mine.begin(), mine.end());
    int removed = 0;
    for (size_t k = 0; k + keep < mine.size(); k++)
        removed += remove((folder + "/" + mine[k]).c_str()) == 0;
    return removed;
}

void remove_replay_leftovers()
{
    std::string folder = player_file(REPLAYS_FOLDER);
    std::vector<std::string> names;
    list_regular_files(folder, &names);
    for (const std::string &n : names) {
        size_t mark = n.find(".tmp-");
        if (mark == std::string::npos || n.size() != mark + 11 ||
            !replay_name_ok(n.substr(0, mark).c_str()))
            continue;
        bool random = true;
        for (size_t k = mark + 5; k < n.size(); k++)
            random = random && isalnum((unsigned char)n[k]);
        if (random)
            remove((folder + "/" + n).c_str());
    }
}
