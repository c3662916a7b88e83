// Level-set and level files built byte by byte at their stored offsets, so the
// loaders are fed files laid out the way the format fixes them, written out
// here on their own rather than through the game's records.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The six grid blocks of a level, in file order.
enum { TEX_BLOCK, RED_BLOCK, GREEN_BLOCK, BLUE_BLOCK, TYPE_BLOCK, PUP_BLOCK };

// Sizes of a set's parts: a grid block (21 x 21 int32), a level (six blocks,
// each followed by 8 separator bytes), a texture (64 x 32 RGB and 8 bytes), the
// header (two counts, three 255-byte texts, 3 padding, 8 separator bytes).
constexpr size_t GRID_BYTES = 1764, SET_LEVEL_BYTES = 6 * (GRID_BYTES + 8), SET_TEXTURE_BYTES = 6144 + 8,
                 SET_HEAD_BYTES = 784;

// A level-set file: its counts and title ("Scratch set" by "Tester"), levels
// of zero grids and all-black textures until set.
struct set_file {
    int levels;
    std::string d;
    set_file(int levels, int textures);
    void title(const char *text);                              // the set's title field
    void set(int lev, int block, int r, int c, int32_t v);     // cell (r, c) of a block of level lev
    void texture(int t, uint8_t grey);                         // texture t all one grey
    void write(const std::string &path, size_t length = SIZE_MAX) const;   // its first `length` bytes
};

// The little-endian 32-bit value v put at byte `at`.
void put32(std::string &d, size_t at, int32_t v);

// An editor level file, "user_data/l<n>.raw": six blocks of 21 x 21 int32
// without separators, starting as an empty level (colours 127, type Normal).
struct level_file {
    std::vector<int32_t> cells;
    level_file();
    void set(int block, int r, int c, int32_t v) { cells[block * 441 + r * 21 + c] = v; }
    void write(int n) const;                                   // as level n of the player's folder
};
