// The fixture of the end-to-end cases that play from the title: the game
// started in an 800 x 600 window, its window shown.
#pragma once

#include <gtest/gtest.h>

#include "e2e.h"
#include "gl_view.h"   // cell_centre_x, screenshot_path

class GameTest : public ::testing::Test {
protected:
    game_run run;

    void SetUp() override
    {
        ASSERT_TRUE(run.start(windowed_settings(2))) << run.error();
        ASSERT_NE(run.window(), 0u) << "no game window; exit code " << run.wait_exit(0);
    }
};
