// Font lookup: asks fontconfig which installed outline face stands in for a
// family name at a weight. Platform file.

#include <fontconfig/fontconfig.h>

#include <cstdio>

#include "graphics/graphics.h"

int find_font_file(const char *family, int bold, char *path, size_t size, int *index)
{
    if (!FcInit())
        return 0;
    FcPattern *wanted = FcPatternCreate();
    FcPatternAddString(wanted, FC_FAMILY, (const FcChar8 *)family);
    FcPatternAddInteger(wanted, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(wanted, FC_SLANT, FC_SLANT_ROMAN);
    FcPatternAddBool(wanted, FC_OUTLINE, FcTrue);
    FcPatternAddBool(wanted, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(nullptr, wanted, FcMatchPattern);
    FcDefaultSubstitute(wanted);
    FcResult result;
    FcPattern *match = FcFontMatch(nullptr, wanted, &result);
    FcPatternDestroy(wanted);
    if (!match)
        return 0;

    int found = 0;
    FcChar8 *file = nullptr;
    FcBool outline = FcFalse;
    if (FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch &&
        FcPatternGetBool(match, FC_OUTLINE, 0, &outline) == FcResultMatch && outline) {
        int face = 0;
        FcPatternGetInteger(match, FC_INDEX, 0, &face);
        *index = face;
        found = snprintf(path, size, "%s", (const char *)file) < (int)size;
    }
    FcPatternDestroy(match);
    return found;
}
