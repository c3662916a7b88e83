// A scratch player's data folder for tests of the files the game writes:
// $XDG_DATA_HOME points at it, and it is also the working folder, so the
// game's relative paths (bricks/, level_sets/) and the player's paths meet.
#pragma once

#include <string>
#include <vector>

class player_folder {
public:
    // Makes the folder (readable by every user) with user_data/, level_sets/
    // and `textures` small brick texture files, and moves into it.
    explicit player_folder(int textures = 3);
    ~player_folder();
    const std::string &path() const { return dir; }

private:
    std::string old_dir, scratch, dir;
};

// The bytes of a file, empty when it cannot be read.
std::vector<char> file_bytes(const std::string &path);

// Runs the calling thread without the power to write into read-only folders:
// as root the effective user becomes nobody until the object goes away.
class plain_user {
public:
    plain_user();
    ~plain_user();

private:
    bool switched = false;
};
