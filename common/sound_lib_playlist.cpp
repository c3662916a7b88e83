// Playlists: reading M3U files, plain and extended, into three tags per entry
// ("FILE", "TITLE", "LENGTH"), and the tag queries that read them back.

#include <cctype>
#include <cstring>
#include <strings.h>
#include <unistd.h>

#include "sound_lib_internal.h"

using namespace soundlib;

static const char EXTINF[] = "#EXTINF:";

// The text without blanks, tabs or carriage returns at either end.
static std::string trim(const std::string &s)
{
    size_t b = 0, e = s.size();
    while (b < e && isspace((unsigned char)s[b]))
        b++;
    while (e > b && isspace((unsigned char)s[e - 1]))
        e--;
    return s.substr(b, e - b);
}

bool soundlib::is_playlist_path(const char *path)
{
    const char *slash = strrchr(path, '/');
    const char *dot = strrchr(slash ? slash : path, '.');
    return dot && (strcasecmp(dot, ".m3u") == 0 || strcasecmp(dot, ".m3u8") == 0);
}

// Reads the whole file, refusing one longer than MAX_PLAYLIST_BYTES.
static FMOD_RESULT read_text(const char *path, std::string &text)
{
    int fd;
    FMOD_RESULT r = open_file(path, fd);
    if (r != FMOD_OK)
        return r;
    char block[16384];
    ssize_t n;
    while ((n = read(fd, block, sizeof block)) > 0) {
        if (text.size() + (size_t)n > MAX_PLAYLIST_BYTES) {
            r = FMOD_ERR_FILE_TOOLARGE;
            break;
        }
        text.append(block, (size_t)n);
    }
    if (n < 0)
        r = FMOD_ERR_FILE_BAD;
    close(fd);
    return r;
}

// True when an entry names its file absolutely: a root path, a drive or a URL.
static bool absolute_entry(const std::string &e)
{
    if (e[0] == '/')
        return true;
    if (e.size() >= 2 && isalpha((unsigned char)e[0]) && e[1] == ':')
        return true;
    return e.find("://") != std::string::npos;
}

// The file name of a path without its folder and its extension.
static std::string file_stem(const std::string &path)
{
    size_t slash = path.find_last_of('/');
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    size_t dot = name.find_last_of('.');
    if (dot != std::string::npos && dot > 0)
        name.erase(dot);
    return name;
}

// Splits "#EXTINF:seconds,title" (attributes may follow the seconds, and a quoted
// attribute may hold commas) into its seconds and its title.
static void parse_extinf(const std::string &line, std::string &seconds, std::string &title)
{
    std::string rest = line.substr(sizeof EXTINF - 1);
    size_t end = 0;
    while (end < rest.size() && rest[end] != ',' && !isspace((unsigned char)rest[end]))
        end++;
    seconds = trim(rest.substr(0, end));
    bool quoted = false;
    size_t comma = std::string::npos;
    for (size_t i = 0; i < rest.size(); i++) {
        if (rest[i] == '"')
            quoted = !quoted;
        else if (rest[i] == ',' && !quoted) {
            comma = i;
            break;
        }
    }
    title = comma == std::string::npos ? std::string() : trim(rest.substr(comma + 1));
}

FMOD_RESULT soundlib::load_playlist(const char *path, FMOD_SOUND *sound)
{
    std::string text;
    FMOD_RESULT r = read_text(path, text);
    if (r != FMOD_OK)
        return r;
    if (text.find('\0') != std::string::npos)
        return FMOD_ERR_FORMAT;  // binary data, not a text playlist
    if (text.compare(0, 3, "\xEF\xBB\xBF") == 0)
        text.erase(0, 3);

    std::string folder = path;
    size_t cut = folder.find_last_of("/\\");
    folder = cut == std::string::npos ? std::string() : folder.substr(0, cut + 1);

    std::string seconds, title;
    bool info = false;  // an #EXTINF line waits for its entry
    size_t at = 0;
    while (at <= text.size()) {
        size_t nl = text.find('\n', at);
        if (nl == std::string::npos)
            nl = text.size();
        std::string line = trim(text.substr(at, nl - at));
        at = nl + 1;
        if (line.empty())
            continue;
        if (line[0] == '#') {
            if (strncasecmp(line.c_str(), EXTINF, sizeof EXTINF - 1) == 0) {
                parse_extinf(line, seconds, title);
                info = true;
            }
            continue;
        }
        for (char &c : line)
            if (c == '\\')
                c = '/';
        std::string file = absolute_entry(line) ? line : folder + line;
        std::string shown = info && !title.empty() ? title : file_stem(line);
        std::string length = info && !seconds.empty() ? seconds : "-1";
        sound->tags.push_back({"FILE", file});
        sound->tags.push_back({"TITLE", shown.empty() ? line : shown});
        sound->tags.push_back({"LENGTH", length});
        info = false;
    }
    return FMOD_OK;
}

FMOD_RESULT FMOD_Sound_GetNumTags(FMOD_SOUND *sound, int *numtags, int *numtagsupdated)
{
    if (!live_sound(sound))
        return FMOD_ERR_INVALID_HANDLE;
    if (numtags)
        *numtags = (int)sound->tags.size();
    if (numtagsupdated)
        *numtagsupdated = 0;
    return FMOD_OK;
}

FMOD_RESULT FMOD_Sound_GetTag(FMOD_SOUND *sound, const char *name, int index, FMOD_TAG *tag)
{
    if (!live_sound(sound))
        return FMOD_ERR_INVALID_HANDLE;
    if (!tag || index < 0)
        return FMOD_ERR_INVALID_PARAM;
    int seen = 0;
    for (tag_text &t : sound->tags) {
        if (name && t.name != name)
            continue;
        if (seen++ < index)
            continue;
        tag->type = FMOD_TAGTYPE_PLAYLIST;
        tag->datatype = FMOD_TAGDATATYPE_STRING;
        tag->name = &t.name[0];
        tag->data = &t.text[0];
        tag->datalen = (unsigned)t.text.size() + 1;
        tag->updated = 0;
        return FMOD_OK;
    }
    return FMOD_ERR_TAGNOTFOUND;
}
