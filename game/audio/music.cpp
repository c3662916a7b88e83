// The music playlist: opening it, moving from song to song in order or at
// random, the player's song and volume commands, and the status-bar values.

#include <cstdio>
#include <cstring>

#include "audio.h"
#include "shell/shell.h"

FMOD_SOUND *playlist;
int soundtype;
int isplaylist;
int playnum;
int songcount;
char song_file[1024];
char *song_title;
FMOD_SOUND *sound;
FMOD_CHANNEL *channel;
int isplaying;
int random_play;
int first_song = 1;
unsigned int lenms;
unsigned int ms;
int paused;

static const int MUSIC_CHANNEL = 0;      // the fixed channel index of the songs
static const int TAGS_PER_ENTRY = 3;     // "FILE", "TITLE", "LENGTH"
static const float VOLUME_STEP = 0.05f;  // one key press or wheel notch
static const int TITLE_SHOWN = 55;       // characters of the title the status bar shows

// The number of playlist entries; 0 when the playlist has fewer than three tags.
static int entry_count()
{
    return playnum / TAGS_PER_ENTRY;
}

// True for the results of a song file that is missing, unreadable or refused:
// such a song is skipped instead of ending the game.
static bool song_unplayable(FMOD_RESULT r)
{
    switch (r) {
    case FMOD_ERR_FILE_NOTFOUND:
    case FMOD_ERR_FILE_BAD:
    case FMOD_ERR_FILE_EOF:
    case FMOD_ERR_FORMAT:
    case FMOD_ERR_FILE_ACCESS:
    case FMOD_ERR_FILE_ISDIRECTORY:
    case FMOD_ERR_FILE_TOOLARGE:
    case FMOD_ERR_PATH_TOOLONG:
    case FMOD_ERR_DECODE:
        return true;
    default:
        return false;
    }
}

// What reading an entry's "FILE" tag gave.
enum song_read { SONG_READ, SONG_NO_TAG, SONG_TOO_LONG };

// Reads entry songcount's "FILE" tag into song_file. A path that does not fit
// song_file is refused and never copied.
static song_read read_song_file()
{
    FMOD_TAG tag;
    if (FMOD_Sound_GetTag(playlist, "FILE", songcount, &tag) != FMOD_OK || !tag.data)
        return SONG_NO_TAG;
    const char *text = (const char *)tag.data;
    size_t len = strnlen(text, sizeof song_file);
    if (len >= sizeof song_file)
        return SONG_TOO_LONG;
    memcpy(song_file, text, len + 1);
    return SONG_READ;
}

// Points song_title at entry songcount's "TITLE" text, or at nothing.
static void read_song_title()
{
    FMOD_TAG tag;
    if (FMOD_Sound_GetTag(playlist, "TITLE", songcount, &tag) == FMOD_OK)
        song_title = (char *)tag.data;
    else
        song_title = nullptr;
}

// True when the opened sound is itself a playlist: an entry never leads into
// another playlist (or back into this one), it is skipped like a bad song.
static bool nested_playlist(FMOD_SOUND *s)
{
    FMOD_SOUND_TYPE type = FMOD_SOUND_TYPE_UNKNOWN;
    result = FMOD_Sound_GetFormat(s, &type, 0, 0, 0);
    ERRCHECK(result);
    return type == FMOD_SOUND_TYPE_PLAYLIST;
}

// Opens song_file as a stream and starts it on the music channel at volume.
// 0 when the song cannot be played (its file is missing, refused or a
// playlist): the music channel is then stopped and nothing is started. Other
// failures are fatal.
static int start_song()
{
    result = FMOD_System_CreateStream(system_fmod, song_file, FMOD_DEFAULT, 0, &sound);
    if (result == FMOD_OK && nested_playlist(sound)) {
        result = FMOD_Sound_Release(sound);
        ERRCHECK(result);
        result = FMOD_ERR_FORMAT;
    }
    if (song_unplayable(result)) {
        sound = nullptr;
        if (channel)
            FMOD_Channel_Stop(channel);
        return 0;
    }
    ERRCHECK(result);
    result = FMOD_System_PlaySound(system_fmod, MUSIC_CHANNEL, sound, 0, &channel);
    ERRCHECK(result);
    result = FMOD_Channel_SetVolume(channel, volume);
    ERRCHECK(result);
    read_song_title();
    return 1;
}

// Opens the playlist and starts the first entry that can be played. A playlist
// that cannot be opened, is no playlist or has no playable entry leaves the
// music off for the run: the player's custom playlist may have moved, and
// the game plays just as well in silence.
void start_music()
{
    songcount = 0;
    first_song = 1;
    song_title = nullptr;
    result = FMOD_System_CreateSound(system_fmod, plist, FMOD_DEFAULT, 0, &playlist);
    if (result != FMOD_OK)
        playlist = nullptr;
    FMOD_SOUND_TYPE type = FMOD_SOUND_TYPE_UNKNOWN;
    if (playlist) {
        result = FMOD_Sound_GetFormat(playlist, &type, 0, 0, 0);
        ERRCHECK(result);
    }
    soundtype = (int)type;
    result = FMOD_System_Set3DSettings(system_fmod, 1.0f, 15.0f, 1.0f);
    ERRCHECK(result);
    isplaylist = soundtype == FMOD_SOUND_TYPE_PLAYLIST;
    if (!isplaylist)
        return;

    result = FMOD_Sound_GetNumTags(playlist, &playnum, 0);
    ERRCHECK(result);
    for (songcount = 0; songcount < entry_count(); songcount++)
        if (read_song_file() == SONG_READ && start_song())
            return;
    songcount = 0;
}

// Once the song has ended or was stopped, moves to the next entry (or a random
// one) and starts it. An entry that cannot be read sends the list back to its
// start; one that cannot be played (its path too long, its file missing or
// refused) is skipped. Either way the next frame tries again.
void change_track()
{
    FMOD_BOOL playing = 0;
    result = FMOD_Channel_IsPlaying(channel, &playing);
    ERRCHECK(result);
    isplaying = playing;
    if (isplaying)
        return;

    if (sound) {
        result = FMOD_Sound_Release(sound);
        ERRCHECK(result);
        sound = nullptr;
    }
    if (random_play) {
        songcount = entry_count() > 0 ? sound_rand() % entry_count() : 0;
    }
    if (!first_song) {
        if (!random_play && ++songcount > entry_count() - 1)
            songcount = 0;
    } else if (!random_play) {
        songcount++;
        first_song = 0;
    }

    switch (read_song_file()) {
    case SONG_NO_TAG:
        songcount = 0;
        return;
    case SONG_TOO_LONG:
        return;
    case SONG_READ:
        start_song();
        return;
    }
}

void pause_song()
{
    if (!channel)
        return;
    FMOD_BOOL p = 0;
    result = FMOD_Channel_GetPaused(channel, &p);
    ERRCHECK(result);
    result = FMOD_Channel_SetPaused(channel, !p);
    ERRCHECK(result);
}

// Stops the music channel, if there is music; change_track does the rest.
static int stop_for_change()
{
    first_song = 0;
    if (!channel || !isplaylist)
        return 0;
    result = FMOD_Channel_Stop(channel);
    ERRCHECK(result);
    return 1;
}

void next_song()
{
    stop_for_change();
}

// change_track steps forward by one, so stepping back by two here plays the
// previous entry; from the first two entries the first one plays.
void previous_song()
{
    if (stop_for_change() && !random_play)
        songcount = songcount > 1 ? songcount - 2 : entry_count() - 1;
}

// Leaving random play lets the current song finish and goes on from its entry.
void toggle_random()
{
    first_song = 0;
    if (!channel || !isplaylist)
        return;
    random_play = 1 - random_play;
    if (random_play) {
        result = FMOD_Channel_Stop(channel);
        ERRCHECK(result);
    }
}

// One volume step up (dir > 0) or down, kept within 0.0..1.0.
static float stepped(float v, int dir)
{
    v += dir > 0 ? VOLUME_STEP : -VOLUME_STEP;
    if (v > 1.0f)
        v = 1.0f;
    if (v < 0.0f)
        v = 0.0f;
    return v;
}

void music_volume_step(int dir)
{
    volume = stepped(volume, dir);
    if (channel) {
        result = FMOD_Channel_SetVolume(channel, volume);
        ERRCHECK(result);
    }
}

// Reaches the newest effect only; every effect started later takes evolume.
void effects_volume_step(int dir)
{
    evolume = stepped(evolume, dir);
    if (seffects) {
        result = FMOD_Channel_SetVolume(seffects, evolume);
        ERRCHECK(result);
    }
}

// A volume as the bar shows it: percent, truncated toward zero (0.7 shows 69).
static int percent(float v)
{
    return (int)((double)v * 100.0);
}

// Runs the once-a-frame library update, refreshes lenms, paused and ms, and
// formats the status bar's line into out.
void music_status(char *out, size_t n)
{
    result = FMOD_System_Update(system_fmod);
    ERRCHECK(result);
    if (channel) {
        if (sound) {
            result = FMOD_Sound_GetLength(sound, &lenms, FMOD_TIMEUNIT_MS);
            ERRCHECK(result);
        }
        FMOD_BOOL p = 0;
        result = FMOD_Channel_GetPaused(channel, &p);
        ERRCHECK(result);
        paused = p;
        result = FMOD_Channel_GetPosition(channel, &ms, FMOD_TIMEUNIT_MS);
        ERRCHECK(result);
    }
    snprintf(out, n, "-%03d-   -%03d-   -%s-   %02u:%02u/%02u:%02u   %d. %.*s",
             percent(evolume), percent(volume), random_play ? "Random" : "Normal",
             ms / 60000, ms / 1000 % 60, lenms / 60000, lenms / 1000 % 60, songcount + 1,
             TITLE_SHOWN, song_title ? song_title : "");
}
