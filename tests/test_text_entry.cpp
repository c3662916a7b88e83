// Text entry: the keys that are down become characters of the buffer, in
// file-name mode (digits and letters, nine characters complete) and in
// full-text mode (every key, Shift for one character, Enter ends).

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

    // Presses one key (with Shift if asked) for one frame; returns console_input's result.
    int press(int code, bool shift = false)
    {
        keys[code] = 1;
        if (shift)
            keys[SHIFT] = 1;
        int done = console_input();
        keys[code] = 0;
        keys[SHIFT] = 0;
        return done;
    }

    // Types letters and digits, one frame each, stopping when the entry completes.
    int type(const char *text)
    {
        int done = 0;
        for (const char *p = text; *p && !done; p++)
            done = press(*p == ' ' ? SPACE : *p);
        return done;
    }

    std::string text() const { return std::string(buffer); }
};

TEST_F(TextEntry, FileNameModeLowerCasesLettersAndKeepsDigits)
{
    EXPECT_EQ(type("LEV3"), 0);
    EXPECT_EQ(text(), "lev3");
    EXPECT_EQ(bcount, 4);
    EXPECT_EQ(keys['L'], 0);
}

TEST_F(TextEntry, FileNameModeCompletesOnTheNinthCharacterAndKeepsIt)
{
    EXPECT_EQ(type("ABCDEFGH"), 0);
    EXPECT_EQ(press('J'), 1);
    EXPECT_EQ(text(), "abcdefghj");
    EXPECT_EQ(bcount, 9);
}

TEST_F(TextEntry, FileNameModeTakesOnlyCodes48To89)
{
    EXPECT_EQ(press('Z'), 0);       // 90 is past the accepted range
    EXPECT_EQ(press(47), 0);
    EXPECT_EQ(press(112), 0);       // F1
    EXPECT_EQ(keys['Z'], 0);
    EXPECT_EQ(bcount, 0);
    EXPECT_EQ(press(48), 0);
    EXPECT_EQ(press(89), 0);
    EXPECT_EQ(press(58), 0);        // an unassigned code inside the range is typed
    EXPECT_EQ(text(), "0y:");
}

TEST_F(TextEntry, FileNameModeShiftKeepsOneCapital)
{
    keys[SHIFT] = 1;
    keys['A'] = 1;
    console_input();
    EXPECT_EQ(keys[SHIFT], 0);      // Shift is used up by one character
    keys['A'] = 0;
    keys['B'] = 1;                  // still physically held, but no new key-down
    console_input();
    EXPECT_EQ(text(), "Ab");
}

TEST_F(TextEntry, SpacesCountOnlyAgainstTheLongLimit)
{
    EXPECT_EQ(type("ABCDEFGH"), 0);
    for (int i = 9; i <= 79; i++)
        ASSERT_EQ(press(SPACE), 0) << i;
    EXPECT_EQ(bcount, 79);
    EXPECT_EQ(press(SPACE), 1);     // the 80th character completes
    EXPECT_EQ(bcount, 80);
}

TEST_F(TextEntry, BackspaceRemovesOneAndStopsAtEmpty)
{
    type("AB");
    EXPECT_EQ(press(BACK), 0);
    EXPECT_EQ(text(), "a");
    press(BACK);
    press(BACK);
    EXPECT_EQ(bcount, 0);
    EXPECT_EQ(text(), "");
    EXPECT_EQ(keys[BACK], 0);
}

TEST_F(TextEntry, EnterEndsTheEntryInBothModes)
{
    type("AB");
    EXPECT_EQ(press(ENTER), 1);
    EXPECT_EQ(text(), "ab");
    EXPECT_EQ(keys[ENTER], 0);

    fulltext = 1;
    EXPECT_EQ(press(ENTER), 1);
    EXPECT_EQ(text(), "ab");
}

TEST_F(TextEntry, FileNameModeIgnoresALetterHeldWithEnter)
{
    keys['C'] = 1;
    keys[ENTER] = 1;
    EXPECT_EQ(console_input(), 1);
    EXPECT_EQ(bcount, 0);
}

TEST_F(TextEntry, FullTextShiftGivesBangAtAndOneCapital)
{
    fulltext = 1;
    press('1', true);
    press('2', true);
    keys[SHIFT] = 1;
    keys['A'] = 1;
    console_input();
    keys['A'] = 0;
    keys['B'] = 1;                  // next letter without a new Shift press
    console_input();
    keys['B'] = 0;
    EXPECT_EQ(text(), "!@Ab");
}

TEST_F(TextEntry, FullTextTypesEveryKeyAsItsCodeLowerCased)
{
    fulltext = 1;
    press('H');
    press('1');
    press(112);                     // F1 types a lower-case p
    press(97);                      // keypad 1 types a lower-case a
    press(SPACE);
    EXPECT_EQ(text(), "h1pa ");
}

TEST_F(TextEntry, FullTextShiftAloneTypesNothing)
{
    fulltext = 1;
    keys[SHIFT] = 1;
    EXPECT_EQ(console_input(), 0);
    EXPECT_EQ(bcount, 0);
    EXPECT_EQ(keys[SHIFT], 1);      // kept for the next key
}

TEST_F(TextEntry, FullTextEnterWithAnotherKeyCompletesWithoutIt)
{
    fulltext = 1;
    type("OK");
    keys['X'] = 1;
    keys[ENTER] = 1;
    EXPECT_EQ(console_input(), 1);
    EXPECT_EQ(text(), "ok");
}

TEST_F(TextEntry, FullTextCompletesPastSeventyNineCharacters)
{
    fulltext = 1;
    for (int i = 1; i <= 79; i++)
        ASSERT_EQ(press('Q'), 0) << i;
    EXPECT_EQ(press('Q'), 1);
    EXPECT_EQ(bcount, 80);
    EXPECT_EQ(strlen(buffer), 80u);
}

TEST_F(TextEntry, AnUnemptiedBufferNeverOverflows)
{
    // A dialog that keeps calling after completion without taking the text
    // must not write past the buffer.
    fulltext = 1;
    for (int i = 0; i < 300; i++)
        press('W');
    EXPECT_EQ(bcount, (int)sizeof buffer - 1);
    EXPECT_EQ(buffer[sizeof buffer - 1], 0);
}

}  // namespace
