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

// The temporary name of a replaced file is "<name>.tmp-" and six characters.
static const char TEMP_MARK[] = ".tmp-";
static const size_t TEMP_RANDOM = 6;

// Extensions of the files written through ".tmp" by earlier versions.
static const char *const LEGACY_NAMES[] = {".sav.tmp", ".hst.tmp", ".set.tmp", ".raw.tmp", ".bls.tmp"};

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

// 1 when text ends with end.
static int ends_with(const std::string &text, const char *end)
{
    size_t n = strlen(end);
    return text.size() >= n && text.compare(text.size() - n, n, end) == 0;
}

// 1 when name is one of our temporary names.
static int temp_name(const std::string &name)
{
    size_t mark = name.size() - TEMP_RANDOM - (sizeof TEMP_MARK - 1);
    if (name.size() > TEMP_RANDOM + sizeof TEMP_MARK &&
        name.compare(mark, sizeof TEMP_MARK - 1, TEMP_MARK) == 0) {
        for (size_t i = name.size() - TEMP_RANDOM; i < name.size(); i++) {
            char c = name[i];
            if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')))
                return 0;
        }
        return 1;
    }
    for (const char *legacy : LEGACY_NAMES)
        if (name.size() > strlen(legacy) && ends_with(name, legacy))
            return 1;
    return 0;
}

int remove_temp_leftovers(const char *folder)
{
    DIR *dir = opendir(folder);
    if (!dir)
        return 0;
    int removed = 0;
    while (struct dirent *e = readdir(dir)) {
        std::string name = e->d_name;
        if (!temp_name(name))
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
