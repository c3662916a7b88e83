// Replays: scripted games recorded as they are played and stepped again through
// their replays with every state hash checked; the files refused and kept.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "gl_context.h"
#include "level_bytes.h"
#include "player_folder.h"
#include "menus/menus.h"
#include "physics/ball.h"
#include "physics/physics.h"
#include "rules/powerups.h"
#include "rules/progress.h"
#include "rules/replay.h"
#include "rules/replayfile.h"
#include "rules/rules.h"
#include "rules/savegame.h"
#include "rules/scores.h"
#include "rules/tick.h"
#include "rules/watch.h"
#include "shell/shell.h"

namespace fs = std::filesystem;

namespace {

// What a scripted game went through.
struct seen {
    int lives_lost = 0, level_changes = 0, caught = 0, chain_waves = 0, releases = 0, frames = 0;
};

// Each case plays "script.bls" in a scratch folder: three levels, each a row
// of exploding bricks under a row of normal bricks holding power-ups (Big
// Paddle, Sticky Paddle, Extra Life, Slow Ball), and higher up a row of
// bricks the chain does not reach, holding Sticky and Big Paddles.
class Replays : public GLTest {
protected:
    game_folder folder;
    const fs::path replays = folder.path() / "player" / "corvale" / "replays";

    void SetUp() override
    {
        set_file set(3, 2);
        for (int lev = 1; lev <= 3; lev++)
            for (int c = 1; c <= 20; c++) {
                set.set(lev, TEX_BLOCK, 9, c, 1 + c % 2);
                set.set(lev, TYPE_BLOCK, 9, c, BRICK_EXPLODING);
                set.set(lev, TEX_BLOCK, 8, c, 2);
                set.set(lev, TYPE_BLOCK, 8, c, c % 5 == 0 ? BRICK_TWO_HIT : BRICK_NORMAL);
                static const int kinds[4] = {PUP_BIG_PADDLE, PUP_STICKY_PADDLE, PUP_EXTRA_LIFE, PUP_SLOW_BALL};
                if (c % 3 == 0)
                    set.set(lev, PUP_BLOCK, 8, c, kinds[(c / 3 + lev) % 4]);
                if (c >= 5 && c <= 16) {   // a row the chain does not reach
                    set.set(lev, TEX_BLOCK, 2, c, 1);
                    set.set(lev, TYPE_BLOCK, 2, c, BRICK_NORMAL);
                    set.set(lev, PUP_BLOCK, 2, c, c % 4 ? PUP_STICKY_PADDLE : PUP_BIG_PADDLE);
                }
            }
        set.write("level_sets/script.bls");
        snprintf(set_name, sizeof set_name, "script.bls");
        difficulty = 1;
        classic = testing_level = gameover = bonus = test = 0;
        PLAYING_SAVED_GAME = SAVE_AVAILABLE = 0;
        fullscreen = 1;
        screenx = 800;
        msensitivity = 8.0f;
        steer_by = STEER_MOUSE;
        watching = 0;
        screen_reset();
        new_game();
    }
    void TearDown() override
    {
        watching = 0;
        screen_reset();
    }

    // The title fades out into a new game (or the saved one), as the play options start it.
    void start_game(bool continued)
    {
        screen_set(SCREEN_TITLE, FADE_OUT, 1);
        game_chosen();
        if (continued) {
            ASSERT_TRUE(load_saved());
            PLAYING_SAVED_GAME = 1;
        } else {
            begin_new_game(level);
        }
        fade_out_finished();
        ASSERT_TRUE(screen_is(SCREEN_PLAY));
    }

    // The mouse x that puts the paddle's middle at field x.
    static int mouse_for(float x) { return (int)((x - paddle_size * 0.5f - WALL_LEFT) / (0.6f / 800 * 8.0f)); }

    // Plays up to `frames` frames as a scripted player: launches at once,
    // lets the sticky paddle's balls go after a while, misses the first ball
    // on purpose, otherwise keeps under the lowest ball (or a falling
    // power-up while the balls are high), pauses once, and runs some frames
    // slow. Stops at "GAME OVER" or at level `until`.
    seen play(int frames, int until)
    {
        seen s;
        int lives = abs(counter - 5), lev = level, held = 0;
        for (int f = 0; f < frames && !gameover && level < until; f++) {
            fps = f % 211 < 9 ? 45.0f : 62.0f;
            if (in_flight == 0 && ball_start == 1 && f % 7 == 0)
                play_event(EVENT_LAUNCH);
            bool holding = false;
            for (int n = 1; n <= 16; n++)
                holding = holding || (balls[n] && glu[n]);
            if (holding && ++held > 25) {
                play_event(EVENT_RELEASE);
                s.releases++;
                held = 0;
            }
            if (f == 300 || f == 340)
                play_event(EVENT_PAUSE);
            float target = 3.0f, low = 9.0f;
            for (int n = 1; n <= 16; n++)
                if (balls[n] && ypos[n] < low)
                    low = ypos[n], target = xpos[n] + (f / 50 % 3 - 1) * 0.05f;
            for (int p = 1; p <= PUP_SLOTS; p++)
                if (pup[p] && low > -0.9f)
                    target = pupxposition[p] + PUP_SIZE * 0.5f;
            if (s.lives_lost == 0 && in_flight)
                target = xpos[1] < 3.0f ? 5.2f : 0.8f;   // the first ball is let go
            mouseX = mouse_for(target);
            const std::vector<int> pups_before(pup, pup + PUP_SLOTS + 1);
            const std::vector<float> y_before(pupyposition, pupyposition + PUP_SLOTS + 1);
            play_frame();
            s.frames++;
            for (int p = 1; p <= PUP_SLOTS; p++)
                s.caught += pups_before[p] && !pup[p] && y_before[p] > -1.7f && !ball_start;
            s.chain_waves += std::any_of(explosion, explosion + GRID_CELLS, [](auto m) { return m != 0; });
            int now_lives = abs(counter - 5);
            s.lives_lost += now_lives < lives;
            lives = now_lives;
            s.level_changes += level != lev;
            lev = level;
        }
        return s;
    }

    // Play's state muddled as a game played before would leave it.
    static void muddle()
    {
        now = 3;
        paddlex = 1.3f;
        for (int n = 0; n <= 16; n++)
            xpos[n] = 0.1f * n, xspeed[n] = 0.02f, glu[n] = n % 2;
        last_block = bonus = 1;
        lcount = 3;
        foundx = 7;
        score = 777;
        crt_srand(99);
        difficulty = 2;
        classic = 1;
        ballcount = 9;
        screen_set(SCREEN_TITLE, FADE_NONE, 1);
    }

    // Steps a replay file to its end; the status it ends with, and the frames run.
    static int step_through(const std::string &path, int *frames, std::string *why)
    {
        replay_file f;
        if (!replay_load(path, &f, why) || !watch_begin(f, why))
            return -1;
        int status;
        *frames = 0;
        while ((status = watch_tick()) == WATCH_PLAYING)
            ++*frames;
        return status;
    }
};

TEST_F(Replays, AScriptedGameStepsAgainThroughEveryStateHash)
{
    start_game(false);
    seen s = play(62 * 240, 3);
    EXPECT_GE(s.lives_lost, 1);
    EXPECT_GE(s.level_changes, 1);
    EXPECT_GE(s.caught, 1);
    EXPECT_GE(s.chain_waves, 4);
    EXPECT_GE(s.releases, 1);
    uint32_t end_hash = play_state_hash();   // of score, lives, board, balls and all play's state
    game_ends(REPLAY_ESCAPE);
    ASSERT_FALSE(last_replay.empty());
    std::string path = (replays / last_replay).string();
    size_t size = fs::file_size(path);
    printf("replay of %d frames (%.1f minutes): %zu bytes, %.0f bytes a minute\n", s.frames,
           s.frames / 3720.0, size, size / (s.frames / 3720.0));

    muddle();
    int frames;
    std::string why;
    EXPECT_EQ(step_through(path, &frames, &why), WATCH_ENDED) << why;
    EXPECT_EQ(frames, s.frames);
    EXPECT_EQ(play_state_hash(), end_hash);

    // One flipped bit in a state hash of the stream is found there.
    replay_file f;
    ASSERT_TRUE(replay_load(path, &f, &why));
    std::string bytes = file_bytes(path);
    size_t at = f.stream;
    int hashes = 0;
    while (bytes[at] != OP_END) {   // walk to the third hash
        uint8_t op = bytes[at++];
        if (op == OP_HASH && ++hashes == 3) {
            bytes[at] ^= 1;
            break;
        }
        if (op == OP_HASH) at += 4;
        else if (op == OP_SLOW || op == OP_EVENT) at += 1;
        else if (op == OP_RUN || op == OP_STEP) while (bytes[at++] & 0x80) {}
    }
    ASSERT_EQ(hashes, 3);
    write_bytes(path, bytes);
    EXPECT_EQ(step_through(path, &frames, &why), WATCH_MISMATCH);
    EXPECT_EQ(frames, 3 * REPLAY_HASH_PERIOD);
}

TEST_F(Replays, AContinuedGameStepsAgainFromItsSavedRecord)
{
    start_game(false);
    play(62 * 240, 2);
    ASSERT_EQ(level, 2);
    game_ends(REPLAY_ESCAPE);
    leave_game_saved();
    new_game();

    muddle();   // chosen on the options before Continue
    difficulty = 1;
    classic = 0;
    start_game(true);
    seen s = play(62 * 60, 3);
    EXPECT_GT(s.frames, 200);
    uint32_t end_hash = play_state_hash();
    int end_score = score;
    game_ends(REPLAY_GAME_OVER);
    ASSERT_FALSE(last_replay.empty());
    std::string path = (replays / last_replay).string();
    replay_file f;
    std::string why;
    ASSERT_TRUE(replay_load(path, &f, &why)) << why;
    EXPECT_EQ(f.header.continued, 1);
    EXPECT_EQ(f.trailer.score, end_score);
    EXPECT_EQ(f.start.level, 2);

    muddle();
    int frames;
    EXPECT_EQ(step_through(path, &frames, &why), WATCH_ENDED) << why;
    EXPECT_EQ(frames, s.frames);
    EXPECT_EQ(play_state_hash(), end_hash);
    EXPECT_TRUE(fs::exists(save_path())) << "a replay never removes the saved game";
}

TEST_F(Replays, DamagedAndForeignReplaysAreRefusedWithTheirReason)
{
    start_game(false);
    play(400, 2);
    game_ends(REPLAY_ESCAPE);
    std::string path = (replays / last_replay).string();
    const std::string good = file_bytes(path);

    ASSERT_EQ(good[sizeof(replay_header)], OP_EVENT) << "the launch comes first";
    struct change {
        const char *what;
        size_t at;        // byte changed, or the length kept when cut
        int flip;         // the bits flipped there; 0: the file cut to `at` bytes
        const char *why;  // the reason given, in part
    } cases[] = {
        {"magic", 0, 0x41, "not a Corvale replay"},
        {"older format", offsetof(replay_header, format), REPLAY_FORMAT ^ 1, "older version of Corvale"},
        {"newer format", offsetof(replay_header, format), 0x41, "newer version of Corvale"},
        {"difficulty", offsetof(replay_header, difficulty), 0x41, "header is damaged"},
        {"version", offsetof(replay_header, game_version), 0x41, "recorded by Corvale"},
        {"set hash", offsetof(replay_header, set_hash) + 3, 0x41, "has changed since"},
        {"no such operation", sizeof(replay_header), OP_EVENT ^ 6, "frames are damaged"},
        {"no such event", sizeof(replay_header) + 1, 0x41, "frames are damaged"},
        {"header cut", 100, 0, "cut short"},
        {"stream cut before its end", good.size() - 17, 0, "cut short"},
        {"trailer cut", good.size() - 1, 0, "does not end"},
        {"frame count", good.size() - 16, 0x41, "frame count"},
    };
    for (const change &c : cases) {
        std::string bytes = good;
        if (!c.flip)
            bytes.resize(c.at);
        else
            bytes[c.at] = (char)(bytes[c.at] ^ c.flip);
        write_bytes(path, bytes);
        int frames;
        std::string why;
        EXPECT_EQ(step_through(path, &frames, &why), -1) << c.what;
        EXPECT_NE(why.find(c.why), std::string::npos) << c.what << ": " << why;
    }

    // The level set changed after the game: refused, and so said.
    write_bytes(path, good);
    std::string set = file_bytes("level_sets/script.bls");
    set[SET_HEAD_BYTES + 40] ^= 1;
    write_bytes("level_sets/script.bls", set);
    screen_reset();
    EXPECT_FALSE(watch_replay(last_replay.c_str(), "REPLAY: test, 0"));
    EXPECT_FALSE(watching);
    EXPECT_TRUE(screen_is(SCREEN_TITLE)) << "a refused replay changes nothing";
}

TEST_F(Replays, AReplayThatCannotBeWrittenIsReportedAndLinksNothing)
{
    start_game(false);
    play(300, 2);
    std::string told;
    {
        file_size_limit limit(200);   // below the header: the write fails part-way
        testing::internal::CaptureStderr();
        game_ends(REPLAY_GAME_OVER);
        told = testing::internal::GetCapturedStderr();
    }
    EXPECT_NE(told.find("could not write the game's replay"), std::string::npos) << told;
    EXPECT_NE(std::string(notice).find("File too large"), std::string::npos) << notice;
    notice[0] = 0;
    EXPECT_EQ(last_replay, "") << "no high score links a replay that is not there";
}

// The fuzz target's hand-made seeds are replays the checks pass (but the one cut short).
TEST(ReplaySeeds, PassTheChecksButTheOneCutShort)
{
    const char *const seeds[] = {"new_game.crp", "continued.crp", "beginner_hard.crp", "cut.crp"};
    for (const char *name : seeds) {
        replay_file f;
        std::string why;
        int ok = replay_load(std::string(CORVALE_SOURCE_DIR "/tests/fuzz/corpus/replay/") + name, &f, &why);
        EXPECT_EQ(ok, strcmp(name, "cut.crp") != 0) << name << ": " << why;
    }
}

// A replay's first bytes, as the game writes them, for the set given.
static std::string replay_head(const char *set)
{
    replay_header h;
    memset(&h, 0, sizeof h);
    memcpy(h.magic, REPLAY_MAGIC, sizeof h.magic);
    h.format = REPLAY_FORMAT;
    snprintf(h.set_name, sizeof h.set_name, "%s", set);
    return std::string((const char *)&h, sizeof h);
}

// The frame stream gives back every paddle exactly, with the slow frames,
// events and hashes between, for each kind of move and each side of each
// step's reach; a paddle beyond the reach is refused.
TEST(ReplayStream, GivesBackEveryFrameAsPlayed)
{
    const int edges[] = {63, 64, -64, -65, 3, 4, -4, -5};
    std::vector<float> path;
    float x = REPLAY_FIRST_PADDLE, move = 0;
    for (int f = 0; f < 3000; f++) {
        int part = f / 300;
        move += part == 8 ? edges[f % 8] / PADDLE_GRID : 0;
        x = part == 0 ? x : part == 1 ? x + 0.05f : part == 2 ? 3.0f + 2.0f * std::sin(f * 0.05f)
          : part == 3 ? x + ((f * 7919) % 9 - 4) / PADDLE_GRID : part == 4 ? (f % 3 ? -90.0f : 64.0f)
          : part == 5 ? (f % 50 < 30 ? 1.0f : 2.0f + (f % 50) * 0.37f) : part == 8 ? x + move
          : part == 9 ? (f % 60 < 57 + f / 60 % 3 ? 2.0f : 2.5f) : 2.0f + (f % 7) * 0.001f;
        path.push_back(paddle_on_grid(x));
    }
    replay_encoder e;
    for (size_t f = 0; f < path.size(); f++) {
        if (f % 97 == 5)
            e.event(1 + (int)f % 3);
        e.frame({path[f], (int)f % 211 < 20}, (uint32_t)f + 1);
    }
    replay_trailer t = {(uint32_t)path.size(), 0, REPLAY_GAME_OVER, 0};
    e.finish(t);
    std::string head = replay_head("script.bls");
    head[offsetof(replay_header, game_version)] = '1';
    head[offsetof(replay_header, start_level)] = 1;
    std::vector<uint8_t> bytes(head.begin(), head.end());
    bytes.insert(bytes.end(), e.bytes.begin(), e.bytes.end());
    replay_file file;
    std::string why;
    ASSERT_TRUE(replay_parse(bytes.data(), bytes.size(), &file, &why)) << why;
    replay_cursor c(file);
    std::vector<int> events;
    play_input in;
    int check;
    uint32_t expected;
    for (size_t f = 0; f <= path.size(); f++) {
        int more = c.next(&events, &in, &check, &expected);
        EXPECT_EQ(check, (f % REPLAY_HASH_PERIOD == 0 && f > 0) || !more) << f;
        if (check && more) {
            EXPECT_EQ(expected, f) << f;
        }
        if (!more) {
            EXPECT_EQ(f, path.size());
            break;
        }
        EXPECT_EQ(in.paddle, path[f]) << f;
        EXPECT_EQ(in.slow, (int)f % 211 < 20) << f;
        EXPECT_EQ(events, f % 97 == 5 ? std::vector<int>{1 + (int)f % 3} : std::vector<int>{}) << f;
    }

    // One step beyond the paddle's reach.
    const uint8_t beyond[] = {OP_STEP, 0x80, 0x80, 0x20, OP_END};
    bytes.resize(head.size());
    bytes.insert(bytes.end(), beyond, beyond + sizeof beyond);
    t.frames = 1;
    bytes.insert(bytes.end(), (const uint8_t *)&t, (const uint8_t *)&t + sizeof t);
    EXPECT_FALSE(replay_parse(bytes.data(), bytes.size(), &file, &why));
    EXPECT_NE(why.find("frames are damaged"), std::string::npos) << why;
}

TEST_F(Replays, TheNewestFiftyOfASetAreKeptBesidesTheHighScoresOwn)
{
    fs::create_directories(replays);
    char name[64];
    auto make = [&](int n, const char *set) {
        snprintf(name, sizeof name, "20260101-1200%02d-%02d.crp", n / 10, n % 10);
        write_bytes((replays / name).string(), replay_head(set));
        return std::string(name);
    };
    std::vector<std::string> a;
    for (int n = 0; n < 55; n++)
        a.push_back(make(n, "script.bls"));
    std::string b = make(60, "other.bls");
    write_bytes((replays / "notes.crp").string(), replay_head("script.bls"));
    write_bytes((replays / "20260101-120000-00.crp.tmp-abc123").string(), "x");
    // The second oldest is a high score's.
    memset(score_replay, 0, sizeof score_replay);
    snprintf(score_replay[3], sizeof score_replay[3], "%s", a[1].c_str());

    // Of script.bls's 54 others the oldest four go; the high score's stays.
    EXPECT_EQ(prune_replays("script.bls", REPLAYS_KEPT), 4);
    for (int n = 0; n < 55; n++) {
        bool kept = n == 1 || n >= 5;
        EXPECT_EQ(fs::exists(replays / a[n]), kept) << a[n];
    }
    EXPECT_TRUE(fs::exists(replays / b));
    EXPECT_TRUE(fs::exists(replays / "notes.crp")) << "not a name the game gives";
    remove_replay_leftovers();
    EXPECT_FALSE(fs::exists(replays / "20260101-120000-00.crp.tmp-abc123"));
    EXPECT_TRUE(fs::exists(replays / "notes.crp"));
}

TEST_F(Replays, AHighScoreKeepsItsReplayBesideTheTable)
{
    readscores();
    struct entry { int points; const char *replay; } made[] = {
        {500, "20260101-120000-00.crp"}, {900, "20260101-120001-00.crp"},
        {700, ""}, {800, "not a replay name"},
    };
    for (const entry &e : made) {
        int pos = place_score(0, e.points, "Scratch set", 1);
        link_score_replay(0, pos, e.replay);
    }
    ASSERT_TRUE(writescores());
    // In score order: 900, 800, 700, 500.
    const char *want[4] = {"20260101-120001-00.crp", "", "", "20260101-120000-00.crp"};
    readscores();
    for (int k = 0; k < 4; k++)
        EXPECT_STREQ(score_replay[k], want[k]) << k;
    EXPECT_TRUE(replay_linked("20260101-120000-00.crp"));
    EXPECT_EQ(file_bytes(scores_path()).size(), 3360u) << "the table's own file is unchanged in form";

    // A table replaced behind the links' back: a link whose score no longer
    // matches its entry links nothing.
    hstable[0].entry_score = 901;
    std::string table((const char *)hstable, sizeof hstable);
    write_bytes(scores_path(), table);
    readscores();
    EXPECT_STREQ(score_replay[0], "");
    EXPECT_STREQ(score_replay[3], "20260101-120000-00.crp");
}

TEST_F(Replays, TheKeysChooseEachRowsWatch)
{
    fs::create_directories(replays);
    write_bytes((replays / "20260101-120000-00.crp").string(), "not a replay");
    readscores();
    link_score_replay(0, place_score(0, 900, "Scratch set", 1), "20260101-120001-00.crp");   // not there
    link_score_replay(0, place_score(0, 500, "Scratch set", 1), "20260101-120000-00.crp");
    ASSERT_TRUE(writescores());
    screen_set(SCREEN_SCORES);
    scores_stale = 1;
    auto shown = [] { focus_new_layer(); render_title(); focus_frame_done(); };
    shown();
    focus_on = 1;
    focus_key = FOCUS_ROW * 1 + CODE_WATCH;
    shown();
    focus_move(0, -1);
    EXPECT_EQ(focus_key, FOCUS_ROW * 2 + CODE_WATCH) << "down to the second row's Watch";
    shown();
    menu_press();
    shown();
    EXPECT_NE(std::string(notice).find("cut short"), std::string::npos) << notice;
    notice[0] = 0;
    focus_to_pointer();
}

// The title's demo: started by the title standing idle, played by the
// autopilot or from the best high score's replay, ended by the player's input.
class Demo : public Replays {
protected:
    void title_at_rest()
    {
        screen_set(SCREEN_TITLE, FADE_NONE, 1);
        title_alpha = 1.0f;
        menublock = 0;
        notice[0] = 0;
        player_input(0);
    }
    // Frames of the title (or the demo over it).
    static void frames(int n)
    {
        for (int k = 0; k < n; k++)
            play_frame();
    }
    // Frames with the title drawn (which steps its fade), up to `most`
    // or until the title has faded out; the frames run.
    static int fading_frames(int most)
    {
        int n = 0;
        for (; n < most && fade_running() == FADE_OUT; n++) {
            play_frame();
            render_title();
        }
        return n;
    }
};

TEST_F(Demo, IdleTitleStartsTheAutopilotAndAnyInputBringsTheTitleBackAtOnce)
{
    struct input { const char *what; unsigned msg; WPARAM w; int ends, in_fade; } inputs[] = {
        {"a key", WM_KEYDOWN, 'A', 1, 0},
        {"a key while the title fades", WM_KEYDOWN, 'A', 1, 1},
        {"a click", WM_LBUTTONDOWN, 0, 1, 0},
        {"the right button", WM_RBUTTONDOWN, 0, 1, 0},
        {"the wheel", WM_MOUSEWHEEL, (WPARAM)120 << 16, 1, 0},
        {"a mouse move", WM_MOUSEMOVE, 0, 0, 0},
    };
    title_at_rest();
    frames(ATTRACT_IDLE_FRAMES - 1);
    pad_stick(0, PAD_STICK_X, 0.4f);   // a hand on a pad's stick, pushed past its dead zone
    frames(1);
    EXPECT_FALSE(demo) << "the stick is input too";
    for (const input &in : inputs) {
        title_at_rest();
        frames(ATTRACT_IDLE_FRAMES - 1);
        ASSERT_FALSE(demo) << "too early";
        frames(1);
        ASSERT_TRUE(demo && autopilot && watching);
        EXPECT_STREQ(watch_label, "DEMO");
        EXPECT_EQ(fade_running(), FADE_OUT) << "the title fades into the demo";
        uint32_t first = play_state_hash();
        int faded = fading_frames(in.in_fade ? 30 : 1000);
        EXPECT_TRUE(in.in_fade ? faded == 30 : faded > 90 && fade_running() == FADE_NONE) << faded;
        EXPECT_EQ(play_state_hash(), first) << "the demo waits for the title to go";
        if (!in.in_fade) {
            EXPECT_TRUE(screen_is(SCREEN_PLAY));
            int before = score;
            frames(600);
            EXPECT_GT(score, before) << "the autopilot launched and broke bricks";
        }
        WndProc(nullptr, in.msg, in.w, 0);
        keys[(unsigned char)'A'] = 0;
        EXPECT_EQ(!demo, in.ends) << in.what;
        if (in.ends) {
            EXPECT_TRUE(screen_is(SCREEN_TITLE) && fade_running() == FADE_NONE) << in.what;
            EXPECT_TRUE(title_alpha == 1.0f && title_covers_view()) << in.what << ": at once";
            EXPECT_EQ(score, 0) << in.what;
        } else {
            watch_stop();
        }
    }
    EXPECT_FALSE(fs::exists(replays)) << "the demo writes no replay";
    EXPECT_FALSE(fs::exists(save_path())) << "nor a save";
}

TEST_F(Demo, TheBestReplayOfTheSetPlaysForAMinuteAtMost)
{
    start_game(false);
    seen s = play(62 * 90, 99);
    ASSERT_GT(s.frames, DEMO_FRAMES);
    int recorded = score;
    game_ends(REPLAY_GAME_OVER);
    readscores();
    link_score_replay(0, place_score(0, recorded, "Scratch set", 1), last_replay.c_str());
    ASSERT_TRUE(writescores());
    new_game();

    title_at_rest();
    frames(ATTRACT_IDLE_FRAMES);
    ASSERT_TRUE(demo);
    EXPECT_FALSE(autopilot) << "the high score's replay plays";
    fading_frames(1000);
    frames(DEMO_FRAMES - 1);
    EXPECT_TRUE(demo) << notice;   // its state hashes matched all the way
    frames(2);
    EXPECT_FALSE(demo) << "a minute at most";
    EXPECT_TRUE(screen_is(SCREEN_TITLE) && fade_running() == FADE_IN) << "the title fades back in";
}

}  // namespace
