// The byte-by-byte level-set and level files.

#include "level_bytes.h"

#include <algorithm>
#include <cstring>
#include <fstream>

void put32(std::string &d, size_t at, int32_t v)
{
    for (int i = 0; i < 4; i++)
        d[at + i] = (char)((uint32_t)v >> (8 * i));
}

set_file::set_file(int levels, int textures)
    : levels(levels), d(SET_HEAD_BYTES + SET_LEVEL_BYTES * levels + SET_TEXTURE_BYTES * textures, '\0')
{
    put32(d, 0, levels);
    put32(d, 4, textures);
    title("Scratch set");
    strcpy(&d[263], "Tester");
}

void set_file::title(const char *text)
{
    memset(&d[8], 0, 255);
    strncpy(&d[8], text, 255);
}

void set_file::set(int lev, int block, int r, int c, int32_t v)
{
    put32(d, SET_HEAD_BYTES + (lev - 1) * SET_LEVEL_BYTES + block * (GRID_BYTES + 8) + (r * 21 + c) * 4, v);
}

void set_file::texture(int t, uint8_t grey)
{
    memset(&d[SET_HEAD_BYTES + SET_LEVEL_BYTES * levels + SET_TEXTURE_BYTES * (t - 1)], grey, 6144);
}

void set_file::write(const std::string &path, size_t length) const
{
    std::ofstream(path, std::ios::binary).write(d.data(), (std::streamsize)std::min(length, d.size()));
}

level_file::level_file() : cells(6 * 441, 0)
{
    for (int k = 0; k < 441; k++)
        cells[441 + k] = cells[882 + k] = cells[1323 + k] = 127, cells[1764 + k] = 1;
}

void level_file::write(int n) const
{
    std::ofstream("user_data/l" + std::to_string(n) + ".raw", std::ios::binary)
        .write((const char *)cells.data(), (std::streamsize)(cells.size() * 4));
}
