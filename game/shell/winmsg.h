// The window messages the game's window procedure handles, with the codes and
// parameter packing of the desktop they were first written for.
#pragma once

#include <cstdint>

typedef void *HWND;         // the game window (opaque)
typedef uintptr_t WPARAM;   // word parameter of a message
typedef intptr_t LPARAM;    // long parameter of a message
typedef intptr_t LRESULT;   // result of the window procedure

constexpr unsigned WM_SIZE = 0x0005;         // lParam: client width (low word), height (high word)
constexpr unsigned WM_ACTIVATE = 0x0006;     // wParam high word: 1 when minimised
constexpr unsigned WM_CLOSE = 0x0010;
constexpr unsigned WM_SYSCOMMAND = 0x0112;   // wParam: the command
constexpr unsigned WM_KEYDOWN = 0x0100;      // wParam: virtual-key code
constexpr unsigned WM_KEYUP = 0x0101;
constexpr unsigned WM_CHAR = 0x0102;         // wParam: a typed character's Unicode code point
constexpr unsigned WM_MOUSEMOVE = 0x0200;    // lParam: x low word, y high word
constexpr unsigned WM_LBUTTONDOWN = 0x0201;
constexpr unsigned WM_LBUTTONUP = 0x0202;
constexpr unsigned WM_RBUTTONDOWN = 0x0204;
constexpr unsigned WM_RBUTTONUP = 0x0205;
constexpr unsigned WM_MBUTTONDOWN = 0x0207;
constexpr unsigned WM_MBUTTONUP = 0x0208;
constexpr unsigned WM_MOUSEWHEEL = 0x020A;   // wParam high word: signed delta
constexpr unsigned WM_XBUTTONDOWN = 0x020B;
constexpr unsigned WM_XBUTTONUP = 0x020C;    // wParam high word: XBUTTON1 or XBUTTON2

constexpr unsigned SC_SCREENSAVE = 0xF140;
constexpr unsigned SC_MONITORPOWER = 0xF170;
constexpr unsigned XBUTTON1 = 1;
constexpr unsigned XBUTTON2 = 2;
constexpr int WHEEL_DELTA = 120;

// Virtual-key codes, the indices of `keys`.
enum {
    VK_BACK = 8, VK_TAB = 9, VK_RETURN = 13, VK_SHIFT = 16, VK_CONTROL = 17,
    VK_MENU = 18, VK_ESCAPE = 27, VK_SPACE = 32, VK_PRIOR = 33, VK_NEXT = 34,
    VK_END = 35, VK_HOME = 36, VK_LEFT = 37, VK_UP = 38, VK_RIGHT = 39,
    VK_DOWN = 40, VK_INSERT = 45, VK_DELETE = 46,
    VK_NUMPAD0 = 96, VK_ADD = 107, VK_SUBTRACT = 109,
    VK_F1 = 112, VK_F2 = 113, VK_F3 = 114, VK_F5 = 116, VK_F12 = 123,
    VK_OEM_1 = 186, VK_OEM_PLUS = 187, VK_OEM_COMMA = 188, VK_OEM_MINUS = 189,
    VK_OEM_PERIOD = 190, VK_OEM_2 = 191, VK_OEM_3 = 192, VK_OEM_4 = 219,
    VK_OEM_5 = 220, VK_OEM_6 = 221, VK_OEM_7 = 222,
};

inline unsigned LOWORD(uintptr_t v) { return (unsigned)(v & 0xffff); }
inline unsigned HIWORD(uintptr_t v) { return (unsigned)((v >> 16) & 0xffff); }
inline LPARAM MAKELPARAM(unsigned lo, unsigned hi)
{
    return (LPARAM)(((uintptr_t)(hi & 0xffff) << 16) | (lo & 0xffff));
}
