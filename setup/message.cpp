// The setup program's message mode: one GTK message box for the game, shown
// with the desktop's fonts, whose answer is the exit code.

#include <cstring>

#include "message_mode.h"
#include "setup.h"

// The box's icon for a kind word; -1 for an unknown word.
static int message_type(const char *kind)
{
    if (strcmp(kind, MESSAGE_ERROR) == 0)
        return GTK_MESSAGE_ERROR;
    if (strcmp(kind, MESSAGE_WARNING) == 0 || strcmp(kind, MESSAGE_YESNO) == 0)
        return GTK_MESSAGE_WARNING;
    if (strcmp(kind, MESSAGE_INFO) == 0)
        return GTK_MESSAGE_INFO;
    return -1;
}

int is_message_mode(int argc, char **argv)
{
    return argc >= 2 && strcmp(argv[1], MESSAGE_OPTION) == 0;
}

int run_message_mode(int argc, char **argv)
{
    if (argc != 5 || message_type(argv[2]) < 0) {
        fprintf(stderr, "usage: corvale_setup %s error|warning|info|yesno TITLE TEXT\n",
                MESSAGE_OPTION);
        return MESSAGE_USAGE;
    }
    int fake_argc = 1;
    if (!gtk_init_check(&fake_argc, &argv)) {
        fprintf(stderr, "corvale_setup: cannot open the display\n");
        return MESSAGE_NO_DISPLAY;
    }
    g_set_prgname(MESSAGE_PROGRAM);
    gtk_window_set_default_icon_from_file("graphics/icon.png", nullptr);
    bool yesno = strcmp(argv[2], MESSAGE_YESNO) == 0;
    GtkWidget *box = gtk_message_dialog_new(nullptr, GTK_DIALOG_MODAL,
                                            (GtkMessageType)message_type(argv[2]),
                                            yesno ? GTK_BUTTONS_YES_NO : GTK_BUTTONS_OK, "%s",
                                            argv[4]);
    gtk_window_set_title(GTK_WINDOW(box), argv[3]);
    gtk_window_set_position(GTK_WINDOW(box), GTK_WIN_POS_CENTER);
    gtk_window_set_keep_above(GTK_WINDOW(box), TRUE);
    // Enter answers Yes (or OK), as in the game's own box.
    gtk_dialog_set_default_response(GTK_DIALOG(box), yesno ? GTK_RESPONSE_YES : GTK_RESPONSE_OK);
    int response = gtk_dialog_run(GTK_DIALOG(box));
    gtk_widget_destroy(box);
    while (gtk_events_pending())
        gtk_main_iteration();
    switch (response) {
    case GTK_RESPONSE_OK:
    case GTK_RESPONSE_YES: return MESSAGE_FIRST;
    case GTK_RESPONSE_NO: return MESSAGE_SECOND;
    default:
        // Escape answers No on a question and closes an OK box.
        return yesno && response == GTK_RESPONSE_DELETE_EVENT ? MESSAGE_SECOND : MESSAGE_CLOSED;
    }
}
