// Writes the generated sounds: mono 16-bit WAV through libsndfile, OGG Vorbis through
// libvorbis with a fixed stream serial, and text; each made in memory and the
// file replaced whole.
#include "audio.h"

#include "files.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include <sndfile.h>
#include <vorbis/vorbisenc.h>

// Replaces path whole with the bytes made, or says why it could not.
static void finish(const std::string &path, const std::vector<unsigned char> &bytes, bool ok,
                   const std::string &why)
{
    if (ok && !replace_file(path.c_str(), bytes.data(), bytes.size()))
        throw AudioError(path + ": cannot be written (" + std::strerror(errno) + ")");
    if (!ok)
        throw AudioError(path + ": cannot be written" + (why.empty() ? "" : " (" + why + ")"));
}

// libsndfile's file operations over a growing byte buffer, so a WAV file is
// made in memory and then written whole.
struct MemoryFile {
    std::vector<unsigned char> bytes;
    sf_count_t at = 0;
};

static sf_count_t memory_length(void *user)
{
    return (sf_count_t)static_cast<MemoryFile *>(user)->bytes.size();
}

static sf_count_t memory_seek(sf_count_t offset, int whence, void *user)
{
    MemoryFile *m = static_cast<MemoryFile *>(user);
    sf_count_t base = whence == SEEK_SET ? 0 : whence == SEEK_CUR ? m->at : (sf_count_t)m->bytes.size();
    if (base + offset < 0)
        return -1;
    m->at = base + offset;
    return m->at;
}

static sf_count_t memory_read(void *dst, sf_count_t count, void *user)
{
    MemoryFile *m = static_cast<MemoryFile *>(user);
    sf_count_t left = std::max<sf_count_t>(0, (sf_count_t)m->bytes.size() - m->at);
    count = std::min(count, left);
    memcpy(dst, m->bytes.data() + m->at, (size_t)count);
    m->at += count;
    return count;
}

static sf_count_t memory_write(const void *src, sf_count_t count, void *user)
{
    MemoryFile *m = static_cast<MemoryFile *>(user);
    if ((sf_count_t)m->bytes.size() < m->at + count)
        m->bytes.resize((size_t)(m->at + count));
    memcpy(m->bytes.data() + m->at, src, (size_t)count);
    m->at += count;
    return count;
}

static sf_count_t memory_tell(void *user)
{
    return static_cast<MemoryFile *>(user)->at;
}

// Writes s as a mono 16-bit PCM WAV file.
void write_wav(const std::string &path, const Mono &s)
{
    SF_INFO info = {};
    info.samplerate = s.rate;
    info.channels = 1;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    SF_VIRTUAL_IO io = {memory_length, memory_seek, memory_read, memory_write, memory_tell};
    MemoryFile mem;
    SNDFILE *f = sf_open_virtual(&io, SFM_WRITE, &info, &mem);
    if (!f)
        finish(path, mem.bytes, false, sf_strerror(nullptr));
    std::vector<short> pcm(s.s.size());
    for (size_t i = 0; i < pcm.size(); i++)
        pcm[i] = (short)std::lrint(std::fmax(-1.0, std::fmin(1.0, s.s[i])) * 32767.0);
    bool ok = sf_write_short(f, pcm.data(), (sf_count_t)pcm.size()) == (sf_count_t)pcm.size();
    ok = sf_close(f) == 0 && ok;
    finish(path, mem.bytes, ok, "");
}

// The Vorbis encoder's state for one file, torn down in order when it goes.
struct VorbisFile {
    vorbis_info vi;
    vorbis_comment vc;
    vorbis_dsp_state vd;
    vorbis_block vb;
    ogg_stream_state os;
    std::vector<unsigned char> out;   // the Ogg pages made so far
    ~VorbisFile() {
        ogg_stream_clear(&os);
        vorbis_block_clear(&vb);
        vorbis_dsp_clear(&vd);
        vorbis_comment_clear(&vc);
        vorbis_info_clear(&vi);
    }
    // Adds one Ogg page to the file's bytes.
    void page(const ogg_page &og) {
        out.insert(out.end(), og.header, og.header + og.header_len);
        out.insert(out.end(), og.body, og.body + og.body_len);
    }
    // Takes every block the encoder has ready and writes the pages it fills.
    void drain() {
        ogg_packet op;
        ogg_page og;
        while (vorbis_analysis_blockout(&vd, &vb) == 1) {
            vorbis_analysis(&vb, nullptr);
            vorbis_bitrate_addblock(&vb);
            while (vorbis_bitrate_flushpacket(&vd, &op)) {
                ogg_stream_packetin(&os, &op);
                while (ogg_stream_pageout(&os, &og))
                    page(og);
            }
        }
    }
};

// Encodes st as OGG Vorbis (quality 4, about 128 kbit/s) with the title as a comment.
void write_ogg(const std::string &path, const Stereo &st, const std::string &title, int serial)
{
    auto v = std::make_unique<VorbisFile>();
    vorbis_info_init(&v->vi);
    vorbis_comment_init(&v->vc);
    if (vorbis_encode_init_vbr(&v->vi, 2, SONG_RATE, 0.4f) != 0)
        throw AudioError(path + ": the Vorbis encoder refused its settings");
    vorbis_comment_add_tag(&v->vc, "TITLE", title.c_str());
    vorbis_comment_add_tag(&v->vc, "ARTIST", "Halvard Software");
    vorbis_analysis_init(&v->vd, &v->vi);
    vorbis_block_init(&v->vd, &v->vb);
    ogg_stream_init(&v->os, serial);
    ogg_packet head, comm, code;
    ogg_page og;
    vorbis_analysis_headerout(&v->vd, &v->vc, &head, &comm, &code);
    ogg_stream_packetin(&v->os, &head);
    ogg_stream_packetin(&v->os, &comm);
    ogg_stream_packetin(&v->os, &code);
    while (ogg_stream_flush(&v->os, &og))
        v->page(og);

    const size_t chunk = 4096;
    for (size_t at = 0; at < st.l.size(); at += chunk) {
        size_t n = std::min(chunk, st.l.size() - at);
        float **buf = vorbis_analysis_buffer(&v->vd, (int)n);
        std::copy(st.l.begin() + at, st.l.begin() + at + n, buf[0]);
        std::copy(st.r.begin() + at, st.r.begin() + at + n, buf[1]);
        vorbis_analysis_wrote(&v->vd, (int)n);
        v->drain();
    }
    vorbis_analysis_wrote(&v->vd, 0);
    v->drain();
    while (ogg_stream_flush(&v->os, &og))
        v->page(og);
    finish(path, v->out, true, "");
}

// Writes text to path.
void write_text(const std::string &path, const std::string &text)
{
    finish(path, std::vector<unsigned char>(text.begin(), text.end()), true, "");
}
