// OpenAL Soft made to write what it plays into a wave file in a scratch
// folder, so what the sound library or the game played can be read back and
// measured. One global object per test program, made before any OpenAL call.
#pragma once

#include <string>
#include <vector>

struct wave_output {
    std::string dir;     // the scratch folder, with alsoft.conf in it
    std::string outdir;  // the output's folder inside it (without it no device opens)
    std::string wave;    // the wave file, outdir/output.wav

    wave_output();
    ~wave_output();
    // The wave file's samples, interleaved left and right, and its sample
    // rate; empty (a failure added) when it cannot be read as stereo.
    std::vector<float> stereo(int *rate = nullptr) const;
};
