// Single-line text entry: turns the keys that are down into characters of
// `buffer`, in file-name mode or full-text mode.

#include "menus.h"
#include "shell/shell.h"

// Virtual-key codes the entry treats specially.
enum { VK_BACK_KEY = 8, VK_ENTER_KEY = 13, VK_SHIFT_KEY = 16, VK_SPACE_KEY = 32 };

static const int NAME_LIMIT = 8;    // file-name mode completes past this many characters
static const int TEXT_LIMIT = 79;   // full-text mode and spaces complete past this many

char buffer[96];
int bcount;
int fulltext;
int carat;

// Lower-case form of a key code: only the letters change.
static int lower(int c)
{
    return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c;
}

// Appends one character; the last byte of buffer is kept for the terminator,
// so a consumer that never empties the buffer cannot make it overflow.
static void append(int c)
{
    if (bcount < 0)
        bcount = 0;
    if (bcount >= (int)sizeof buffer - 1)
        return;
    buffer[bcount++] = (char)c;
    buffer[bcount] = 0;
}

// Full-text mode: the character of a key that is down, Shift applying once.
static void type_full(int c)
{
    if (!keys[VK_SHIFT_KEY]) {
        keys[c] = 0;
        if (c != VK_SHIFT_KEY)
            append(lower(c));
    } else if (c != VK_SHIFT_KEY) {
        keys[VK_SHIFT_KEY] = 0;
        keys[c] = 0;
        append(c == '1' ? '!' : c == '2' ? '@' : c);
    }
}

int console_input()
{
    for (int c = 0; c < 256; c++) {
        if (keys[VK_BACK_KEY]) {
            keys[VK_BACK_KEY] = 0;
            if (bcount > 0)
                bcount--;
            else
                bcount = 0;
            buffer[bcount] = 0;
        }
        if (keys[VK_SPACE_KEY]) {
            keys[VK_SPACE_KEY] = 0;
            append(' ');
            if (bcount > TEXT_LIMIT)
                return 1;
        }
        if (!fulltext) {
            if (c >= 48 && c <= 89 && keys[c] && !keys[VK_ENTER_KEY]) {
                keys[c] = 0;
                if (!keys[VK_SHIFT_KEY]) {
                    append(lower(c));
                } else {
                    append(c);
                    keys[VK_SHIFT_KEY] = 0;
                }
                if (bcount > NAME_LIMIT)
                    return 1;
            }
        } else if (keys[c] && !keys[VK_ENTER_KEY]) {
            type_full(c);
            if (bcount > TEXT_LIMIT)
                return 1;
        }
        if (keys[VK_ENTER_KEY]) {
            keys[VK_ENTER_KEY] = 0;
            buffer[bcount] = 0;
            return 1;
        }
    }
    return 0;
}
