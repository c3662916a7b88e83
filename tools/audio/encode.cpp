// Writes the generated sounds: mono 16-bit WAV through libsndfile, OGG Vorbis through
// libvorbis with a fixed stream serial, and text; always via a temporary file.
#include "audio.h"

#include <cstdio>
#include <filesystem>
#include <memory>

#include <sndfile.h>
#include <vorbis/vorbisenc.h>

// Moves the finished temporary file over the final one, or removes it on failure.
static void finish(const std::string &tmp, const std::string &path, bool ok, const std::string &why)
{
    std::error_code ec;
    if (ok)
        std::filesystem::rename(tmp, path, ec);
    if (!ok || ec) {
        std::filesystem::remove(tmp, ec);
        throw AudioError(path + ": cannot be written" + (why.empty() ? "" : " (" + why + ")"));
    }
}

// Writes s as a mono 16-bit PCM WAV file.
void write_wav(const std::string &path, const Mono &s)
{
    std::string tmp = path + ".tmp";
    SF_INFO info = {};
    info.samplerate = s.rate;
    info.channels = 1;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    SNDFILE *f = sf_open(tmp.c_str(), SFM_WRITE, &info);
    if (!f)
        finish(tmp, path, false, sf_strerror(nullptr));
    std::vector<short> pcm(s.s.size());
    for (size_t i = 0; i < pcm.size(); i++)
        pcm[i] = (short)std::lrint(std::fmax(-1.0, std::fmin(1.0, s.s[i])) * 32767.0);
    bool ok = sf_write_short(f, pcm.data(), (sf_count_t)pcm.size()) == (sf_count_t)pcm.size();
    ok = sf_close(f) == 0 && ok;
    finish(tmp, path, ok, "");
}

// The Vorbis encoder's state for one file, torn down in order when it goes.
struct VorbisFile {
    vorbis_info vi;
    vorbis_comment vc;
    vorbis_dsp_state vd;
    vorbis_block vb;
    ogg_stream_state os;
    FILE *out = nullptr;
    bool ok = true;
    ~VorbisFile() {
        ogg_stream_clear(&os);
        vorbis_block_clear(&vb);
        vorbis_dsp_clear(&vd);
        vorbis_comment_clear(&vc);
        vorbis_info_clear(&vi);
        if (out)
            std::fclose(out);
    }
    // Writes one Ogg page to the file.
    void page(const ogg_page &og) {
        ok = ok && std::fwrite(og.header, 1, og.header_len, out) == (size_t)og.header_len;
        ok = ok && std::fwrite(og.body, 1, og.body_len, out) == (size_t)og.body_len;
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
    std::string tmp = path + ".tmp";
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
    v->out = std::fopen(tmp.c_str(), "wb");
    if (!v->out)
        finish(tmp, path, false, "cannot create the temporary file");

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
    bool ok = v->ok && std::fclose(v->out) == 0;
    v->out = nullptr;
    finish(tmp, path, ok, "");
}

// Writes text to path.
void write_text(const std::string &path, const std::string &text)
{
    std::string tmp = path + ".tmp";
    FILE *f = std::fopen(tmp.c_str(), "wb");
    if (!f)
        finish(tmp, path, false, "cannot create the temporary file");
    bool ok = std::fwrite(text.data(), 1, text.size(), f) == text.size();
    ok = std::fclose(f) == 0 && ok;
    finish(tmp, path, ok, "");
}
