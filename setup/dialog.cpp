// The setup dialog: built from its compiled-in template, its keys (Escape saves
// and exits, Enter saves and plays), and the loop that runs it to an end.

#include <cerrno>
#include <cstdio>

#include "setup.h"

// The compiled-in resources (generated from corvale_setup.gresource.xml).
extern "C" void setup_resources_register_resource(void);

// The template's place in the program's compiled-in resources.
static const char *const DIALOG_RESOURCE = "/org/corvale/setup/corvale_setup.ui";

// The builder's object called name, which the template must have.
static GObject *template_object(GtkBuilder *builder, const char *name)
{
    GObject *object = gtk_builder_get_object(builder, name);
    if (!object)
        g_error("the dialog template has no %s", name);
    return object;
}

// Escape (the dialog's close key) acts as "Save and Exit"; the close box
// reaches the dialog as a delete event instead and saves nothing.
static void on_close_key(GtkDialog *dialog, gpointer)
{
    g_signal_stop_emission_by_name(dialog, "close");
    gtk_dialog_response(dialog, SETUP_EXIT);
}

// Whether the focus is on one of the dialog's push buttons, which take Enter themselves.
static bool focus_on_push_button()
{
    GtkWidget *focus = gtk_window_get_focus(GTK_WINDOW(thwnd));
    return focus == play_button || focus == exit_button || focus == browse_button;
}

// Enter anywhere but on a push button saves and plays; the focused control
// (drop-down, check box, slider, entry) does not get it first.
static gboolean on_key_press(GtkWidget *, GdkEventKey *event, gpointer)
{
    bool enter = event->keyval == GDK_KEY_Return || event->keyval == GDK_KEY_KP_Enter ||
                 event->keyval == GDK_KEY_ISO_Enter;
    GdkModifierType mods = (GdkModifierType)(event->state & gtk_accelerator_get_default_mod_mask());
    if (!enter || mods != 0 || focus_on_push_button())
        return FALSE;
    gtk_dialog_response(GTK_DIALOG(thwnd), SETUP_PLAY);
    return TRUE;
}

// The "..." button opens the playlist chooser.
static void on_browse(GtkButton *, gpointer)
{
    browse_playlist();
}

void create_dialog()
{
    static bool registered;
    if (!registered)
        setup_resources_register_resource();
    registered = true;
    GtkBuilder *builder = gtk_builder_new_from_resource(DIALOG_RESOURCE);
    thwnd = GTK_WIDGET(template_object(builder, "setup_dialog"));
    resolution_list = GTK_COMBO_BOX_TEXT(template_object(builder, "resolution_list"));
    windowed_box = GTK_TOGGLE_BUTTON(template_object(builder, "windowed_box"));
    particle_box = GTK_TOGGLE_BUTTON(template_object(builder, "particle_box"));
    force_box = GTK_TOGGLE_BUTTON(template_object(builder, "force_box"));
    effects_slider = GTK_RANGE(template_object(builder, "effects_slider"));
    music_slider = GTK_RANGE(template_object(builder, "music_slider"));
    playlist_box = GTK_ENTRY(template_object(builder, "playlist_box"));
    browse_button = GTK_WIDGET(template_object(builder, "browse_button"));
    play_button = GTK_WIDGET(template_object(builder, "play_button"));
    exit_button = GTK_WIDGET(template_object(builder, "exit_button"));
    g_object_ref_sink(thwnd);
    g_object_unref(builder);

    g_signal_connect(thwnd, "close", G_CALLBACK(on_close_key), nullptr);
    g_signal_connect(thwnd, "key-press-event", G_CALLBACK(on_key_press), nullptr);
    g_signal_connect(browse_button, "clicked", G_CALLBACK(on_browse), nullptr);
    watch_slider(effects_slider);
    watch_slider(music_slider);
    gtk_widget_grab_default(play_button);
    gtk_widget_grab_focus(GTK_WIDGET(resolution_list));
}

void message_box(const char *text, const char *title, GtkMessageType type)
{
    fprintf(stderr, "%s: %s\n", title, text);
    GtkWidget *box = gtk_message_dialog_new(thwnd ? GTK_WINDOW(thwnd) : nullptr,
                                            GTK_DIALOG_MODAL, type, GTK_BUTTONS_OK, "%s", text);
    gtk_window_set_title(GTK_WINDOW(box), title);
    gtk_dialog_run(GTK_DIALOG(box));
    gtk_widget_destroy(box);
}

// Saves the dialog's values; says why when nothing could be written. 1 when saved.
static int save_and_report()
{
    switch (save_settings()) {
    case SAVE_OK:
        return 1;
    case SAVE_PLAYLIST_TOO_LONG:
        message_box("The playlist path is too long: it may have at most 1023 bytes.\n"
                    "Nothing was saved; please choose a shorter path.",
                    "Corvale Setup", GTK_MESSAGE_ERROR);
        return 0;
    default: {
        char text[1400];
        snprintf(text, sizeof text,
                 "The settings could not be saved to\n%s\n(%s).\nThe previous settings are unchanged.",
                 settings_path(), g_strerror(errno));
        message_box(text, "Corvale Setup", GTK_MESSAGE_ERROR);
        return 0;
    }
    }
}

int run_dialog()
{
    gtk_widget_show(thwnd);
    for (;;) {
        int answer = gtk_dialog_run(GTK_DIALOG(thwnd));
        if (answer == SETUP_PLAY) {
            if (!save_and_report())
                continue;  // the player may fix the problem or leave by the close box
            gtk_widget_hide(thwnd);
            return start_game() ? SETUP_PLAY : SETUP_GAME_FAILED;
        }
        if (answer == SETUP_EXIT) {
            if (!save_and_report())
                continue;
            return SETUP_EXIT;
        }
        return SETUP_EXIT;  // the close box: nothing written
    }
}
