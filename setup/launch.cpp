// Finding the program's own folder, which holds the game beside it, moving to
// the game's data folder, and starting the game.

#include <cerrno>
#include <cstdio>
#include <string>
#include <unistd.h>

#include "gamedir.h"
#include "setup.h"

static std::string folder;

const char *game_folder()
{
    return folder.c_str();
}

int enter_game_folder()
{
    folder = program_dir();
    if (folder.empty())
        return 0;
    std::string error;
    if (!enter_game_data_dir(&error)) {
        fprintf(stderr, "%s\n", error.c_str());
        return 0;
    }
    return 1;
}

// Runs in the started game before it takes over: its own session, so that it
// outlives the setup program and its terminal.
static void detach(gpointer)
{
    setsid();
}

int start_game()
{
    std::string program = folder + "/corvale";
    gchar *argv[] = {(gchar *)program.c_str(), nullptr};
    GError *error = nullptr;
    // Without G_SPAWN_DO_NOT_REAP_CHILD the game is started through an
    // intermediate process, so nothing waits for it here.
    gboolean started = g_spawn_async(folder.c_str(), argv, nullptr, (GSpawnFlags)0, detach,
                                     nullptr, nullptr, &error);
    if (started)
        return 1;
    char text[1400];
    snprintf(text, sizeof text,
             "The settings were saved, but the game could not be started:\n%s\n(%s)",
             program.c_str(), error ? error->message : g_strerror(errno));
    if (error)
        g_error_free(error);
    message_box(text, "Corvale Setup", GTK_MESSAGE_ERROR);
    return 0;
}
