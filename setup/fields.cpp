// The dialog's fields and the settings record: filling the lists, showing the
// stored values, and collecting them back into the settings file.

#include <cmath>
#include <cstring>
#include <string>

#include "setup.h"

bset settings;
GtkWidget *thwnd;
GtkComboBoxText *resolution_list;
GtkToggleButton *windowed_box;
GtkToggleButton *particle_box;
GtkToggleButton *force_box;
GtkRange *effects_slider;
GtkRange *music_slider;
GtkEntry *playlist_box;
GtkWidget *browse_button;
GtkWidget *play_button;
GtkWidget *exit_button;

// The playlist as bytes, and the text shown for it. A path that is not valid
// UTF-8 cannot be shown as it is; while the box still holds the shown text,
// the bytes themselves are what gets saved.
static std::string raw_playlist, shown_playlist;

void show_playlist(const char *path)
{
    raw_playlist = path;
    gchar *text = g_utf8_make_valid(path, -1);
    shown_playlist = text;
    g_free(text);
    gtk_entry_set_text(playlist_box, shown_playlist.c_str());
}

void create_list()
{
    for (int i = 0; i < SETTINGS_RESOLUTIONS; i++)
        gtk_combo_box_text_append_text(resolution_list, settings_resolutions[i].label);
    GtkRange *sliders[] = {effects_slider, music_slider};
    for (GtkRange *slider : sliders) {
        gtk_range_set_range(slider, 0, 100);
        gtk_range_set_inverted(slider, TRUE);
        gtk_scale_clear_marks(GTK_SCALE(slider));
        for (int mark = 0; mark <= 100; mark += 10)
            gtk_scale_add_mark(GTK_SCALE(slider), mark, GTK_POS_LEFT, nullptr);
    }
}

// A slider holds the volume percentage, 100 - position, drawn with 100 at the top.
int slider_position(GtkRange *slider)
{
    return 100 - (int)std::lround(gtk_range_get_value(slider));
}

// Moves a slider to a position 0 (top, full volume) .. 100 (bottom, silent).
void set_slider_position(GtkRange *slider, int position)
{
    gtk_range_set_value(slider, 100 - position);
}

int position_for_volume(float volume)
{
    double position = std::lround(100.0 - (double)volume * 100.0);
    return (int)(position < 0 ? 0 : position > 100 ? 100 : position);
}

float volume_for_position(int position)
{
    return (float)(100 - position) / 100.0f;
}

void populate_list()
{
    if (!read_settings(&settings)) {
        settings = SETTINGS_DEFAULTS;
        // The effects slider has always started a notch above the game's default.
        settings.seffects = volume_for_position(15);
    }
    bool listed = settings.resolution >= 0 && settings.resolution < SETTINGS_RESOLUTIONS;
    gtk_combo_box_set_active(GTK_COMBO_BOX(resolution_list), listed ? settings.resolution : -1);
    set_slider_position(effects_slider, position_for_volume(settings.seffects));
    set_slider_position(music_slider, position_for_volume(settings.music));
    gtk_toggle_button_set_active(windowed_box, settings.windowed != 0);
    gtk_toggle_button_set_active(force_box, settings.force != 0);
    gtk_toggle_button_set_active(particle_box, settings.particle != 0);
    settings.playlist[sizeof settings.playlist - 1] = 0;  // the game reads at most 1023 bytes
    show_playlist(settings.playlist);
}


int save_settings()
{
    const char *text = gtk_entry_get_text(playlist_box);
    std::string playlist = shown_playlist == text ? raw_playlist : std::string(text);
    if (playlist.size() >= sizeof settings.playlist)
        return SAVE_PLAYLIST_TOO_LONG;

    bset record = settings;
    record.resolution = gtk_combo_box_get_active(GTK_COMBO_BOX(resolution_list));
    record.windowed = gtk_toggle_button_get_active(windowed_box) ? 1 : 0;
    record.particle = gtk_toggle_button_get_active(particle_box) ? 1 : 0;
    record.force = gtk_toggle_button_get_active(force_box) ? 1 : 0;
    record.music = volume_for_position(slider_position(music_slider));
    record.seffects = volume_for_position(slider_position(effects_slider));
    // An unchanged path keeps its stored field whole, bytes after its end included.
    record.playlist[sizeof record.playlist - 1] = 0;
    if (playlist != record.playlist) {
        memset(record.playlist, 0, sizeof record.playlist);
        memcpy(record.playlist, playlist.data(), playlist.size());
    }
    if (!write_settings(&record))
        return SAVE_WRITE_FAILED;
    settings = record;
    return SAVE_OK;
}
