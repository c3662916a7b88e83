// The texture-name tables that all drawing code binds from.

#include "graphics.h"

GLuint edtexname[1500];
GLuint etexname[512];
GLuint puptextures[31];
GLuint textures[32];
GLuint ticon[32];
GLuint tvis[5];
GLuint backtex[100];

// The editor's brick textures get their names as they are loaded
// (load_brick_files), so unused slots cost nothing.
void generate_texture_names()
{
    glGenTextures(512, etexname);
    glGenTextures(31, puptextures);
    glGenTextures(32, textures);
    glGenTextures(32, ticon);
    glGenTextures(5, tvis);
    glGenTextures(100, backtex);
}
