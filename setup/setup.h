// The setup program: one dialog that shows and writes the settings file,
// previews the two volumes with a sound, chooses a playlist and starts the game.
#pragma once

#include <gtk/gtk.h>

#include "settings.h"
#include "sound_lib.h"

// ---- The dialog's answers (also the program's exit codes where they end it) ----
enum {
    SETUP_EXIT = 0,          // "Save and Exit", Escape, or the close box
    SETUP_PLAY = 1,          // "Save and Play"
    SETUP_GAME_FAILED = 2,   // saved, but the game could not be started
    SETUP_NO_DISPLAY = 3,    // no display to show the dialog on
};

// ---- Outcome of save_settings ----
enum {
    SAVE_OK = 0,             // the file holds the dialog's values
    SAVE_PLAYLIST_TOO_LONG,  // playlist path over 1023 bytes: nothing written
    SAVE_WRITE_FAILED,       // the file could not be replaced: the old one stays whole
};

// ---- Settings and dialog (globals defined in fields.cpp) ----
extern bset settings;               // the record last read or written; zero before populate_list
extern GtkWidget *thwnd;            // the dialog; null until create_dialog
extern GtkComboBoxText *resolution_list;  // the resolution drop-down, entries in table order
extern GtkToggleButton *windowed_box;     // "Windowed mode"
extern GtkToggleButton *particle_box;     // "Disable Particle Effects"
extern GtkToggleButton *force_box;        // "Force 16-bit rendering"
extern GtkRange *effects_slider;    // effect volume: position 0 (top, full) .. 100 (bottom, silent)
extern GtkRange *music_slider;      // music volume, as effects_slider
extern GtkEntry *playlist_box;      // the playlist path
extern GtkWidget *browse_button;    // "..."
extern GtkWidget *play_button;      // "Save and Play", the default
extern GtkWidget *exit_button;      // "Save and Exit"

// ---- Sound (globals defined in preview.cpp) ----
extern FMOD_SYSTEM *fsystem;        // the preview's sound system; null until init_fmod, and after a failure
extern FMOD_SOUND *sound1;          // "sounds/effects/good.wav"; null when it could not load, or after a failure
extern FMOD_CHANNEL *channel;       // the channel of the last preview
extern FMOD_RESULT result;          // result of the last sound call

// ---- Dialog (dialog.cpp) ----
// Builds the dialog from its compiled-in template into thwnd and the control
// globals, and connects its keys and signals. Needs GTK started.
void create_dialog();
// Runs the dialog until the player leaves it; returns the program's exit code.
int run_dialog();
// Shows a modal message box over the dialog (also on standard error).
void message_box(const char *text, const char *title, GtkMessageType type);

// ---- Message mode (message.cpp) ----
// 1 when the arguments ask for one message box (--message), not the dialog.
int is_message_mode(int argc, char **argv);
// Shows the box the arguments describe and returns its answer as an exit code.
int run_message_mode(int argc, char **argv);

// ---- Fields (fields.cpp) ----
// Fills the resolution list with the eleven labels and sets both sliders' range and marks.
void create_list();
// Reads the settings file into `settings` and shows it in the dialog (defaults without a file).
void populate_list();
// Collects the dialog's values into `settings` and writes the file; a SAVE_* outcome.
int save_settings();
// Puts a playlist path (any bytes; shown as UTF-8) into the playlist box.
void show_playlist(const char *path);
// A slider's position, 0 (top, full volume) .. 100 (bottom, silent).
int slider_position(GtkRange *slider);
// Moves a slider to a position 0..100.
void set_slider_position(GtkRange *slider, int position);
// Slider position 0..100 for a stored volume, rounded to the nearest position.
int position_for_volume(float volume);
// Stored volume for a slider position: (100 - p) / 100.
float volume_for_position(int position);

// ---- Preview sound (preview.cpp) ----
// Starts the sound system and loads the preview sound, with the library's
// messages; without sound the dialog works as ever, with no preview.
void init_fmod();
// 1 for results 0 and 25. Any other is reported in a message box that does
// not wait, and the sound system closed, so the preview stays silent; 0.
int sound_ok(FMOD_RESULT r);
// Connects the thumb-release preview to a slider.
void watch_slider(GtkRange *slider);
// Plays the preview sound at the volume of slider position p.
void play_preview(int position);
// Stops the sound system before the program ends.
void close_fmod();

// ---- Browse and launch (browse.cpp, launch.cpp) ----
// Asks for an existing .m3u file; the chosen full path goes into the playlist box.
void browse_playlist();
// Moves to the program's own folder, where the game and its data live; 0 if unknown.
int enter_game_folder();
// The program's own folder ("" until enter_game_folder).
const char *game_folder();
// Starts the game from the program's folder, detached; 0 (with a message) if it cannot start.
int start_game();
