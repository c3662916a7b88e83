// The volume preview: the setup program's own sound system, its start-up
// messages and result check, and the sound played when a slider's thumb is
// let go after a drag.

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "setup.h"

FMOD_SYSTEM *fsystem;
FMOD_SOUND *sound1;
FMOD_CHANNEL *channel;
FMOD_RESULT result;
unsigned int version;
FMOD_CAPS caps;
FMOD_SPEAKERMODE speakermode;

static const unsigned REQUIRED_VERSION = 0x41200;
static const char *const PREVIEW_SOUND = "sounds/effects/good.wav";

// The slider whose thumb is held down (null when none), and whether the
// pointer has moved the value since it was pressed.
static GtkRange *held_slider;
static bool dragged;

void ERRCHECK(FMOD_RESULT r)
{
    if (r == FMOD_OK || r == FMOD_ERR_FORMAT)
        return;
    char caption[64];
    snprintf(caption, sizeof caption, "FMOD error# %d", (int)r);
    message_box(FMOD_ErrorString(r), caption, GTK_MESSAGE_ERROR);
    exit(-1);
}

void init_fmod()
{
    result = FMOD_System_Create(&fsystem);
    ERRCHECK(result);
    result = FMOD_System_GetVersion(fsystem, &version);
    ERRCHECK(result);
    if (version < REQUIRED_VERSION) {
        char text[128];
        snprintf(text, sizeof text,
                 "You are using an old version of FMOD %08x.  This program requires %08x\n",
                 version, REQUIRED_VERSION);
        message_box(text, "Error!", GTK_MESSAGE_ERROR);
        exit(-1);
    }

    result = FMOD_System_GetDriverCaps(fsystem, 0, &caps, 0, 0, &speakermode);
    ERRCHECK(result);
    result = FMOD_System_SetSpeakerMode(fsystem, speakermode);
    ERRCHECK(result);
    if (caps & FMOD_CAPS_HARDWARE_EMULATED) {
        message_box("Your sound card's hardware is not set up for full acceleration. "
                    "This may cause audio slowdowns in Corvale.\n"
                    "To fix this issue, please set the acceleration slider in Control "
                    "Panel->Sound and Audio devices to full acceleration",
                    "***Warning***", GTK_MESSAGE_WARNING);
        result = FMOD_System_SetDSPBufferSize(fsystem, 1024, 10);
        ERRCHECK(result);
    }

    char name[256] = "";
    result = FMOD_System_GetDriverInfo(fsystem, 0, name, sizeof name, 0);
    ERRCHECK(result);
    if (strstr(name, "SigmaTel")) {
        result = FMOD_System_SetSoftwareFormat(fsystem, 48000, FMOD_SOUND_FORMAT_PCMFLOAT, 0, 0,
                                               FMOD_DSP_RESAMPLER_LINEAR);
        ERRCHECK(result);
    }

    result = FMOD_System_Init(fsystem, 32, FMOD_INIT_NORMAL, 0);
    ERRCHECK(result);

    // Without its preview sound the dialog still does everything else.
    result = FMOD_System_CreateSound(fsystem, PREVIEW_SOUND, FMOD_SOFTWARE | FMOD_2D, 0, &sound1);
    if (result != FMOD_OK) {
        fprintf(stderr, "corvale_setup: %s: %s; the volumes are not previewed\n", PREVIEW_SOUND,
                FMOD_ErrorString(result));
        sound1 = nullptr;
    }
}

void play_preview(int position)
{
    if (!sound1)
        return;
    // Started paused so that not a sample is heard before the volume is set.
    result = FMOD_System_PlaySound(fsystem, FMOD_CHANNEL_FREE, sound1, 1, &channel);
    ERRCHECK(result);
    result = FMOD_Channel_SetVolume(channel, volume_for_position(position));
    ERRCHECK(result);
    result = FMOD_Channel_SetPaused(channel, 0);
    ERRCHECK(result);
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
