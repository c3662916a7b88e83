// The volume preview: the setup program's own sound system, its result check,
// and the sound played when a slider's thumb is let go after a drag. A sound
// that fails is reported and the preview switched off; the dialog goes on.

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "setup.h"
#include "sound_effects.h"
#include "sound_start.h"

FMOD_SYSTEM *fsystem;
FMOD_SOUND *sound1;
FMOD_CHANNEL *channel;
FMOD_RESULT result;

// The preview plays the effect of a good catch.
static const sound_effect PREVIEW_EFFECT = SFX_GOOD;

// The slider whose thumb is held down (null when none), and whether the
// pointer has moved the value since it was pressed.
static GtkRange *held_slider;
static bool dragged;

// The start-up's messages in the dialog's message boxes.
static void tell_player(const char *text, const char *title, sound_message_kind kind)
{
    message_box(text, title, kind == SOUND_MESSAGE_WARNING ? GTK_MESSAGE_WARNING : GTK_MESSAGE_ERROR);
}

// A message box over the dialog that does not wait for its OK, so the
// callback that failed returns and the dialog goes on.
static void tell_without_waiting(const char *text, const char *title)
{
    fprintf(stderr, "%s: %s\n", title, text);
    GtkWidget *box = gtk_message_dialog_new(thwnd ? GTK_WINDOW(thwnd) : nullptr, GTK_DIALOG_DESTROY_WITH_PARENT,
                                            GTK_MESSAGE_WARNING, GTK_BUTTONS_OK, "%s", text);
    gtk_window_set_title(GTK_WINDOW(box), title);
    g_signal_connect(box, "response", G_CALLBACK(gtk_widget_destroy), nullptr);
    gtk_widget_show(box);
}

int sound_ok(FMOD_RESULT r)
{
    if (r == FMOD_OK || r == FMOD_ERR_FORMAT)
        return 1;
    char caption[64], text[256];
    sound_error_caption(r, caption, sizeof caption);
    snprintf(text, sizeof text, "%s\nThe volumes cannot be previewed; the settings can still be chosen and saved.",
             FMOD_ErrorString(r));
    tell_without_waiting(text, caption);
    close_fmod();
    return 0;
}

void init_fmod()
{
    result = start_sound_system(&fsystem, 32, FMOD_INIT_NORMAL, tell_player);
    if (result == FMOD_ERR_VERSION) {   // already told
        close_fmod();
        return;
    }
    if (!sound_ok(result))
        return;

    // Without its preview sound the dialog still does everything else.
    char path[96];
    snprintf(path, sizeof path, "sounds/effects/%s.wav", SOUND_EFFECT_NAMES[PREVIEW_EFFECT]);
    result = FMOD_System_CreateSound(fsystem, path, FMOD_SOFTWARE | FMOD_2D, 0, &sound1);
    if (result != FMOD_OK) {
        fprintf(stderr, "corvale_setup: %s: %s; the volumes are not previewed\n", path,
                FMOD_ErrorString(result));
        sound1 = nullptr;
    }
}

void play_preview(int position)
{
    if (!sound1)
        return;
    // Started paused so that not a sample is heard before the volume is set.
    if (!sound_ok(result = FMOD_System_PlaySound(fsystem, FMOD_CHANNEL_FREE, sound1, 1, &channel)))
        return;
    if (!sound_ok(result = FMOD_Channel_SetVolume(channel, volume_for_position(position))))
        return;
    sound_ok(result = FMOD_Channel_SetPaused(channel, 0));
}

// Plays the preview for the slider just let go, once its last move has been taken.
static gboolean preview_after_release(gpointer slider)
{
    play_preview(slider_position(GTK_RANGE(slider)));
    return G_SOURCE_REMOVE;
}

// A pointer press on a slider starts watching for a drag.
static gboolean on_slider_press(GtkWidget *slider, GdkEventButton *, gpointer)
{
    held_slider = GTK_RANGE(slider);
    dragged = false;
    return FALSE;
}

// A value change made by pointer motion while a slider is held is a drag; clicks
// on the trough, held-down paging, the wheel and the keyboard are not.
static void on_slider_value(GtkRange *slider, gpointer)
{
    GdkEvent *event = gtk_get_current_event();
    if (slider == held_slider && event && event->type == GDK_MOTION_NOTIFY)
        dragged = true;
    if (event)
        gdk_event_free(event);
}

// Letting go of a slider after dragging it plays the preview at its new volume.
static gboolean on_slider_release(GtkWidget *slider, GdkEventButton *, gpointer)
{
    if (GTK_RANGE(slider) == held_slider && dragged)
        g_idle_add(preview_after_release, slider);
    held_slider = nullptr;
    dragged = false;
    return FALSE;
}

void watch_slider(GtkRange *slider)
{
    g_signal_connect(slider, "button-press-event", G_CALLBACK(on_slider_press), nullptr);
    g_signal_connect(slider, "value-changed", G_CALLBACK(on_slider_value), nullptr);
    g_signal_connect(slider, "button-release-event", G_CALLBACK(on_slider_release), nullptr);
}

void close_fmod()
{
    if (!fsystem)
        return;
    if (sound1)
        FMOD_Sound_Release(sound1);
    FMOD_System_Release(fsystem);
    sound1 = nullptr;
    channel = nullptr;
    fsystem = nullptr;
}
