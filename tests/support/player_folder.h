// Scratch folders for tests of the files the game reads and writes, and the
// bytes of files. In a player_folder the game's relative paths (bricks/,
// level_sets/) and the player's paths meet; a game_folder keeps the player's
// files apart in its player/ folder.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

// An empty scratch folder under /tmp, removed with all it then holds (made
// writable first) when the object goes away.
class scratch_dir {
public:
    scratch_dir();
    ~scratch_dir();
    const std::string &path() const { return dir; }

private:
    std::string dir;
};

class player_folder {
public:
    // Makes the folder (readable by every user) with user_data/, level_sets/
    // and `textures` small brick texture files, and moves into it.
    explicit player_folder(int textures = 3);
    ~player_folder();
    const std::string &path() const { return dir; }

private:
    std::string old_dir;
    scratch_dir scratch;
    std::string dir;
};

// A scratch game folder under /tmp with an empty level_sets/; it
// is the working folder, and its player/ is $XDG_DATA_HOME. Removed, and the
// old working folder restored, when the object goes away.
class game_folder {
public:
    game_folder();
    ~game_folder();
    const std::filesystem::path &path() const { return dir; }

private:
    std::filesystem::path old_dir;
    scratch_dir scratch;
    std::filesystem::path dir;
};

// The bytes of a file, empty when it cannot be read.
std::string file_bytes(const std::string &path);
// Replaces a file with the given bytes.
void write_bytes(const std::string &path, const std::string &bytes);
// The 32-bit integer stored at byte `at`, as the host holds it.
int32_t int_at(const std::string &bytes, size_t at);

// Makes writes fail part-way, even for root: files of this program cannot grow
// past `bytes` (the signal that would end it ignored) until the object goes away.
class file_size_limit {
public:
    explicit file_size_limit(unsigned long bytes);
    ~file_size_limit();

private:
    unsigned long old_soft, old_hard;
    void (*old_handler)(int);
};

// Runs the calling thread without the power to write into read-only folders:
// as root the effective user becomes nobody until the object goes away.
class plain_user {
public:
    plain_user();
    ~plain_user();

private:
    bool switched = false;
};
