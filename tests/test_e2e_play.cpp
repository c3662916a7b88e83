// End to end: a game played from the title screen with real input, saved,
// continued, lost into the score table, and kept when the game is stopped.

#include <cmath>
#include <csignal>
#include <cstdlib>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <unistd.h>
#include <vector>

#include "e2e_test.h"
#include "rules/savegame.h"

namespace {

// Frames a launched ball is given to break bricks before the game is left, and
// the most frames one life can last with the paddle pulled away.
const int PLAY_FRAMES = 240;
const int LIFE_FRAMES = 600;

bool read_save(const std::string &path, saved_game *g)
{
    std::ifstream f(path, std::ios::binary);
    f.read((char *)g, sizeof *g);
    return f.gcount() == (std::streamsize)sizeof *g;
}

class Play : public GameTest {
protected:
    std::string save;

    void SetUp() override
    {
        GameTest::SetUp();
        save = run.player_dir() + "/level_sets/corvale.sav";
    }
    // From the title: the options panel, then one of its buttons; waits out
    // the fade-out into play.
    void start_from_options(double button_x)
    {
        ASSERT_TRUE(run.open_play_options()) << "the play options did not open";
        ASSERT_TRUE(run.click_gui(button_x, OPTIONS_BUTTONS_Y));
        ASSERT_TRUE(run.wait_frames(FADE_FRAMES + FADE_MARGIN_FRAMES));
    }
    // Escape during play: held until the game has written its save.
    void leave_with_escape()
    {
        ASSERT_TRUE(run.press_key("Escape", [&] { return access(save.c_str(), F_OK) == 0; }));
    }
    void lose_saved_game(saved_game g);
};

// The high-score name dialog is a white panel over the upper middle of the title.
bool name_dialog_open(game_run &run)
{
    return run.brightness(200, 180, 400, 40) > 0.6;
}

// The saved game g put on its last ball with no extra life to come, continued
// and lost, so that one missed ball ends it however slowly the machine draws;
// returns once the high-score name dialog is open.
void Play::lose_saved_game(saved_game g)
{
    g.counter = 5;
    for (int &goodie : g.goodies)
        goodie = 0;
    write_bytes(save, std::string((const char *)&g, sizeof g));
    ASSERT_NO_FATAL_FAILURE(start_from_options(OPTIONS_CONTINUE_X));
    // Launch, then pull the paddle to the far left so the ball is missed.
    bool dialog = false;
    for (int tries = 0; tries < 5 && !dialog; tries++) {
        ASSERT_TRUE(run.click_at(345, 400));
        ASSERT_TRUE(run.move_to(0, 300));
        dialog = run.wait_until_or_frames([&] { return name_dialog_open(run); }, LIFE_FRAMES);
    }
    ASSERT_TRUE(dialog) << "no high-score dialog after the game was lost";
}

// The first entry of the table file: its name and points.
void first_entry(const std::string &table, std::string *name, int32_t *points)
{
    ASSERT_EQ(table.size(), 3360u);
    *name = table.c_str();
    memcpy(points, table.data() + 164, sizeof *points);
}

// One game started and steered with the keys alone, left with Escape and
// continued, then lost on its last ball: its score and replay enter the
// table, and the replay can be watched.
TEST_F(Play, KeysStartSteerAndLaunchEscapeSavesContinueResumesAndLosingEveryBallEntersTheTable)
{
    std::string scores = run.player_dir() + "/level_sets/scores.hst";
    std::string old_table = file_bytes(scores);
    ASSERT_TRUE(run.wait_for_title());
    auto middle = [&] { return run.brightness(200, 250, 400, 60); };
    auto changes = [&](const std::string &key) {
        double before = middle();
        return run.press_key(key) &&
               run.wait_until_or_frames([&] { return std::abs(middle() - before) > 0.03; }, 60);
    };
    ASSERT_TRUE(changes("Return")) << "Enter on the title opened no play options";
    run.screenshot(screenshot_path("keys_options.png"));
    ASSERT_TRUE(changes("Escape")) << "Escape left the play options open";
    ASSERT_TRUE(run.press_key("Right"));
    ASSERT_TRUE(changes("Return")) << "Right and Enter opened no browser";
    run.screenshot(screenshot_path("keys_browser.png"));
    ASSERT_TRUE(run.press_key("Return"));
    ASSERT_TRUE(run.wait_frames(FADE_FRAMES + FADE_MARGIN_FRAMES));
    ASSERT_NE(access(save.c_str(), F_OK), 0) << "saved before any game was left";

    int start = run.paddle_column();
    run.screenshot(screenshot_path("keys_play.png"));
    ASSERT_GT(start, 0) << "no paddle seen (screenshot keys_play.png)";
    ASSERT_TRUE(run.press_key("Left", [&] { return run.paddle_column() < start - 200; }));
    int left = run.paddle_column();
    ASSERT_LT(left, start - 200) << "holding Left did not move the paddle left";
    ASSERT_TRUE(run.press_key("Right", [&] { return run.paddle_column() > left + 100; }));
    int right = run.paddle_column();
    EXPECT_GT(right, left + 100) << "holding Right did not move the paddle right";
    ASSERT_TRUE(run.press_key("Left", [&] { return run.paddle_column() < right - 100; }));
    EXPECT_LT(run.paddle_column(), right - 100) << "holding Left did not bring it back";
    ASSERT_TRUE(run.wait_frames(4));   // frames that saw the key let go
    int back = run.paddle_column();
    ASSERT_TRUE(run.wait_frames(10));
    EXPECT_EQ(run.paddle_column(), back) << "the still mouse took the paddle back";

    // The mouse takes the paddle under the middle of the field; the ball
    // waits just above the paddle's middle until Space sends it up.
    ASSERT_TRUE(run.move_to(345, 400));
    auto ball_waits = [&] { return run.brightness(run.paddle_column() - 10, 500, 20, 14) > 0.08; };
    ASSERT_TRUE(ball_waits()) << "no ball waits on the paddle";
    ASSERT_TRUE(run.press_key("space"));
    EXPECT_TRUE(run.wait_until_or_frames([&] { return !ball_waits(); }, 60)) << "Space launched no ball";
    ASSERT_TRUE(run.wait_frames(PLAY_FRAMES));
    ASSERT_NO_FATAL_FAILURE(leave_with_escape());

    saved_game first;
    ASSERT_TRUE(read_save(save, &first)) << "Escape during play wrote no save";
    EXPECT_EQ(first.level, 1);
    EXPECT_STREQ(first.set_name, "beginner.bls") << "the browser's first set";
    EXPECT_GT(first.score, 0) << "the launched ball broke no brick";
    EXPECT_EQ(run.wait_exit(0), -1);

    // Back on the title: continue the saved game, then leave it again. Once
    // the save has been read, a new one can only come from leaving that game.
    ASSERT_NO_FATAL_FAILURE(start_from_options(OPTIONS_CONTINUE_X));
    remove(save.c_str());
    ASSERT_NO_FATAL_FAILURE(leave_with_escape());
    saved_game second;
    bool resumed = read_save(save, &second);
    if (!resumed)
        run.screenshot(screenshot_path("continue_failed.png"));
    ASSERT_TRUE(resumed) << "the continued game was not in play (screenshot continue_failed.png)";
    EXPECT_GE(second.score, first.score) << "continuing started a fresh game";
    EXPECT_EQ(second.level, first.level);

    // The continued game's save, on its last ball, continued once more and lost.
    ASSERT_NO_FATAL_FAILURE(lose_saved_game(second));
    run.screenshot(screenshot_path("high_score_name.png"));
    ASSERT_TRUE(run.type_text("Ace"));
    ASSERT_TRUE(run.press_key("Return"));
    run.wait_until([&] { return file_bytes(scores) != old_table; });

    std::string name;
    int32_t points = 0;
    ASSERT_NO_FATAL_FAILURE(first_entry(file_bytes(scores), &name, &points));
    EXPECT_EQ(name, "Ace") << "the first entry holds the typed name";
    EXPECT_GT(points, 0);

    // The game's replay is kept, linked to the new entry beside the table,
    // and ends on the entry's score.
    std::string links;
    ASSERT_TRUE(run.wait_until([&] { return !(links = file_bytes(run.player_dir() + "/level_sets/scores.rpl")).empty(); }));
    ASSERT_EQ(links.substr(0, 2), "0 ") << links;
    std::string replay = file_bytes(run.player_dir() + "/replays/" + links.substr(links.rfind(' ') + 1, 22));
    ASSERT_GT(replay.size(), 336u + 4268u + 17u) << "a continued game's replay holds its saved record";
    int32_t replay_score;
    memcpy(&replay_score, replay.data() + replay.size() - 12, sizeof replay_score);
    EXPECT_EQ(replay_score, points);

    // Watch on the table's first row plays the game again, seen by the HUD
    // that stands opaque over the view's bottom whatever the level's
    // background; Escape brings the table back, seen by the table itself.
    struct region { int x0, y0, x1, y1; };
    region rows{}, bottom{40, 540, 760, 600};
    run.view.pixel(1.0, 0.8, &rows.x0, &rows.y0);
    run.view.pixel(4.5, -0.8, &rows.x1, &rows.y1);
    auto pixels = [&](const region &r) { return run.grab(r.x0, r.y0, r.x1 - r.x0, r.y1 - r.y0); };
    ASSERT_TRUE(run.wait_frames(FADE_FRAMES + FADE_MARGIN_FRAMES));   // the title's fade-in after the game
    std::vector<unsigned char> table = pixels(rows), below = pixels(bottom);
    ASSERT_FALSE(table.empty());
    ASSERT_FALSE(below.empty());
    int wx, wy;
    run.view.pixel(5.08, 6.5 / 9.0 + 0.03, &wx, &wy);
    ASSERT_TRUE(run.click_pixel(wx, wy));
    bool shown = run.wait_until([&] { return share_changed(pixels(bottom), below) > 0.3; });
    run.screenshot(screenshot_path("replay_watched.png"));
    ASSERT_TRUE(shown) << "Watch showed no replay (screenshot replay_watched.png)";
    ASSERT_TRUE(run.press_key("Escape", [&] { return share_changed(pixels(rows), table) < 0.02; }))
        << "Escape did not bring the table back";
    EXPECT_EQ(file_bytes(scores).size(), 3360u);
    ASSERT_TRUE(run.close_window());
    EXPECT_EQ(run.wait_exit(20), 0);
}

// Closing the terminal the game was started from (SIGHUP) once lost the game
// in play, and asking the game to end (SIGTERM) while the high score's name
// was typed once lost the score. The game in play is saved; that game,
// started again and lost, enters the table with the name typed so far.
TEST_F(Play, HangupSavesTheGameInPlayAndAskedToEndTheNameTypedSoFarIsKept)
{
    ASSERT_NO_FATAL_FAILURE(start_from_options(OPTIONS_PLAY_X));
    ASSERT_TRUE(run.click_at(345, 400));   // launched under the middle of the field
    ASSERT_TRUE(run.wait_frames(PLAY_FRAMES));
    ASSERT_EQ(kill(run.pid(), SIGHUP), 0);
    EXPECT_EQ(run.wait_exit(60), 0);
    saved_game g;
    ASSERT_TRUE(read_save(save, &g)) << "the game in play was not saved";
    EXPECT_EQ(g.level, 1);
    EXPECT_GT(g.score, 0);

    ASSERT_TRUE(run.restart()) << run.error();
    ASSERT_NO_FATAL_FAILURE(lose_saved_game(g));
    ASSERT_TRUE(run.type_text("Al"));
    ASSERT_EQ(kill(run.pid(), SIGTERM), 0);
    EXPECT_EQ(run.wait_exit(60), 0);
    std::string name;
    int32_t points = 0;
    ASSERT_NO_FATAL_FAILURE(first_entry(file_bytes(run.player_dir() + "/level_sets/scores.hst"), &name, &points));
    EXPECT_EQ(name, "Al");
    EXPECT_GT(points, 0);
}

}  // namespace
