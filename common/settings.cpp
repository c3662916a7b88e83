// Settings file: where it lives, and its reader and writer.
// The record is read and written whole; writes go through a temporary file.

#include "settings.h"

#include "files.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/stat.h>

const settings_resolution settings_resolutions[SETTINGS_RESOLUTIONS] = {
    {320, 240, "320x240"},
    {640, 480, "640x480"},
    {800, 600, "800x600"},
    {1024, 768, "1024x768"},
    {1280, 720, "1280x720(HDTV)"},
    {1280, 800, "1280x800(16:10)"},
    {1280, 960, "1280x960"},
    {1280, 1024, "1280x1024"},
    {1680, 1050, "1680x1050(16:10)"},
    {1600, 1200, "1600x1200"},
    {1920, 1080, "1920x1080(HDTV)"},
};

// Creates every missing folder along path (like mkdir -p).
static void make_folders(const std::string &path)
{
    for (size_t i = 1; i <= path.size(); i++) {
        if (i == path.size() || path[i] == '/') {
            std::string part = path.substr(0, i);
            if (mkdir(part.c_str(), 0755) != 0 && errno != EEXIST)
                return;
        }
    }
}

const char *settings_path()
{
    static std::string path;
    std::string folder;
    const char *xdg = getenv("XDG_CONFIG_HOME");
    if (xdg && xdg[0] == '/') {
        folder = xdg;
    } else {
        const char *home = getenv("HOME");
        folder = std::string(home && home[0] ? home : ".") + "/.config";
    }
    make_folders(folder);
    path = folder + "/corvale.set";
    return path.c_str();
}

float settings_volume(float stored, float fallback)
{
    return stored >= 0.0f && stored <= 1.0f ? stored : fallback;  // false for NaN
}

int read_settings(bset *rec)
{
    memset(rec, 0, sizeof *rec);
    FILE *f = open_regular_file(settings_path());
    if (!f)
        return 0;
    size_t got = fread(rec, 1, sizeof *rec, f);
    (void)got;  // a short file leaves the rest of the record zero
    fclose(f);
    rec->seffects = settings_volume(rec->seffects, SETTINGS_DEFAULTS.seffects);
    rec->music = settings_volume(rec->music, SETTINGS_DEFAULTS.music);
    return 1;
}

int write_settings(const bset *rec)
{
    return replace_file(settings_path(), rec, sizeof *rec);
}
