// The colour palette of the editor: the default grey and the colours the
// level sets that come with the game use most, counted from those sets when
// the palette is first needed.

#include <algorithm>
#include <cstring>
#include <dirent.h>
#include <map>
#include <string>
#include <vector>

#include "editor.h"
#include "rules/rules.h"

int palette[PALETTE_SIZE][3];
int palette_count;

int most_used_colours(const level_file_record *levels, int count, int out[][3], int max)
{
    if (max < 1)
        return 0;
    std::map<std::vector<int>, int> uses;
    for (int n = 0; n < count; n++)
        for (int r = 1; r <= GRID_ROWS; r++)
            for (int c = 1; c <= GRID_ROWS; c++) {
                int k = grid_index(r, c);
                if (levels[n].block[LEVEL_TEXTURES].cells[k] == 0)
                    continue;
                uses[{levels[n].block[LEVEL_RED].cells[k], levels[n].block[LEVEL_GREEN].cells[k],
                      levels[n].block[LEVEL_BLUE].cells[k]}]++;
            }
    uses.erase({127, 127, 127});
    std::vector<std::pair<int, std::vector<int>>> order;
    for (const auto &u : uses)
        order.push_back({-u.second, u.first});
    std::sort(order.begin(), order.end());   // most used first; equal counts by colour
    out[0][0] = out[0][1] = out[0][2] = 127;
    int n = 1;
    for (const auto &o : order) {
        if (n >= max)
            break;
        for (int i = 0; i < 3; i++)
            out[n][i] = o.second[i];
        n++;
    }
    return n;
}

// Every level of the level sets in the game's folder (the sets that come with it).
static std::vector<level_file_record> shipped_levels()
{
    std::vector<level_file_record> levels;
    DIR *d = opendir("level_sets");
    if (!d)
        return levels;
    for (dirent *e; (e = readdir(d));) {
        std::string n = e->d_name;
        if (n.size() <= 4 || n.compare(n.size() - 4, 4, ".bls") != 0)
            continue;
        int total = level_set_levels(n.c_str());
        level_file_record rec;
        for (int lev = 1; lev <= total; lev++)
            if (read_set_level(n.c_str(), lev, &rec, nullptr))
                levels.push_back(rec);
    }
    closedir(d);
    return levels;
}

// Counted once the game's sets could be read; until then the grey alone.
void load_palette()
{
    static int counted;
    if (counted)
        return;
    std::vector<level_file_record> levels = shipped_levels();
    palette_count = most_used_colours(levels.data(), (int)levels.size(), palette, PALETTE_SIZE);
    counted = !levels.empty();
}
