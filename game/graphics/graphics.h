// Graphics resources and text: the texture-name tables, the image loaders and
// the two outline fonts.
#pragma once

#include <GL/gl.h>

// ---- Texture-name tables, indexed from 1 (names generated once by InitGL) ----
extern GLuint edtexname[1500];   // the editor's brick textures, 1..texmax
extern GLuint etexname[512];     // brick textures in play, 1..511
extern GLuint puptextures[31];   // power-up icons by kind, 1..17
extern GLuint textures[32];      // general images by fixed slot
extern GLuint ticon[32];         // GUI button icons
extern GLuint tvis[5];           // the editor's visibility overlays, 1..3
extern GLuint backtex[100];      // backgrounds, 1..backmax

// ---- Fonts ----
extern GLuint base;              // first of the large font's 256 display lists, 0 = none
extern GLuint sbase;             // first of the small font's 256 display lists, 0 = none

void generate_texture_names();   // generate every table's names, in the fixed order
int load_startup();              // fonts, loading messages, images, editor levels, icons, default set;
                                 // 0 when a file the game cannot run without is missing or damaged
void KillFont();                 // delete the large font's lists
void KillsFont();                // delete the small font's lists
void glPrint(const char *fmt, ...);   // printf-formatted text in the large font, at the current matrix
void glsPrint(const char *fmt, ...);  // the same in the small font, 40 units deeper
