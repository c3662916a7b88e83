// Damaged songs over and over: cut and bit-flipped copies of a shipped Ogg
// Vorbis song are opened as sounds and as playing streams, round after round,
// through the game's sound library on OpenAL Soft's null output. Prints the
// heap in use and the resident memory after the first round and at the end;
// both should stay put however many rounds run. Meant for valgrind as well:
//   build/bench/bad_songs [rounds, default 100] [song, default the first shipped]
//   valgrind --leak-check=full build/bench/bad_songs 20

#include <malloc.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "sound_lib.h"

namespace {

// The damaged copies of the song: cut short at points inside and after its
// three headers, and with one byte flipped at points through the headers and
// in two of the first audio pages.
std::vector<std::string> make_damaged(const std::string &song, const std::string &dir)
{
    std::ifstream in(song, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<std::string> made;
    if (bytes.size() < 16384)
        return made;
    auto write = [&](const std::string &name, const std::vector<char> &b) {
        std::string path = dir + "/" + name;
        std::ofstream(path, std::ios::binary).write(b.data(), (std::streamsize)b.size());
        made.push_back(path);
    };
    for (size_t cut : {40, 58, 100, 400, 1000, 3000, 4000, 6000, 9000, 16000})
        write("cut" + std::to_string(cut) + ".ogg", std::vector<char>(bytes.begin(), bytes.begin() + (long)cut));
    std::vector<size_t> flips;
    for (size_t at = 13; at < 4200; at += 181)
        flips.push_back(at);
    flips.push_back(8000);
    flips.push_back(12000);
    for (size_t at : flips) {
        std::vector<char> b = bytes;
        b[at] = (char)(b[at] ^ 0x5a);
        write("flip" + std::to_string(at) + ".ogg", b);
    }
    return made;
}

// Heap in use, small blocks and mapped ones, in kilobytes.
long heap_kb()
{
    struct mallinfo2 m = mallinfo2();
    return (long)((m.uordblks + m.hblkhd) / 1024);
}

// Resident memory, in kilobytes.
long rss_kb()
{
    std::ifstream f("/proc/self/status");
    std::string key;
    while (f >> key) {
        if (key == "VmRSS:") {
            long kb = 0;
            f >> kb;
            return kb;
        }
        f.ignore(1 << 12, '\n');
    }
    return 0;
}

// Every damaged copy opened whole and as a stream that plays a few updates.
int one_round(FMOD_SYSTEM *sys, const std::vector<std::string> &files)
{
    int opened = 0;
    for (const std::string &path : files) {
        FMOD_SOUND *s = nullptr;
        if (FMOD_System_CreateSound(sys, path.c_str(), FMOD_SOFTWARE | FMOD_2D, 0, &s) == FMOD_OK) {
            opened++;
            FMOD_Sound_Release(s);
        }
        if (FMOD_System_CreateStream(sys, path.c_str(), FMOD_DEFAULT, 0, &s) == FMOD_OK) {
            FMOD_CHANNEL *ch = nullptr;
            if (FMOD_System_PlaySound(sys, FMOD_CHANNEL_FREE, s, 0, &ch) == FMOD_OK)
                for (int u = 0; u < 4; u++)
                    FMOD_System_Update(sys);
            FMOD_Sound_Release(s);
        }
    }
    return opened;
}

}  // namespace

int main(int argc, char **argv)
{
    int rounds = argc > 1 ? atoi(argv[1]) : 100;
    std::string song = argc > 2 ? argv[2] : CORVALE_GAME_DIR "/sounds/songs/low_orbit.ogg";
    char dir[] = "/tmp/corvale-bad-songs-XXXXXX";
    if (rounds < 1 || !mkdtemp(dir)) {
        fprintf(stderr, "usage: bad_songs [rounds >= 1] [song]\n");
        return 2;
    }
    std::vector<std::string> files = make_damaged(song, dir);
    if (files.empty()) {
        fprintf(stderr, "%s: not a song of at least 16 KB\n", song.c_str());
        return 2;
    }
    setenv("ALSOFT_DRIVERS", "null", 1);
    FMOD_SYSTEM *sys = nullptr;
    if (FMOD_System_Create(&sys) != FMOD_OK || FMOD_System_Init(sys, 32, FMOD_INIT_NORMAL, 0) != FMOD_OK) {
        fprintf(stderr, "no sound system\n");
        return 1;
    }
    int opened = one_round(sys, files);
    long heap1 = heap_kb(), rss1 = rss_kb();
    for (int r = 2; r <= rounds; r++) {
        one_round(sys, files);
        if (getenv("BAD_SONGS_EACH"))
            printf("round %d: heap %ld KB, resident %ld KB\n", r, heap_kb(), rss_kb());
    }
    long heapn = heap_kb(), rssn = rss_kb();
    printf("%zu damaged copies of %s, %d of them open as sounds\n", files.size(), song.c_str(), opened);
    printf("after round 1: heap %ld KB, resident %ld KB\n", heap1, rss1);
    printf("after round %d: heap %ld KB, resident %ld KB\n", rounds, heapn, rssn);
    printf("growth: heap %+ld KB, resident %+ld KB\n", heapn - heap1, rssn - rss1);
    FMOD_System_Release(sys);
    for (const std::string &path : files)
        remove(path.c_str());
    remove(dir);
    return 0;
}
