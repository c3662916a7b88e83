// The shell's own rules: the random generator, the frame lock, the key map,
// the window messages that the pump feeds the window procedure, and text entry.

#include <gtest/gtest.h>

#include <SDL.h>

#include <chrono>
#include <ctime>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "gl_context.h"
#include "menus/menus.h"
#include "shell/shell.h"

namespace {

// The classic sequence from seed 1; a seed at the top of the range wraps
// without overflow; randn(n) gives 1..n, each of them.
TEST(Random, TheClassicSequenceRandnsRangeAndPlaysDrawsWhateverTheSoundDraws)
{
    crt_srand(1);
    for (int v : {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358})
        EXPECT_EQ(crt_rand(), v);
    crt_srand(0xffffffffu);
    int a = crt_rand();
    crt_srand(0xffffffffu);
    EXPECT_EQ(crt_rand(), a);
    EXPECT_TRUE(a >= 0 && a <= 32767) << a;
    for (int i = 0; i < 100; i++)
        EXPECT_EQ(randn(1), 1);
    bool seen[7] = {};
    for (int i = 0; i < 2000; i++) {
        int v = randn(6);
        ASSERT_TRUE(v >= 1 && v <= 6) << v;
        seen[v] = true;
    }
    for (int v = 1; v <= 6; v++)
        EXPECT_TRUE(seen[v]) << v;

    // The same seed gives play the same draws, however many draws the music
    // and the effects take between them.
    const int sound_draws[] = {0, 1, 7, 300};
    std::vector<int> first;
    for (int between : sound_draws) {
        crt_srand(12345);
        std::vector<int> got;
        for (int i = 0; i < 20; i++) {
            got.push_back(randn(400));
            for (int k = 0; k < between; k++)
                sound_rand();
        }
        if (first.empty())
            first = got;
        EXPECT_EQ(got, first) << between << " sound draws between play's";
    }
    crt_srand(12346);
    EXPECT_NE(randn(32767) * 32768 + randn(32767), first[0] * 32768 + first[1]);
}

// A frame lock run against a simulated counter of 1 GHz: each frame draws for
// `draw` ticks, then asks for its deadline; the wait wakes a little late, as a
// sleeping thread does. Returns the start time of each frame.
struct SimulatedLock {
    int64_t clock = 1000000000;
    std::vector<int64_t> starts, deadlines;
    std::vector<float> rates;
    SimulatedLock()
    {
        m_ticksPerSecond = 1000000000;
        frame_lock_reset();
    }
    void frame(int64_t draw, int64_t wake_late)
    {
        clock += draw;
        int64_t deadline = frame_deadline(clock, m_ticksPerSecond / 62);
        int64_t start = clock > deadline ? clock : deadline;
        rates.push_back(frame_started(start));
        clock = start + wake_late;
        starts.push_back(clock);
        deadlines.push_back(deadline);
    }
};

TEST(FrameLockDeadlines, VaryingDrawTimesHold62AndSlowFramesCatchUpButAStallResynchronises)
{
    SimulatedLock lock;
    unsigned seed = 7;
    for (int i = 0; i < 300; i++) {
        seed = seed * 1103515245u + 12345u;
        int64_t draw = 2000000 + (int64_t)(seed >> 8) % 10000001;   // 2..12 ms
        int64_t late = (int64_t)(seed >> 4) % 300000;               // up to 0.3 ms
        lock.frame(draw, late);
    }
    for (size_t i = 0; i < lock.starts.size(); i++)
        ASSERT_GE(lock.starts[i], lock.deadlines[i]) << "frame " << i << " started early";
    double seconds = (lock.starts.back() - lock.starts.front()) / 1e9;
    double rate = (lock.starts.size() - 1) / seconds;
    EXPECT_NEAR(rate, 62.0, 0.5);
    for (size_t i = 1; i < lock.rates.size(); i++)
        ASSERT_NEAR(lock.rates[i], 62.0f, 0.5f) << "frame " << i << " reported a rate it did not run at";

    lock = SimulatedLock();
    for (int i = 0; i < 10; i++)
        lock.frame(5000000, 0);
    // One 20 ms frame: the next starts sooner so the rate holds.
    lock.frame(20000000, 0);
    lock.frame(2000000, 0);
    EXPECT_LT(lock.starts[11] - lock.starts[10], 16129032) << "a short slip is made up";
    EXPECT_EQ(lock.starts[11], lock.deadlines[10] + 16129032);

    // A 500 ms stall: afterwards frames come one period apart, no burst.
    lock.frame(500000000, 0);
    size_t stalled = lock.starts.size() - 1;
    for (int i = 0; i < 20; i++)
        lock.frame(3000000, 0);
    for (size_t i = stalled + 1; i < lock.starts.size(); i++)
        ASSERT_GE(lock.starts[i] - lock.starts[i - 1], 16129032) << "catch-up frame " << i - stalled;
    EXPECT_LT(lock.rates[stalled], 2.1f) << "the stalled frame reports its slow rate";
}

class FrameLock : public GLTest {};

TEST_F(FrameLock, RealClockNeverStartsAFrameBeforeItsDeadline)
{
    ASSERT_EQ(timer_init(), 1);
    const int frames = 124;
    auto begin = std::chrono::steady_clock::now();
    for (int i = 0; i < frames; i++) {
        m_startTime = read_counter();
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glFlush();
        LockFPS(targetFPS);
        ASSERT_GE(read_counter(), s_lastTime) << "frame " << i;
        gl_context_swap();
    }
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
    // Deadlines are one period apart, so the run can never be shorter than
    // frames - 1 periods; a loaded machine may lose frames, never gain any.
    EXPECT_GE(seconds, (frames - 1) / 62.0 - 0.001);
}

TEST_F(FrameLock, SleepsThroughMostOfTheWaitAZeroTargetIsOnePerSecondAndNoCounterSkipsTheWait)
{
    ASSERT_EQ(timer_init(), 1);
    std::clock_t cpu0 = std::clock();
    auto begin = std::chrono::steady_clock::now();
    for (int i = 0; i < 62; i++) {
        m_startTime = read_counter();
        LockFPS(targetFPS);
    }
    double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
    double share = (double)(std::clock() - cpu0) / CLOCKS_PER_SEC / wall;
    printf("frame lock used %.0f%% of one core\n", share * 100);
    // A busy wait would sit near 100%.
    EXPECT_LT(share, 0.3);

    LockFPS(0);
    int64_t first = s_lastTime;
    LockFPS(0);
    EXPECT_EQ(s_lastTime - first, m_ticksPerSecond) << "a target of 0 is taken as 1 per second";

    int64_t saved = m_ticksPerSecond;
    m_ticksPerSecond = 0;
    begin = std::chrono::steady_clock::now();
    EXPECT_FLOAT_EQ(LockFPS(62), 62.0f);
    EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count(), 0.01);
    m_ticksPerSecond = saved;
}

// SDL's keys as the game's key codes, the keypad by position whatever Num Lock
// makes it report; keys the game has no code for give 0.
TEST(KeyMap, EachKeyGivesItsGameCode)
{
    const struct { SDL_Keycode sym; SDL_Scancode scan; int vk; } keys_[] = {
        {SDLK_a, SDL_SCANCODE_A, 65}, {SDLK_z, SDL_SCANCODE_Z, 90}, {SDLK_0, SDL_SCANCODE_0, 48},
        {SDLK_9, SDL_SCANCODE_9, 57}, {SDLK_F1, SDL_SCANCODE_F1, 112}, {SDLK_F12, SDL_SCANCODE_F12, 123},
        {SDLK_KP_0, SDL_SCANCODE_KP_0, 96}, {SDLK_KP_7, SDL_SCANCODE_KP_7, 103},
        {SDLK_HOME, SDL_SCANCODE_KP_7, 103},   // keypad 7 with Num Lock off
        {SDLK_KP_9, SDL_SCANCODE_KP_9, 105}, {SDLK_KP_PLUS, SDL_SCANCODE_KP_PLUS, 107},
        {SDLK_KP_MINUS, SDL_SCANCODE_KP_MINUS, 109}, {SDLK_KP_ENTER, SDL_SCANCODE_KP_ENTER, 13},
        {SDLK_LEFT, SDL_SCANCODE_LEFT, 37}, {SDLK_UP, SDL_SCANCODE_UP, 38}, {SDLK_RIGHT, SDL_SCANCODE_RIGHT, 39},
        {SDLK_DOWN, SDL_SCANCODE_DOWN, 40}, {SDLK_HOME, SDL_SCANCODE_HOME, 36}, {SDLK_END, SDL_SCANCODE_END, 35},
        {SDLK_PAGEUP, SDL_SCANCODE_PAGEUP, 33}, {SDLK_PAGEDOWN, SDL_SCANCODE_PAGEDOWN, 34},
        {SDLK_INSERT, SDL_SCANCODE_INSERT, 45}, {SDLK_DELETE, SDL_SCANCODE_DELETE, 46},
        {SDLK_ESCAPE, SDL_SCANCODE_ESCAPE, 27}, {SDLK_RETURN, SDL_SCANCODE_RETURN, 13},
        {SDLK_BACKSPACE, SDL_SCANCODE_BACKSPACE, 8}, {SDLK_SPACE, SDL_SCANCODE_SPACE, 32},
        {SDLK_TAB, SDL_SCANCODE_TAB, 9}, {SDLK_RSHIFT, SDL_SCANCODE_RSHIFT, 16},
        {SDLK_LCTRL, SDL_SCANCODE_LCTRL, 17}, {SDLK_RALT, SDL_SCANCODE_RALT, 18},
        {SDLK_SEMICOLON, SDL_SCANCODE_SEMICOLON, 186}, {SDLK_BACKQUOTE, SDL_SCANCODE_GRAVE, 192},
        {SDLK_LEFTBRACKET, SDL_SCANCODE_LEFTBRACKET, 219}, {SDLK_QUOTE, SDL_SCANCODE_APOSTROPHE, 222},
        {SDLK_CAPSLOCK, SDL_SCANCODE_CAPSLOCK, 0}};
    for (const auto &k : keys_)
        EXPECT_EQ(vk_from_sdl(k.sym, k.scan), k.vk) << SDL_GetScancodeName(k.scan);
}

// Mouse positions outside the client area are rejected (negative ones arrive
// as large words); minimising deactivates and Close quits with 0.
TEST(WindowMessages, OutsidePositionsAreRejectedMinimisingDeactivatesAndCloseQuits)
{
    screenx = 640;
    screeny = 480;
    const struct { unsigned x, y; int kept_x, kept_y; } moves[] = {
        {639, 479, 639, 479}, {640, 100, 639, 100}, {(unsigned)-3 & 0xffff, (unsigned)-1 & 0xffff, 639, 100},
        {0, 0, 0, 0},
    };
    for (const auto &m : moves) {
        WndProc(nullptr, WM_MOUSEMOVE, 0, MAKELPARAM(m.x, m.y));
        EXPECT_EQ(mouseX, m.kept_x) << m.x << "," << m.y;
        EXPECT_EQ(mouseY, m.kept_y) << m.x << "," << m.y;
    }
    WndProc(nullptr, WM_ACTIVATE, (WPARAM)1 << 16, 0);
    EXPECT_EQ(active, 0);
    WndProc(nullptr, WM_ACTIVATE, 0, 0);  // losing focus without minimising
    EXPECT_EQ(active, 1);
    int code = 99;
    WndProc(nullptr, WM_CLOSE, 0, 0);
    ASSERT_EQ(pump_messages(&code), 1);
    EXPECT_EQ(code, 0);
    EXPECT_EQ(pump_messages(&code), 0);  // one quit message, taken once
}

// The system's text input reaches an open entry as characters, whatever keys
// made them: UTF-8 is decoded, and what the entry does not keep is passed over.
TEST(WindowMessages, TypedTextReachesTheEntryAsCharacters)
{
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_EVENTS), 0) << SDL_GetError();
    int code = 0;
    pump_messages(&code);  // the first pump turns the text input on
    forget_typed();
    SDL_Event e{};
    e.type = SDL_TEXTINPUT;
    snprintf(e.text.text, sizeof e.text.text, "%s", "\xc3\xa9,Z\xe2\x82\xac;\xff\xf0\x9f\x98\x80q");
    ASSERT_EQ(SDL_PushEvent(&e), 1) << SDL_GetError();
    EXPECT_EQ(pump_messages(&code), 0);
    memset(buffer, 0, sizeof buffer);
    bcount = 0;
    fulltext = 1;
    console_input();
    EXPECT_STREQ(buffer, ",Z;q");
    SDL_QuitSubSystem(SDL_INIT_EVENTS);
}

// ---- Text entry ----

const int BACK = 8, ENTER = 13;

class TextEntry : public ::testing::Test {
protected:
    void SetUp() override
    {
        memset(keys, 0, sizeof keys);
        memset(buffer, 0, sizeof buffer);
        bcount = 0;
        fulltext = 0;
        forget_typed();
    }
    void TearDown() override { forget_typed(); }

    // Delivers text as the window procedure does, then runs one frame's entry.
    int frame(const std::string &text)
    {
        for (unsigned char c : text)
            WndProc(nullptr, c == BACK || c == ENTER ? WM_KEYDOWN : WM_CHAR, c, 0);
        return console_input();
    }
};

// Full text keeps punctuation and capitals exactly up to its limit; Backspace
// acts in typing order and stops at empty; what follows Enter is left for the
// next entry.
TEST_F(TextEntry, FullTextKeepsWhatIsTypedInOrderWithBackspaceAndEnter)
{
    fulltext = 1;
    EXPECT_EQ(frame("Zed, Ace. Co-op 9;"), 0);
    EXPECT_EQ(frame("~!@#$%^&*()_+{}|:\"<>?`[]\\'/="), 0);
    EXPECT_STREQ(buffer, "Zed, Ace. Co-op 9;~!@#$%^&*()_+{}|:\"<>?`[]\\'/=");
    EXPECT_EQ(bcount, (int)strlen(buffer));
    memset(buffer, 0, sizeof buffer);
    bcount = 0;
    frame("ab\bc");
    EXPECT_STREQ(buffer, "ac");
    frame("\b\b\b");
    EXPECT_EQ(bcount, 0);
    EXPECT_STREQ(buffer, "");
    EXPECT_EQ(frame("title\rnext"), 1);
    EXPECT_STREQ(buffer, "title");
    memset(buffer, 0, sizeof buffer);
    bcount = 0;
    EXPECT_EQ(console_input(), 0);
    EXPECT_STREQ(buffer, "next");
    for (int k = 0; k < 2; k++)
        EXPECT_EQ(frame(std::string(60, 'W')), 0) << "full text stops at its limit, and only Enter completes";
    EXPECT_EQ(bcount, TEXT_LIMIT);
    EXPECT_EQ(buffer[TEXT_LIMIT], 0);
    EXPECT_EQ(frame("\r"), 1);
}

TEST_F(TextEntry, EachModeAcceptsItsCharactersUpToItsLimitAndTakesTheKeysItTypes)
{
    struct row {
        int c, full_text, length, accepted;
    };
    const row rows[] = {
        {' ', 1, 0, 1},  {'~', 1, 0, 1},  {0x1f, 1, 0, 0},  {0x7f, 1, 0, 0},
        {0xe9, 1, 0, 0}, {'x', 1, 78, 1}, {'x', 1, 79, 0},  {'z', 0, 0, 1},
        {'Z', 0, 0, 1},  {'0', 0, 0, 1},  {'9', 0, 7, 1},   {'9', 0, 8, 0},
        {' ', 0, 0, 0},  {'-', 0, 0, 0},  {'.', 0, 0, 0},   {'/', 0, 0, 0},
        {'@', 0, 0, 0},  {'[', 0, 0, 0},  {'`', 0, 0, 0},   {'{', 0, 0, 0},
    };
    for (const row &r : rows)
        EXPECT_EQ(entry_accepts(r.c, r.full_text, r.length), r.accepted)
            << "character " << r.c << " mode " << r.full_text << " after " << r.length;

    // An open entry takes the keys it types from the shortcuts.
    const int letter = 'G', digit = '7', arrow = VK_LEFT, fkey = VK_F2;
    for (int mode = 0; mode <= 1; mode++) {
        fulltext = mode;
        keys[letter] = keys[digit] = keys[VK_SPACE] = keys[arrow] = keys[fkey] = 1;
        console_input();
        EXPECT_EQ(keys[letter] + keys[digit] + keys[VK_SPACE], 0) << "mode " << mode;
        // File names leave the editor's function, arrow and keypad keys working.
        EXPECT_EQ(keys[arrow], 1 - mode);
        EXPECT_EQ(keys[fkey], 1 - mode);
        memset(keys, 0, sizeof keys);
    }
}

}  // namespace
