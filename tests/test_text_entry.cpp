// Text entry: the keys that are down become characters of the buffer, in
// file-name mode (codes 48..89, nine characters complete) and in full-text
// mode (every key, Shift for one character); Enter ends either.

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "menus/menus.h"
#include "shell/shell.h"

namespace {

enum { BACK = 8, ENTER = 13, SHIFT = 16, SPACE = 32 };

class TextEntry : public ::testing::Test {
protected:
    void SetUp() override
    {
        memset(keys, 0, sizeof keys);
        memset(buffer, 0, sizeof buffer);
        bcount = 0;
        fulltext = 0;
    }

    // One frame with these keys down; returns console_input's result.
    int frame(std::initializer_list<int> down)
    {
        for (int c : down)
            keys[c] = 1;
        int done = console_input();
        memset(keys, 0, sizeof keys);
        return done;
    }

    // Presses each character's key for one frame; stops when the entry completes.
    int type(const char *text)
    {
        int done = 0;
        for (const char *p = text; *p && !done; p++)
            done = frame({*p});
        return done;
    }
};

TEST_F(TextEntry, FileNameModeCompletesOnTheNinthCharacterAndKeepsIt)
{
    EXPECT_EQ(type("LEV3ABCD"), 0);
    EXPECT_EQ(type("J"), 1);
    EXPECT_STREQ(buffer, "lev3abcdj");
    EXPECT_EQ(bcount, 9);
}

TEST_F(TextEntry, FileNameModeTakesOnlyCodes48To89)
{
    EXPECT_EQ(frame({'Z'}) + frame({47}) + frame({112}), 0);
    EXPECT_EQ(bcount, 0);
    type("0Y:");                    // ':' (58) is an unassigned code inside the range
    EXPECT_STREQ(buffer, "0y:");
}

TEST_F(TextEntry, ShiftAppliesToOneCharacterPerKeyDown)
{
    keys[SHIFT] = keys['A'] = 1;
    console_input();
    EXPECT_EQ(keys[SHIFT], 0);
    keys['B'] = 1;                  // Shift still held, but no new key-down
    console_input();
    EXPECT_STREQ(buffer, "Ab");
}

TEST_F(TextEntry, SpacesCountOnlyAgainstTheLongLimit)
{
    type("ABCDEFGH");
    for (int i = 9; i <= 79; i++)
        ASSERT_EQ(frame({SPACE}), 0) << i;
    EXPECT_EQ(frame({SPACE}), 1);   // the 80th character completes
    EXPECT_EQ(bcount, 80);
}

TEST_F(TextEntry, BackspaceRemovesOneAndStopsAtEmpty)
{
    type("AB");
    frame({BACK});
    EXPECT_STREQ(buffer, "a");
    frame({BACK});
    frame({BACK});
    EXPECT_EQ(bcount, 0);
    EXPECT_STREQ(buffer, "");
}

TEST_F(TextEntry, EnterEndsTheEntryWithoutTheKeysHeldWithIt)
{
    type("AB");
    EXPECT_EQ(frame({'C', ENTER}), 1);
    EXPECT_STREQ(buffer, "ab");
    fulltext = 1;
    EXPECT_EQ(frame({'X', ENTER}), 1);
    EXPECT_STREQ(buffer, "ab");
}

TEST_F(TextEntry, FullTextShiftGivesBangAtAndCapitals)
{
    fulltext = 1;
    frame({SHIFT, '1'});
    frame({SHIFT, '2'});
    frame({SHIFT, 'A'});
    frame({'B'});
    EXPECT_EQ(frame({SHIFT}), 0);   // Shift alone types nothing
    EXPECT_STREQ(buffer, "!@Ab");
}

TEST_F(TextEntry, FullTextTypesEveryKeyAsItsCodeLowerCased)
{
    fulltext = 1;
    type("H1");
    frame({112});                   // F1 types a lower-case p
    frame({97});                    // keypad 1 types a lower-case a
    frame({SPACE});
    EXPECT_STREQ(buffer, "h1pa ");
}

TEST_F(TextEntry, AnUnemptiedBufferNeverOverflows)
{
    // Past 79 characters every key completes the entry; a dialog that keeps
    // typing without taking the text still cannot write past the buffer.
    fulltext = 1;
    for (int i = 1; i <= 79; i++)
        ASSERT_EQ(frame({'W'}), 0);
    EXPECT_EQ(frame({'W'}), 1);
    for (int i = 0; i < 300; i++)
        frame({'W'});
    EXPECT_EQ(bcount, (int)sizeof buffer - 1);
    EXPECT_EQ(buffer[sizeof buffer - 1], 0);
}

}  // namespace
