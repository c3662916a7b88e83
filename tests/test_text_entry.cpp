// Text entry: the characters typed through the system's layout become the
// text, in order with Backspace and Enter; full-text mode keeps printable
// ASCII up to 79 characters, file-name mode letters and digits up to 8; only
// Enter completes an entry.

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "menus/menus.h"
#include "shell/shell.h"

namespace {

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

TEST_F(TextEntry, FullTextKeepsPunctuationAndCapitalsExactly)
{
    fulltext = 1;
    EXPECT_EQ(frame("Zed, Ace. Co-op 9;"), 0);
    EXPECT_EQ(frame("~!@#$%^&*()_+{}|:\"<>?`[]\\'/="), 0);
    EXPECT_STREQ(buffer, "Zed, Ace. Co-op 9;~!@#$%^&*()_+{}|:\"<>?`[]\\'/=");
    EXPECT_EQ(bcount, (int)strlen(buffer));
}

TEST_F(TextEntry, EachModeAcceptsItsCharactersUpToItsLimit)
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
}

// Each mode stops at its limit, and only Enter completes the entry.
TEST_F(TextEntry, EachModeStopsAtItsLimitAndOnlyEnterCompletes)
{
    EXPECT_EQ(frame("zed-Set 12"), 0);
    EXPECT_STREQ(buffer, "zedSet12");
    EXPECT_EQ(frame("345"), 0) << "a ninth character must not complete the entry";
    EXPECT_EQ(frame("\r"), 1);
    EXPECT_STREQ(buffer, "zedSet12");
    SetUp();
    fulltext = 1;
    for (int k = 0; k < 2; k++)
        EXPECT_EQ(frame(std::string(60, 'W')), 0);
    EXPECT_EQ(bcount, TEXT_LIMIT);
    EXPECT_EQ(buffer[TEXT_LIMIT], 0);
    EXPECT_EQ(frame("\r"), 1);
}

TEST_F(TextEntry, BackspaceActsInTypingOrderAndStopsAtEmpty)
{
    fulltext = 1;
    frame("ab\bc");
    EXPECT_STREQ(buffer, "ac");
    frame("\b\b\b");
    EXPECT_EQ(bcount, 0);
    EXPECT_STREQ(buffer, "");
}

TEST_F(TextEntry, WhatFollowsEnterIsLeftForTheNextEntry)
{
    fulltext = 1;
    EXPECT_EQ(frame("title\rnext"), 1);
    EXPECT_STREQ(buffer, "title");
    memset(buffer, 0, sizeof buffer);
    bcount = 0;
    EXPECT_EQ(console_input(), 0);
    EXPECT_STREQ(buffer, "next");
}

TEST_F(TextEntry, TypingWithNoEntryOpenIsForgotten)
{
    fulltext = 1;
    WndProc(nullptr, WM_CHAR, 'q', 0);
    forget_typed();
    frame("a");
    EXPECT_STREQ(buffer, "a");
}

TEST_F(TextEntry, AnOpenEntryTakesTheKeysItTypesFromTheShortcuts)
{
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
