// The texture-name tables that all drawing code binds from.

#include "graphics.h"

GLuint edtexname[1500];
GLuint etexname[512];
GLuint puptextures[31];
GLuint textures[32];
GLuint ticon[32];
GLuint tvis[5];
GLuint backtex[100];

void generate_texture_names()
{
    glGenTextures(1500, edtexname);
    glGenTextures(512, etexname);
    glGenTextures(31, puptextures);
    glGenTextures(32, textures);
    glGenTextures(32, ticon);
    glGenTextures(5, tvis);
    glGenTextures(100, backtex);
}
