// Fuzz target: a PNG image, decoded and uploaded as a texture in both the
// opaque and the transparent mode, in the offscreen GL context.

#include "fuzz_support.h"

#include "graphics/graphics.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static bool named;
    fuzz_game_folder();
    fuzz_gl();
    if (!named) {
        generate_texture_names();
        named = true;
    }
    fuzz_write("fuzz.png", data, size);
    read_png_file("fuzz.png", 0, TABLE_TEXTURES, 5);
    read_png_file("fuzz.png", 1, TABLE_TICON, 3);
    bad_file[0] = 0;
    return 0;
}
