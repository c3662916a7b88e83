// Finding the game's shipped files from where the program is installed.

#include "gamedir.h"

#include <cerrno>
#include <climits>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

#ifndef CORVALE_DATA_FROM_BIN
#define CORVALE_DATA_FROM_BIN "../share/games/corvale"
#endif

std::string program_dir()
{
    char path[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    if (n <= 0)
        return "";
    path[n] = 0;
    std::string exe = path;
    std::string dir = exe.substr(0, exe.rfind('/'));
    return dir.empty() ? "/" : dir;
}

std::string game_data_dir()
{
    std::string dir = program_dir();
    if (dir.empty())
        return dir;
    std::string installed = dir + "/" CORVALE_DATA_FROM_BIN;
    struct stat st;
    if (stat(installed.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
        char real[PATH_MAX];
        return realpath(installed.c_str(), real) ? std::string(real) : installed;
    }
    return dir;
}

int enter_game_data_dir(std::string *error)
{
    std::string dir = game_data_dir();
    if (dir.empty()) {
        if (error)
            *error = std::string("Cannot tell where the program is installed (/proc/self/exe): ") +
                     strerror(errno);
        return 0;
    }
    if (chdir(dir.c_str()) != 0) {
        if (error)
            *error = "Cannot open the game folder " + dir + ": " + strerror(errno);
        return 0;
    }
    return 1;
}
