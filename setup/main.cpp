// The setup program's entry: moves to its own folder (the game folder), starts
// GTK and the preview sound, and runs the dialog. The exit code is 1 after
// "Save and Play", 2 when the game could not be started, 3 without a display,
// and 0 otherwise; without sound the dialog works with no volume preview.
// With --message it shows one message box for the game instead (message.cpp).

#include <cstdio>

#include "setup.h"

int main(int argc, char **argv)
{
    if (!enter_game_folder())
        fprintf(stderr, "corvale_setup: cannot find the program's folder; "
                        "using the current folder\n");
    if (is_message_mode(argc, argv))
        return run_message_mode(argc, argv);
    if (!gtk_init_check(&argc, &argv)) {
        fprintf(stderr, "corvale_setup: cannot open the display\n");
        return SETUP_NO_DISPLAY;
    }
    g_set_prgname("corvale_setup");
    g_set_application_name("Corvale Setup");
    // The game's own icon, from the game folder, for the dialog's windows.
    gtk_window_set_default_icon_from_file("graphics/icon.png", nullptr);
    create_dialog();
    init_fmod();
    create_list();
    populate_list();
    int code = run_dialog();
    close_fmod();
    return code;
}
