// The player's data folder and the paths of the files in it, with folders
// made on demand.

#include "paths.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

// The home folder: $HOME when it is absolute, else the password database's entry.
static std::string home_dir()
{
    const char *home = getenv("HOME");
    if (home && home[0] == '/')
        return home;
    struct passwd *pw = getpwuid(getuid());
    if (pw && pw->pw_dir && pw->pw_dir[0] == '/')
        return pw->pw_dir;
    return ".";
}

const char *player_dir()
{
    static std::string dir;
    const char *xdg = getenv("XDG_DATA_HOME");
    if (xdg && xdg[0] == '/')
        dir = std::string(xdg) + "/corvale";
    else
        dir = home_dir() + "/.local/share/corvale";
    return dir.c_str();
}

// Creates every missing folder along path, like mkdir -p. Returns 0 and sets
// *error to the folder and the reason when one cannot be made.
static int make_folders(const std::string &path, std::string *error)
{
    for (size_t i = 1; i <= path.size(); i++) {
        if (i != path.size() && path[i] != '/')
            continue;
        std::string part = path.substr(0, i);
        if (mkdir(part.c_str(), 0700) == 0 || errno == EEXIST) {
            struct stat st;
            if (stat(part.c_str(), &st) == 0 && S_ISDIR(st.st_mode))
                continue;
            errno = ENOTDIR;
        }
        if (error)
            *error = "Cannot create the folder " + part + ": " + strerror(errno);
        return 0;
    }
    return 1;
}

std::string player_file(const char *relative)
{
    return std::string(player_dir()) + "/" + (relative ? relative : "");
}

std::string player_path(const char *relative, std::string *error)
{
    std::string path = player_file(relative);
    if (error)
        error->clear();
    make_folders(path.substr(0, path.rfind('/')), error);
    return path;
}
