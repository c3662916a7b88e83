// OpenAL Soft made to write what it plays into a wave file in a scratch
// folder, so what the sound library or the game played can be read back and
// measured; test sounds are written beside it. One global object per test program, made before any OpenAL call.
#pragma once

#include <string>
#include <vector>

struct wave_output {
    std::string dir;     // the scratch folder, with alsoft.conf in it
    std::string outdir;  // the output's folder inside it (without it no device opens)
    std::string wave;    // the wave file, outdir/output.wav

    wave_output();
    ~wave_output();
    // Writes a sine tone of freq Hz (0: silence) at amplitude 0.5 into the
    // scratch folder in a libsndfile format; channels beyond the first are
    // copies. Returns its path.
    std::string tone(const std::string &name, int format, double seconds, double freq = 1000, int rate = 44100,
                     int channels = 1) const;
    // The wave file's samples, interleaved left and right, and its sample
    // rate; empty (a failure added) when it cannot be read as stereo.
    std::vector<float> stereo(int *rate = nullptr) const;
};

// The loudest sample of each stretch of samples louder than `floor`, the
// stretches apart by at least `gap` samples that are not.
std::vector<float> burst_peaks(const std::vector<float> &samples, size_t gap, float floor);
