// The wave-file output of OpenAL Soft for the sound tests.

#include "wave_output.h"

#include <gtest/gtest.h>
#include <sndfile.h>
#include <sys/stat.h>

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
