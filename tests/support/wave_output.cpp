// The wave-file output of OpenAL Soft for the sound tests.

#include "wave_output.h"

#include <gtest/gtest.h>
#include <sndfile.h>
#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>

wave_output::wave_output()
{
    char tmpl[] = "/tmp/corvale-sound-XXXXXX";
    dir = mkdtemp(tmpl) ? tmpl : "/tmp";
    outdir = dir + "/out";
    wave = outdir + "/output.wav";
    mkdir(outdir.c_str(), 0755);
    std::ofstream(dir + "/alsoft.conf")
        << "[general]\ndrivers=wave\nchannels=stereo\nstereo-mode=speakers\nhrtf=false\n"
           "frequency=44100\nsample-type=float32\nperiod_size=512\n"
           "[wave]\nfile=" << wave << "\n";
    setenv("ALSOFT_CONF", (dir + "/alsoft.conf").c_str(), 1);
    unsetenv("ALSOFT_DRIVERS");
}

wave_output::~wave_output()
{
    std::error_code ignored;
    if (dir != "/tmp")
        std::filesystem::remove_all(dir, ignored);
}

std::string wave_output::tone(const std::string &name, int format, double seconds, double freq, int rate,
                              int channels) const
{
    std::string path = dir + "/" + name;
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = channels;
    info.format = format;
    SNDFILE *f = sf_open(path.c_str(), SFM_WRITE, &info);
    if (!f) {
        ADD_FAILURE() << path << ": " << sf_strerror(nullptr);
        return path;
    }
    std::vector<float> data((size_t)(seconds * rate) * (size_t)channels);
    for (size_t i = 0; i < data.size(); i++)
        data[i] = 0.5f * (float)sin(2 * M_PI * freq * (double)(i / (size_t)channels) / rate);
    sf_writef_float(f, data.data(), (sf_count_t)(data.size() / (size_t)channels));
    sf_close(f);
    return path;
}

std::vector<float> wave_output::stereo(int *rate) const
{
    SF_INFO info{};
    SNDFILE *f = sf_open(wave.c_str(), SFM_READ, &info);
    if (!f || info.channels != 2) {
        ADD_FAILURE() << wave << " cannot be read as stereo: " << sf_strerror(f);
        if (f)
            sf_close(f);
        return {};
    }
    std::vector<float> data((size_t)info.frames * 2);
    sf_readf_float(f, data.data(), info.frames);
    sf_close(f);
    if (rate)
        *rate = info.samplerate;
    return data;
}

std::vector<float> burst_peaks(const std::vector<float> &samples, size_t gap, float floor)
{
    std::vector<float> peaks;
    size_t quiet = gap;
    for (float v : samples) {
        if (std::fabs(v) > floor) {
            if (quiet >= gap)
                peaks.push_back(0);
            peaks.back() = std::max(peaks.back(), std::fabs(v));
            quiet = 0;
        } else {
            quiet++;
        }
    }
    return peaks;
}
