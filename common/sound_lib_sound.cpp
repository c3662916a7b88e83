// Sounds: opening files through libsndfile, decoding them whole into an OpenAL
// buffer or keeping a decoder for a stream, and the per-sound queries and release.

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstring>
#include <fcntl.h>
#include <new>
#include <sys/stat.h>
#include <unistd.h>
#include <ogg/ogg.h>
#include <vorbis/vorbisfile.h>

#include "sound_lib_internal.h"

using namespace soundlib;

static const sf_count_t LOAD_CHUNK_FRAMES = 4096;

// The mode bits this library knows.
static const FMOD_MODE KNOWN_MODES = FMOD_2D | FMOD_3D | FMOD_HARDWARE | FMOD_SOFTWARE |
                                     FMOD_CREATESTREAM;

FMOD_RESULT soundlib::open_file(const char *path, int &fd)
{
    // Non-blocking, so that a named pipe cannot hang the caller; regular files only.
    fd = open(path, O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        switch (errno) {
        case ENOENT:
        case ENOTDIR: return FMOD_ERR_FILE_NOTFOUND;
        case ENAMETOOLONG: return FMOD_ERR_PATH_TOOLONG;
        case EACCES:
        case EPERM: return FMOD_ERR_FILE_ACCESS;
        case EISDIR: return FMOD_ERR_FILE_ISDIRECTORY;
        default: return FMOD_ERR_FILE_BAD;
        }
    }
    struct stat st;
    FMOD_RESULT r = FMOD_OK;
    if (fstat(fd, &st) != 0)
        r = FMOD_ERR_FILE_BAD;
    else if (S_ISDIR(st.st_mode))
        r = FMOD_ERR_FILE_ISDIRECTORY;
    else if (!S_ISREG(st.st_mode))
        r = FMOD_ERR_FILE_BAD;
    else if (fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0)
        r = FMOD_ERR_FILE_BAD;
    if (r != FMOD_OK) {
        close(fd);
        fd = -1;
    }
    return r;
}

// A read position in a file that stays open after the check below.
struct fd_reader {
    int fd;
    off_t at;
};

// Callbacks that let the Vorbis header check read the file through pread,
// leaving the descriptor's own position and its closing to us.
static size_t reader_read(void *out, size_t size, size_t count, void *source)
{
    fd_reader *r = (fd_reader *)source;
    ssize_t n = pread(r->fd, out, size * count, r->at);
    if (n <= 0 || size == 0)
        return 0;
    r->at += n;
    return (size_t)n / size;
}

static int reader_seek(void *source, ogg_int64_t offset, int whence)
{
    fd_reader *r = (fd_reader *)source;
    struct stat st;
    off_t base = whence == SEEK_SET ? 0 : whence == SEEK_CUR ? r->at
                 : fstat(r->fd, &st) == 0 ? st.st_size : -1;
    if (base < 0 || base + offset < 0)
        return -1;
    r->at = base + (off_t)offset;
    return 0;
}

static long reader_tell(void *source)
{
    return (long)((fd_reader *)source)->at;
}

// How far into an Ogg file its first whole page is looked for.
static const off_t FIRST_PAGE_SEARCH = 65536;

// Whether the first whole page of an Ogg file, as libogg finds it (skipping
// bytes that do not make a page with a good checksum), begins a stream of a
// codec other than Vorbis that libsndfile reads: FLAC, Opus, Speex, PCM or
// an Annodex skeleton.
static bool first_page_not_vorbis(int fd)
{
    static const char *const others[] = {"Annodex", "AnxData", "\177FLAC", "fLaC",
                                          "PCM     ", "Speex", "OpusHead"};
    ogg_sync_state sync;
    ogg_sync_init(&sync);
    ogg_page page;
    bool other = false;
    for (off_t at = 0; at < FIRST_PAGE_SEARCH;) {
        int got = ogg_sync_pageout(&sync, &page);
        if (got == 1) {
            for (const char *mark : others) {
                size_t n = strlen(mark);
                if (page.body_len >= (long)n && memcmp(page.body, mark, n) == 0)
                    other = true;
            }
            break;
        }
        if (got < 0)
            continue;  // bytes skipped; look on from there
        char *buffer = ogg_sync_buffer(&sync, 4096);
        ssize_t n = buffer ? pread(fd, buffer, 4096, at) : -1;
        if (n <= 0)
            break;
        ogg_sync_wrote(&sync, (long)n);
        at += n;
    }
    ogg_sync_clear(&sync);
    return other;
}

// libsndfile keeps part of the Vorbis decoder's state when it fails to open
// an Ogg Vorbis file with damaged headers, and never frees it; it takes a file
// for Vorbis when it begins with "OggS" and the first whole page libogg finds
// in it starts a Vorbis stream, wherever that page lies. So every Ogg file
// whose first page is not plainly another codec is first checked here, by a
// reader that cleans up after itself, and only one whose Vorbis headers read
// whole is handed to libsndfile. Any other file passes (false only for an Ogg
// file that is damaged or not Vorbis where libsndfile would take it for Vorbis).
static bool vorbis_headers_whole(int fd)
{
    unsigned char head[4];
    if (pread(fd, head, sizeof head, 0) != (ssize_t)sizeof head || memcmp(head, "OggS", 4) != 0 ||
        first_page_not_vorbis(fd))
        return true;
    fd_reader r{fd, 0};
    ov_callbacks io{reader_read, reader_seek, nullptr, reader_tell};
    OggVorbis_File vf;
    if (ov_test_callbacks(&r, &vf, nullptr, 0, io) != 0)
        return false;  // a failed test has freed what it took
    bool whole = ov_test_open(&vf) == 0;
    ov_clear(&vf);
    return whole;
}

FMOD_RESULT soundlib::open_decoder(const char *path, bool mono, decoder &d)
{
    FMOD_RESULT r = open_file(path, d.fd);
    if (r != FMOD_OK)
        return r;
    if (!vorbis_headers_whole(d.fd)) {
        close_decoder(d);
        return FMOD_ERR_FORMAT;
    }
    d.info = SF_INFO{};
    d.file = sf_open_fd(d.fd, SFM_READ, &d.info, SF_FALSE);
    if (!d.file) {
        r = sf_error(nullptr) == SF_ERR_SYSTEM ? FMOD_ERR_FILE_BAD : FMOD_ERR_FORMAT;
    } else if (d.info.channels < 1 || d.info.channels > MAX_FILE_CHANNELS ||
               d.info.samplerate < MIN_SAMPLE_RATE || d.info.samplerate > MAX_SAMPLE_RATE ||
               d.info.frames < 0) {
        r = FMOD_ERR_FORMAT;
    }
    if (r != FMOD_OK) {
        close_decoder(d);
        return r;
    }
    // Float files decoded to 16 bits are clipped, never wrapped round.
    sf_command(d.file, SFC_SET_CLIPPING, nullptr, SF_TRUE);
    d.out_channels = (!mono && d.info.channels == 2) ? 2 : 1;
    return FMOD_OK;
}

sf_count_t soundlib::decode(decoder &d, short *out, sf_count_t frames)
{
    if (!d.file)
        return 0;
    int in = d.info.channels;
    if (in == d.out_channels) {
        sf_count_t n = sf_readf_short(d.file, out, frames);
        return n > 0 ? n : 0;
    }
    d.scratch.resize((size_t)(frames * in));
    sf_count_t n = sf_readf_short(d.file, d.scratch.data(), frames);
    if (n <= 0)
        return 0;
    // Mixed down to mono: the mean of all the file's channels.
    for (sf_count_t f = 0; f < n; f++) {
        long sum = 0;
        for (int c = 0; c < in; c++)
            sum += d.scratch[(size_t)(f * in + c)];
        out[f] = (short)(sum / in);
    }
    return n;
}

void soundlib::close_decoder(decoder &d)
{
    if (d.file)
        sf_close(d.file);
    if (d.fd >= 0)
        close(d.fd);
    d.file = nullptr;
    d.fd = -1;
}

FMOD_SOUND_TYPE soundlib::sound_type_of(int sf_format)
{
    switch (sf_format & SF_FORMAT_TYPEMASK) {
    case SF_FORMAT_WAV:
    case SF_FORMAT_WAVEX:
    case SF_FORMAT_W64:
    case SF_FORMAT_RF64: return FMOD_SOUND_TYPE_WAV;
    case SF_FORMAT_AIFF: return FMOD_SOUND_TYPE_AIFF;
    case SF_FORMAT_FLAC: return FMOD_SOUND_TYPE_FLAC;
    case SF_FORMAT_OGG:
        return (sf_format & SF_FORMAT_SUBMASK) == SF_FORMAT_OPUS ? FMOD_SOUND_TYPE_OPUS
                                                                 : FMOD_SOUND_TYPE_OGGVORBIS;
    case SF_FORMAT_MPEG: return FMOD_SOUND_TYPE_MPEG;
    default: return FMOD_SOUND_TYPE_UNKNOWN;
    }
}

ALenum soundlib::al_format(int channels)
{
    return channels == 2 ? AL_FORMAT_STEREO16 : AL_FORMAT_MONO16;
}

void soundlib::free_buffers(FMOD_SOUND *sound)
{
    if (sound->buffer)
        alDeleteBuffers(1, &sound->buffer);
    sound->buffer = 0;
    if (sound->chunks[0])
        alDeleteBuffers(STREAM_BUFFERS, sound->chunks);
    for (int i = 0; i < STREAM_BUFFERS; i++)
        sound->chunks[i] = 0;
    sound->queued.clear();
}

FMOD_RESULT soundlib::frames_to_unit(const FMOD_SOUND *sound, sf_count_t frames,
                                     FMOD_TIMEUNIT unit, unsigned int *out)
{
    if (!out)
        return FMOD_ERR_INVALID_PARAM;
    unsigned long long v;
    if (unit == FMOD_TIMEUNIT_MS)
        v = sound && sound->rate > 0 ? (unsigned long long)frames * 1000 / (unsigned)sound->rate : 0;
    else if (unit == FMOD_TIMEUNIT_PCM)
        v = (unsigned long long)frames;
    else if (unit == FMOD_TIMEUNIT_PCMBYTES)
        v = (unsigned long long)frames * (sound ? (unsigned)sound->channels : 0) * sizeof(short);
    else
        return FMOD_ERR_INVALID_TIMEUNIT;
    *out = (unsigned)std::min<unsigned long long>(v, UINT_MAX);
    return FMOD_OK;
}

// Decodes the whole file into memory and, with a device, into one OpenAL buffer.
static FMOD_RESULT load_whole(FMOD_SOUND *s, const char *path)
{
    decoder d;
    FMOD_RESULT r = open_decoder(path, s->is3d, d);
    if (r != FMOD_OK)
        return r;
    std::vector<short> pcm;
    // The header's frame count is only a hint: a damaged file may claim anything.
    size_t hint = (size_t)std::min<sf_count_t>(d.info.frames, (sf_count_t)MAX_LOADED_SAMPLES);
    pcm.reserve(std::min(hint * (size_t)d.out_channels, MAX_LOADED_SAMPLES));
    std::vector<short> chunk((size_t)(LOAD_CHUNK_FRAMES * d.out_channels));
    sf_count_t n;
    while ((n = decode(d, chunk.data(), LOAD_CHUNK_FRAMES)) > 0) {
        size_t samples = (size_t)n * (size_t)d.out_channels;
        if (pcm.size() + samples > MAX_LOADED_SAMPLES) {
            close_decoder(d);
            return FMOD_ERR_FILE_TOOLARGE;
        }
        pcm.insert(pcm.end(), chunk.begin(), chunk.begin() + (long)samples);
    }
    s->type = sound_type_of(d.info.format);
    s->rate = d.info.samplerate;
    s->channels = d.out_channels;
    s->frames = (sf_count_t)(pcm.size() / (size_t)d.out_channels);
    close_decoder(d);

    if (!bind(s->system))
        return FMOD_OK;  // silent output keeps only the length
    alGetError();
    alGenBuffers(1, &s->buffer);
    short none = 0;
    alBufferData(s->buffer, al_format(s->channels), pcm.empty() ? &none : pcm.data(),
                 (ALsizei)(pcm.size() * sizeof(short)), s->rate);
    if (alGetError() != AL_NO_ERROR) {
        free_buffers(s);
        return FMOD_ERR_MEMORY;
    }
    return FMOD_OK;
}

// Opens the file's decoder for playing in chunks; the length comes from the header,
// or from one pass through the file when the header does not tell it.
static FMOD_RESULT open_stream(FMOD_SOUND *s, const char *path)
{
    s->path = path;
    FMOD_RESULT r = open_decoder(path, s->is3d, s->dec);
    if (r != FMOD_OK)
        return r;
    s->type = sound_type_of(s->dec.info.format);
    s->rate = s->dec.info.samplerate;
    s->channels = s->dec.out_channels;
    s->frames = s->dec.info.frames;
    size_t chunk = (size_t)std::max(1, s->rate / STREAM_CHUNKS_PER_SECOND);
    s->chunk_data.resize(chunk * (size_t)s->channels);
    if (s->frames == SF_COUNT_MAX) {
        sf_count_t n, total = 0;
        while ((n = decode(s->dec, s->chunk_data.data(), (sf_count_t)chunk)) > 0)
            total += n;
        s->frames = total;
        r = stream_rewind(s);
    }
    return r;
}

// The shared body of CreateSound and CreateStream.
static FMOD_RESULT create(FMOD_SYSTEM *system, const char *name, FMOD_MODE mode,
                          FMOD_CREATESOUNDEXINFO *exinfo, FMOD_SOUND **sound)
{
    if (!live_system(system))
        return FMOD_ERR_INVALID_HANDLE;
    if (!sound)
        return FMOD_ERR_INVALID_PARAM;
    *sound = nullptr;
    if (!name || exinfo || (mode & ~KNOWN_MODES) || ((mode & FMOD_2D) && (mode & FMOD_3D)))
        return FMOD_ERR_INVALID_PARAM;
    if (!system->initialized)
        return FMOD_ERR_UNINITIALIZED;
    FMOD_SOUND *s = new (std::nothrow) FMOD_SOUND;
    if (!s)
        return FMOD_ERR_MEMORY;
    s->system = system;
    s->mode = mode;
    s->is3d = (mode & FMOD_3D) != 0;
    s->stream = (mode & FMOD_CREATESTREAM) != 0;
    FMOD_RESULT r;
    try {
        if (is_playlist_path(name)) {
            s->playlist = true;
            s->stream = false;
            s->type = FMOD_SOUND_TYPE_PLAYLIST;
            r = load_playlist(name, s);
        } else if (s->stream) {
            r = open_stream(s, name);
        } else {
            r = load_whole(s, name);
        }
    } catch (const std::bad_alloc &) {
        r = FMOD_ERR_MEMORY;
    }
    if (r != FMOD_OK) {
        if (bind(system))
            free_buffers(s);
        close_decoder(s->dec);
        delete s;
        return r;
    }
    add_sound(s);
    *sound = s;
    return FMOD_OK;
}

FMOD_RESULT FMOD_System_CreateSound(FMOD_SYSTEM *system, const char *name, FMOD_MODE mode,
                                    FMOD_CREATESOUNDEXINFO *exinfo, FMOD_SOUND **sound)
{
    return create(system, name, mode, exinfo, sound);
}

FMOD_RESULT FMOD_System_CreateStream(FMOD_SYSTEM *system, const char *name, FMOD_MODE mode,
                                     FMOD_CREATESOUNDEXINFO *exinfo, FMOD_SOUND **sound)
{
    return create(system, name, mode | FMOD_CREATESTREAM, exinfo, sound);
}

FMOD_RESULT FMOD_Sound_Set3DMinMaxDistance(FMOD_SOUND *sound, float min, float max)
{
    if (!live_sound(sound))
        return FMOD_ERR_INVALID_HANDLE;
    if (std::isnan(min) || std::isnan(max) || std::isinf(min))
        return FMOD_ERR_INVALID_FLOAT;
    if (min < 0 || max < min)
        return FMOD_ERR_INVALID_PARAM;
    sound->mindist = min;
    sound->maxdist = std::min(max, 3.4e38f);
    return FMOD_OK;
}

FMOD_RESULT FMOD_Sound_GetLength(FMOD_SOUND *sound, unsigned int *length, FMOD_TIMEUNIT unit)
{
    if (!live_sound(sound))
        return FMOD_ERR_INVALID_HANDLE;
    return frames_to_unit(sound, sound->frames, unit, length);
}

FMOD_RESULT FMOD_Sound_GetFormat(FMOD_SOUND *sound, FMOD_SOUND_TYPE *type,
                                 FMOD_SOUND_FORMAT *format, int *channels, int *bits)
{
    if (!live_sound(sound))
        return FMOD_ERR_INVALID_HANDLE;
    if (type)
        *type = sound->type;
    if (format)
        *format = sound->playlist ? FMOD_SOUND_FORMAT_NONE : FMOD_SOUND_FORMAT_PCM16;
    if (channels)
        *channels = sound->channels;
    if (bits)
        *bits = sound->playlist ? 0 : 16;
    return FMOD_OK;
}

FMOD_RESULT FMOD_Sound_Release(FMOD_SOUND *sound)
{
    if (!live_sound(sound))
        return FMOD_ERR_INVALID_HANDLE;
    FMOD_SYSTEM *system = sound->system;
    for (int i = 0; i < FMOD_MAX_CHANNELS; i++)
        if (system->channels[i].sound == sound)
            channel_stop(&system->channels[i]);
    if (bind(system))
        free_buffers(sound);
    close_decoder(sound->dec);
    remove_sound(sound);
    delete sound;
    return FMOD_OK;
}
