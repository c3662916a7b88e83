// The scratch folders, file bytes and the plain-user guard.

#include "player_folder.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <cstring>
#include <fstream>
#include <iterator>

namespace fs = std::filesystem;

static const uid_t NOBODY = 65534;

player_folder::player_folder(int textures) : old_dir(fs::current_path()), dir(scratch.path() + "/corvale")
{
    for (const char *sub : {"", "/user_data", "/level_sets", "/bricks"})
        fs::create_directory(dir + sub);
    for (const std::string &d : {scratch.path(), dir, dir + "/user_data", dir + "/level_sets", dir + "/bricks"})
        chmod(d.c_str(), 0755);
    setenv("XDG_DATA_HOME", scratch.path().c_str(), 1);
    fs::current_path(dir);
    // Texture t is filled with the bytes t, t + 1, t + 2, ... so each differs.
    for (int t = 1; t <= textures; t++) {
        std::string rgb(6144, '\0');
        for (size_t i = 0; i < rgb.size(); i++)
            rgb[i] = (char)(t + i);
        std::ofstream("bricks/b" + std::to_string(t) + ".raw", std::ios::binary) << rgb;
    }
}

player_folder::~player_folder()
{
    fs::current_path(old_dir);
}

scratch_dir::scratch_dir()
{
    char tmpl[] = "/tmp/corvale_scratch_XXXXXX";
    dir = mkdtemp(tmpl);
}

scratch_dir::~scratch_dir()
{
    std::error_code ignored;
    fs::permissions(dir, fs::perms::owner_all, fs::perm_options::add, ignored);
    for (auto &e : fs::recursive_directory_iterator(dir, ignored))
        if (e.is_directory(ignored))
            fs::permissions(e.path(), fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::remove_all(dir, ignored);
}

// Under /tmp, which every user can pass through: tests that act as a plain
// user must reach it wherever the build folder lies (/root is closed).
game_folder::game_folder() : old_dir(fs::current_path()), dir(scratch.path())
{
    fs::create_directory(dir / "level_sets");
    fs::current_path(dir);
    setenv("XDG_DATA_HOME", (dir / "player").c_str(), 1);
}

game_folder::~game_folder()
{
    fs::current_path(old_dir);
}

std::string file_bytes(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void write_bytes(const std::string &path, const std::string &bytes)
{
    std::ofstream(path, std::ios::binary).write(bytes.data(), (std::streamsize)bytes.size());
}

int32_t int_at(const std::string &bytes, size_t at)
{
    int32_t v = 0;
    if (at + 4 > bytes.size())
        ADD_FAILURE() << "no 4 bytes at " << at << " in " << bytes.size();
    else
        memcpy(&v, &bytes[at], 4);
    return v;
}

file_size_limit::file_size_limit(unsigned long bytes)
{
    struct rlimit old_limit;
    getrlimit(RLIMIT_FSIZE, &old_limit);
    old_soft = old_limit.rlim_cur, old_hard = old_limit.rlim_max;
    old_handler = signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = {bytes, old_limit.rlim_max};
    setrlimit(RLIMIT_FSIZE, &small);
}

file_size_limit::~file_size_limit()
{
    struct rlimit old_limit = {old_soft, old_hard};
    setrlimit(RLIMIT_FSIZE, &old_limit);
    signal(SIGXFSZ, old_handler);
}

plain_user::plain_user()
{
    if (geteuid() == 0)
        switched = seteuid(NOBODY) == 0;
}

plain_user::~plain_user()
{
    if (switched && seteuid(0) != 0)
        ADD_FAILURE() << "could not return to the root user";
}
