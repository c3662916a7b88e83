// Folder listing for the level-set browser: the names of the regular files in
// one folder, through the platform's directory calls.

#include "shell.h"

#include <dirent.h>
#include <sys/stat.h>

int list_regular_files(const std::string &folder, std::vector<std::string> *names)
{
    DIR *dir = opendir(folder.c_str());
    if (!dir)
        return 0;
    while (struct dirent *e = readdir(dir)) {
        std::string name = e->d_name;
        struct stat st;
        // Links are followed, as a player's link to a set file should work.
        if (stat((folder + "/" + name).c_str(), &st) == 0 && S_ISREG(st.st_mode))
            names->push_back(name);
    }
    closedir(dir);
    return 1;
}
