// The setup program's message mode: `corvale_setup --message KIND TITLE TEXT`
// shows one message box with GTK and answers with its exit code. The game uses
// it when its own box cannot be drawn (an X server without core fonts).
#pragma once

// The program and its option, as the game runs it from its own folder.
static const char MESSAGE_PROGRAM[] = "corvale_setup";
static const char MESSAGE_OPTION[] = "--message";

// The kinds of box: the icon, and one OK button or the Yes/No pair.
static const char MESSAGE_ERROR[] = "error";
static const char MESSAGE_WARNING[] = "warning";
static const char MESSAGE_INFO[] = "info";
static const char MESSAGE_YESNO[] = "yesno";

// The message mode's exit codes.
enum message_answer {
    MESSAGE_FIRST = 0,        // OK, or Yes
    MESSAGE_SECOND = 1,       // No, or Escape on a Yes/No box
    MESSAGE_CLOSED = 2,       // closed without an answer
    MESSAGE_NO_DISPLAY = 3,   // no display to show the box on
    MESSAGE_USAGE = 4,        // the arguments were not KIND TITLE TEXT
};
