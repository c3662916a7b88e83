// Single-line text entry: the characters the player typed, as the system's
// keyboard layout made them, become the text of `buffer`, in file-name mode or
// full-text mode; Backspace takes one back and Enter completes the entry.

#include <cstring>

#include "menus.h"
#include "shell/shell.h"

// The control characters the window procedure queues for Backspace and Enter.
enum { TYPED_BACK = 8, TYPED_ENTER = 13 };

char buffer[96];
int bcount;
int fulltext;
int carat;
int caret_on;
int caret_in_view;

// What was typed since the last frame, in order.
static int typed[64];
static int typed_count;

void text_typed(int c)
{
    if (typed_count < (int)(sizeof typed / sizeof typed[0]))
        typed[typed_count++] = c;
}

void forget_typed()
{
    typed_count = 0;
}

void clear_buffer()
{
    memset(buffer, 0, TEXT_LIMIT);
}

static int is_letter_or_digit(int c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

int entry_accepts(int c, int full_text, int length)
{
    if (full_text)
        return c >= ' ' && c <= '~' && length < TEXT_LIMIT;
    return is_letter_or_digit(c) && length < NAME_LIMIT;
}

// The keys an open entry takes, so they act as no shortcut in the same pass:
// every key in full-text mode; the letters, digits, Space, Backspace and
// Enter in file-name mode, where F1, F2, F5, the arrows and the keypad still act.
static void take_keys()
{
    for (int c = 0; c < 256; c++)
        if (fulltext || (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || c == VK_SPACE ||
            c == VK_BACK || c == VK_RETURN)
            keys[c] = 0;
}

// Appends one character; the last byte of buffer is kept for the terminator.
static void append(int c)
{
    if (bcount < 0)
        bcount = 0;
    if (bcount >= (int)sizeof buffer - 1)
        return;
    buffer[bcount++] = (char)c;
    buffer[bcount] = 0;
}

int console_input()
{
    take_keys();
    int used = 0, done = 0;
    while (used < typed_count && !done) {
        int c = typed[used++];
        if (c == TYPED_BACK) {
            if (bcount > 0)
                bcount--;
            else
                bcount = 0;
            buffer[bcount] = 0;
        } else if (c == TYPED_ENTER) {
            done = 1;
        } else if (entry_accepts(c, fulltext, bcount)) {
            append(c);
        }
    }
    // What was typed after Enter belongs to the entry that follows.
    for (int k = used; k < typed_count; k++)
        typed[k - used] = typed[k];
    typed_count -= used;
    return done;
}
