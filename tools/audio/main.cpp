// Entry point of the sound generator: corvale_audio <songs folder> <game folder>.
// Makes sounds/effects/*.wav, sounds/songs/*.ogg and sounds/songs/corvale.m3u.
#include "audio.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <thread>

// One song of the playlist and what became of it.
struct SongJob {
    std::string score;      // path of the score
    Song song;
    double seconds = 0;     // decoded length
    std::string error;      // set when rendering or writing failed
};

// Reads the playlist order from <songs>/playlist: one score name a line.
static std::vector<std::string> read_order(const std::string &dir)
{
    std::string path = dir + "/playlist";
    std::ifstream in(path);
    if (!in)
        throw AudioError(path + ": cannot be read");
    std::vector<std::string> names;
    std::string line;
    int n = 0;
    while (std::getline(in, line)) {
        n++;
        size_t hash = line.find('#');
        if (hash != std::string::npos)
            line.erase(hash);
        line.erase(0, line.find_first_not_of(" \t\r"));
        line.erase(line.find_last_not_of(" \t\r") + 1);
        if (line.empty())
            continue;
        for (char c : line)
            if (!std::isalnum((unsigned char)c) && c != '_' && c != '-')
                throw AudioError(path + ":" + std::to_string(n) +
                                 ": song names use letters, digits, - and _");
        if (std::find(names.begin(), names.end(), line) != names.end())
            throw AudioError(path + ":" + std::to_string(n) + ": " + line + " is listed twice");
        names.push_back(line);
    }
    if (names.empty())
        throw AudioError(path + ": names no songs");
    return names;
}

// Renders and encodes one song into dir, with a stream serial of its own.
static void make_song(SongJob &job, const std::string &dir, int serial)
{
    try {
        Stereo st = render_song(job.song);
        job.seconds = (double)st.l.size() / SONG_RATE;
        write_ogg(dir + "/" + job.song.name + ".ogg", st, job.song.title, serial);
    } catch (const std::exception &e) {
        job.error = e.what();
    }
}

// Renders every song, two at a time where the machine has the cores for it.
static void make_songs(std::vector<SongJob> &jobs, const std::string &dir)
{
    unsigned workers = std::max(1u, std::min(2u, std::thread::hardware_concurrency()));
    size_t next = 0;
    std::mutex m;
    auto work = [&]() {
        for (;;) {
            size_t k;
            {
                std::lock_guard<std::mutex> lock(m);
                if (next == jobs.size())
                    return;
                k = next++;
            }
            make_song(jobs[k], dir, 0x43565200 + (int)k);
        }
    };
    std::vector<std::thread> pool;
    for (unsigned w = 1; w < workers; w++)
        pool.emplace_back(work);
    work();
    for (std::thread &t : pool)
        t.join();
    for (const SongJob &j : jobs)
        if (!j.error.empty())
            throw AudioError(j.error);
}

// Removes songs left in dir by earlier builds that the playlist no longer names.
static void remove_stale(const std::vector<SongJob> &jobs, const std::string &dir)
{
    for (const auto &f : std::filesystem::directory_iterator(dir)) {
        if (f.path().extension() != ".ogg")
            continue;
        bool listed = false;
        for (const SongJob &j : jobs)
            listed = listed || f.path().stem() == j.song.name;
        if (!listed)
            std::filesystem::remove(f.path());
    }
}

// The extended M3U playlist: each song's whole seconds, title and file name.
static std::string playlist_text(const std::vector<SongJob> &jobs)
{
    std::string text = "#EXTM3U\n";
    for (const SongJob &j : jobs) {
        text += "#EXTINF:" + std::to_string(std::lround(j.seconds)) + "," + j.song.title + "\n";
        text += j.song.name + ".ogg\n";
    }
    return text;
}

int main(int argc, char **argv)
{
    if (argc != 3 && argc != 4) {
        std::fprintf(stderr, "usage: corvale_audio <songs folder> <game folder> [<list file>]\n");
        return 2;
    }
    auto start = std::chrono::steady_clock::now();
    try {
        std::string songs = argv[1], game = argv[2];
        std::vector<SongJob> jobs;
        for (const std::string &name : read_order(songs)) {
            SongJob j;
            j.score = songs + "/" + name + ".song";
            j.song = parse_score(j.score);
            jobs.push_back(j);
        }
        std::string fx = game + "/sounds/effects", music = game + "/sounds/songs";
        std::filesystem::create_directories(fx);
        std::filesystem::create_directories(music);
        make_effects(fx);
        make_songs(jobs, music);
        remove_stale(jobs, music);
        write_text(music + "/corvale.m3u", playlist_text(jobs));
        // The effect files it made, for the build, which names none of them.
        if (argc == 4) {
            std::string list;
            for (const char *name : SOUND_EFFECT_NAMES)
                list += std::string("sounds/effects/") + name + ".wav\n";
            write_text(argv[3], list);
        }
        std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        for (const SongJob &j : jobs)
            std::printf("corvale_audio: %s.ogg \"%s\" %.1f s\n", j.song.name.c_str(),
                        j.song.title.c_str(), j.seconds);
        std::printf("corvale_audio: %d effects and %zu songs in %.1f s\n", EFFECT_COUNT,
                    jobs.size(), took.count());
    } catch (const std::exception &e) {
        std::fprintf(stderr, "corvale_audio: %s\n", e.what());
        return 1;
    }
    return 0;
}
