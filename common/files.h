// Files the game and the setup program can trust: a file is replaced whole
// through a private temporary file, and only regular files are ever read.
#pragma once

#include <cstddef>
#include <cstdio>

// Opens path for reading only when it is a regular file (links are followed).
// A named pipe, device, socket or folder is treated as missing: the open never
// waits on it. Null when the file is missing, unreadable or not regular.
FILE *open_regular_file(const char *path);

// Replaces path whole with size bytes of data: a temporary file is created
// exclusively under a unique name in the same folder (never through a link),
// written, synced, renamed over path, and the folder synced. On any failure
// the old file stays as it was, the temporary file is removed and errno says
// why. 1 on success.
int replace_file(const char *path, const void *data, size_t size);

// Removes from folder the regular files an interrupted replace_file left
// behind for the game's own files: "<file>.tmp-" and six letters or digits
// (or the "<file>.tmp" of earlier versions), where <file> matches one of the
// count patterns in own. A pattern is an exact name in which one '*' stands
// for a plain name of letters and digits and one '#' for a number
// ("corvale.set", "*.bls", "l#.raw"). Whatever else is in the folder, another
// program's temporary files included, and links and folders of any name, are
// never touched. The number of files removed.
int remove_temp_leftovers(const char *folder, const char *const *own, size_t count);

// Renames path aside as "<path><suffix>", or "<path><suffix>.2", ".3", ...
// when that name is taken; never replaces an existing file. The name used is
// written to aside. 1 on success, 0 when the file could not be moved.
int rename_aside(const char *path, const char *suffix, char *aside, size_t aside_size);
