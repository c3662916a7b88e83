// The texture-name tables that all drawing code binds from.

#include "graphics.h"

GLuint edtexname[1500];
GLuint etexname[512];
GLuint puptextures[31];
GLuint textures[32];
GLuint ticon[ICON_SLOTS];
GLuint tvis[5];
GLuint backtex[100];

// The editor's brick textures get their names as they are loaded
// (load_brick_files), so unused slots cost nothing.
void generate_texture_names()
{
    glGenTextures(512, etexname);
    glGenTextures(31, puptextures);
    glGenTextures(32, textures);
    glGenTextures(ICON_SLOTS, ticon);
    glGenTextures(5, tvis);
    glGenTextures(100, backtex);
}
