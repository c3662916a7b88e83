// Files the game and the setup program can trust: regular-file opening, the
// one safe writer, removal of its leftovers, and keeping a bad file aside.

#include "files.h"

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

// The temporary name of a replaced file is "<name>.tmp-" and six characters;
// earlier versions wrote through "<name>.tmp".
static const char TEMP_MARK[] = ".tmp-";
static const size_t TEMP_RANDOM = 6;
static const char LEGACY_MARK[] = ".tmp";

FILE *open_regular_file(const char *path)
{
    if (!path || !path[0])
        return nullptr;
    int fd = open(path, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return nullptr;
    struct stat st;
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        close(fd);
        return nullptr;
    }
    int flags = fcntl(fd, F_GETFL);
    if (flags != -1)
        fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    FILE *f = fdopen(fd, "rb");
    if (!f)
        close(fd);
    return f;
}

// The folder part of path ("." for a bare name).
static std::string folder_of(const std::string &path)
{
    size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// Writes all of data to fd, resuming after interruptions; 1 when all went.
static int write_all(int fd, const void *data, size_t size)
{
    const char *p = (const char *)data;
    while (size > 0) {
        ssize_t n = write(fd, p, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return 0;
        p += n;
        size -= (size_t)n;
    }
    return 1;
}

// Syncs a folder so that a rename in it survives a crash.
static void sync_folder(const std::string &folder)
{
    int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    fsync(fd);
    close(fd);
}

// The permissions a newly created file gets under the process's umask.
static mode_t new_file_mode()
{
    mode_t mask = umask(022);
    umask(mask);
    return 0666 & ~mask;
}

int replace_file(const char *path, const void *data, size_t size)
{
    if (!path || !path[0] || (!data && size > 0))
        return 0;
    std::string temp = std::string(path) + TEMP_MARK + std::string(TEMP_RANDOM, 'X');
    // mkostemp creates with O_EXCL: a link or any file at the name makes it try
    // another name, so nothing planted there is ever opened or written.
    int fd = mkostemp(&temp[0], O_CLOEXEC);
    if (fd < 0)
        return 0;
    int ok = fchmod(fd, new_file_mode()) == 0;
    ok = ok && write_all(fd, data, size);
    ok = ok && fsync(fd) == 0;
    ok = close(fd) == 0 && ok;
    if (ok && rename(temp.c_str(), path) == 0) {
        sync_folder(folder_of(path));
        return 1;
    }
    int why = errno;   // the caller may report why the write failed
    unlink(temp.c_str());
    errno = why;
    return 0;
}

// 1 when c is a letter or digit ('*' of a name pattern), or a digit ('#').
static int name_char(char c, char kind)
{
    if (c >= '0' && c <= '9')
        return 1;
    return kind == '*' && ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'));
}

// 1 when name matches pattern: its one '*' or '#' stands for one or more
// letters and digits, or digits; the rest is matched exactly.
static int matches_own(const std::string &name, const char *pattern)
{
    const char *wild = strpbrk(pattern, "*#");
    if (!wild)
        return name == pattern;
    size_t head = (size_t)(wild - pattern), tail = strlen(wild + 1);
    if (name.size() <= head + tail || name.compare(0, head, pattern, head) != 0 ||
        name.compare(name.size() - tail, tail, wild + 1) != 0)
        return 0;
    for (size_t i = head; i < name.size() - tail; i++)
        if (!name_char(name[i], *wild))
            return 0;
    return 1;
}

// 1 when name is a temporary name our writer makes for a file matching one of
// the own patterns: "<file>.tmp-" and six letters or digits, or "<file>.tmp".
static int temp_name(const std::string &name, const char *const *own, size_t count)
{
    std::string file;
    size_t mark = sizeof TEMP_MARK - 1, legacy = sizeof LEGACY_MARK - 1;
    if (name.size() > mark + TEMP_RANDOM &&
        name.compare(name.size() - TEMP_RANDOM - mark, mark, TEMP_MARK) == 0) {
        for (size_t i = name.size() - TEMP_RANDOM; i < name.size(); i++)
            if (!name_char(name[i], '*'))
                return 0;
        file = name.substr(0, name.size() - TEMP_RANDOM - mark);
    } else if (name.size() > legacy && name.compare(name.size() - legacy, legacy, LEGACY_MARK) == 0) {
        file = name.substr(0, name.size() - legacy);
    } else {
        return 0;
    }
    for (size_t i = 0; i < count; i++)
        if (matches_own(file, own[i]))
            return 1;
    return 0;
}

int remove_temp_leftovers(const char *folder, const char *const *own, size_t count)
{
    DIR *dir = opendir(folder);
    if (!dir)
        return 0;
    int removed = 0;
    while (struct dirent *e = readdir(dir)) {
        std::string name = e->d_name;
        if (!temp_name(name, own, count))
            continue;
        struct stat st;
        if (fstatat(dirfd(dir), name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(st.st_mode))
            continue;
        if (unlinkat(dirfd(dir), name.c_str(), 0) == 0)
            removed++;
    }
    closedir(dir);
    return removed;
}

int rename_aside(const char *path, const char *suffix, char *aside, size_t aside_size)
{
    for (int n = 1; n <= 99; n++) {
        std::string name = std::string(path) + suffix;
        if (n > 1)
            name += "." + std::to_string(n);
        // RENAME_NOREPLACE keeps an earlier file of the same name.
        // Where the file system cannot do that, a new link and the old
        // name's removal do the same.
        int moved = renameat2(AT_FDCWD, path, AT_FDCWD, name.c_str(), RENAME_NOREPLACE) == 0;
        if (!moved && (errno == EINVAL || errno == ENOSYS))
            moved = link(path, name.c_str()) == 0 && unlink(path) == 0;
        if (moved) {
            if (aside && aside_size)
                snprintf(aside, aside_size, "%s", name.c_str());
            return 1;
        }
        if (errno != EEXIST)
            return 0;
    }
    return 0;
}
