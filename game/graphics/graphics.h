// Graphics resources and text: the texture-name tables, the image loaders and
// the two outline fonts.
#pragma once

#include <GL/gl.h>

#include <cstddef>
#include <cstdint>

#include "formats.h"
#include "gui_icons.h"

// ---- Texture-name tables, indexed from 1 (names generated once by InitGL) ----
extern GLuint edtexname[1500];   // the editor's brick textures, 1..texmax
extern GLuint etexname[512];     // brick textures in play, 1..511
extern GLuint puptextures[31];   // power-up icons by kind, 1..POWERUP_KINDS
static_assert(POWERUP_KINDS < 31, "a power-up icon slot for every kind");
extern GLuint textures[32];      // general images by fixed slot, texture_slot
extern GLuint ticon[ICON_SLOTS];         // GUI button icons, icon_slot (gui_icons.h)
static_assert(sizeof ticon / sizeof ticon[0] >= ICON_SLOTS, "a place for every GUI icon");

// The slots of textures[].
enum texture_slot { TEX_TITLE = 1, TEX_EDITOR = 2, TEX_PADDLE = 3, TEX_FIRE = 4, TEX_POINTER = 5,
                    TEX_BALL = 12, TEX_GLOW = 13, TEX_CREDITS = 14, TEX_WALLS = 15 };
extern GLuint tvis[5];           // the editor's visibility overlays, 1..3
extern GLuint backtex[100];      // backgrounds, 1..backmax; only the one in use holds its image

// ---- Image staging ----
const int TITLE_BYTES = 4000000; // room for one decoded RGB image (1,333,333 pixels)
const int ALPHA_BYTES = 16384;   // room for one RGBA image of transparent mode (4096 pixels)
extern unsigned char title[TITLE_BYTES];  // every decoded image and raw brick, packed RGB rows
extern unsigned char alpha[ALPHA_BYTES];  // the RGBA copy of a transparent-mode image
extern char bad_file[1024];      // the first fixed image that failed to load; "" when none

// Table numbers of read_png_file. Opaque mode: 1, 2, 5; transparent mode: 1, 3, 4.
enum { TABLE_TEXTURES = 1, TABLE_BACKTEX = 2, TABLE_TICON = 3, TABLE_TVIS = 4, TABLE_PUPTEXTURES = 5 };

// ---- Texture loading ----
void generate_texture_names();   // generate every table's names, in the fixed order
int read_png_file(const char *path, int transparent, int table, int slot);
// Decodes an opaque PNG into textures[slot], uploaded no larger than
// shown_w x shown_h (each side at most its own), with mipmaps; stores the
// size uploaded. 0 when the file cannot be used.
int read_png_shown(const char *path, int slot, int shown_w, int shown_h, int *uploaded_w, int *uploaded_h);
                                 // decode an 8-bit RGB PNG and upload it to the table's slot;
                                 // 0 (and bad_file set) when missing, damaged, wrong type or too big
int read_window_icon(int *width, int *height); // graphics/icon.png as RGBA rows in title; 0 if unusable
int load_icons(const char *path, int slot);    // transparent image into ticon[slot]
int load_visible(const char *path, int slot);  // transparent image into tvis[slot]
void load_bricks();              // bricks/b1.raw, b2.raw, ... into etexname; sets texmax
// ---- Brick textures (bricktex.cpp) ----
// Uploads a 64 x 32 RGB brick texture into name, repeating both ways, with
// mipmaps; filter GL_LINEAR samples them smoothly, GL_NEAREST shows texels.
void upload_brick(GLuint name, const uint8_t *rgb, GLint filter);
// Reads bricks/b<k>.raw into rgb (BRICK_TEX_BYTES); a short file's missing
// part is black. 0 when it does not open.
int read_brick_file(int k, uint8_t *rgb);
// Loads bricks/b1.raw, b2.raw, ... up to max into table[1..], naming slots
// as they fill; the number read.
int load_brick_files(GLuint *table, int max);
int load_textures();             // bricks, the fixed images, power-ups and backgrounds; 0 on a bad file
int load_credits();              // the end screen's picture into textures[TEX_CREDITS], once; 0 when it cannot be read
void fit_view_pictures();        // the title and end-screen pictures, and the power-up icons, again
                                 // at the size the viewport now shows them
int puploader();                 // the 17 power-up icons; 0 on a bad file
int init_icons();                // the GUI button icons; 0 on a bad file
int init_visible();              // the three visibility overlays; 0 on a bad file
int load_backgrounds();          // checks bg1.png, bg2.png, ... up to the first gap; sets backmax,
                                 // backnum (0: none); 0 (and bad_file set) when one is damaged
int bind_background(int k);      // binds background k's texture, uploading it first when another
                                 // one is in use (whose storage is given back); 0 when it cannot be read
// Decodes an opaque PNG into the table's slot without the mipmap levels a
// picture shown at most `shown` pixels across never samples: the level the
// filter would start from is uploaded as the whole texture. 0 as read_png_file.
int read_png_reduced(const char *path, int table, int slot, int shown);
int check_png_file(const char *path);  // 1 when read_png_file could decode the opaque image; 0 and bad_file set if not

// ---- Drawing frames (frames.cpp) ----
// The play field and the GUI are drawn in one frame: field units, shifted
// FIELD_SHIFT on x, on planes in front of the eye. Each routine loads the
// identity first.
void field_frame();              // the play field's frame
void shaken_field_frame();       // the field's frame moved by the earthquake's offset while the scene shakes
void gui_frame();                // the frame of panels, buttons, the canvas and the pointer

// A frame of play may be drawn as passes, each over one box of window pixels
// under the scissor; routines of many pieces leave out the pieces that miss it.
extern int pass_boxed;           // 1 while a pass draws only pass_box; 0 = the whole view
extern int pass_box[4];          // the pass's window pixels: left, bottom, right, top (exclusive)
void note_field_view();          // reads the projection and viewport the field is drawn with now
// The window pixels (left, bottom, right, top, exclusive) that a rectangle of
// the field frame facing the eye at depth z may touch, with a pixel to spare.
void field_box(float x0, float y0, float x1, float y1, int box[4], float z = -5.0f);
int boxes_meet(const int a[4], const int b[4]);  // 1 when two boxes share a pixel
int field_rect_in_pass(float x0, float y0, float x1, float y1, float z = -5.0f);  // 1 when it may touch the pass's box

// ---- Kept pixels (kept.cpp) ----
// A rectangle of window pixels copied from the frame as drawn, to be put back
// pixel for pixel in later frames while what it shows stays the same.
struct kept_pixels {
    GLuint texture;      // the copy, 0 = nothing kept yet
    GLuint framebuffer;  // the copy as a framebuffer to blit from; 0 = drawn as a quad
    int rect[4];         // window pixels kept: x, y, width, height
    int owner;           // what the pixels show, the keeper's own code
};
// The view-sized layer, shared by the title's unchanging layer and the play
// background, which are never shown in the same frame. Initially empty.
extern kept_pixels view_layer;
enum { LAYER_TITLE = 1, LAYER_BACKGROUND = 2 };  // owners of view_layer; a background adds its number
extern int new_scenes_kept;   // [0] pictures kept for a new owner, counted up; a new scene was drawn

int kept_for(const kept_pixels &k, const int rect[4], int owner);  // 1 when k holds owner's pixels of rect
void keep_pixels(kept_pixels &k, const int rect[4], int owner);    // copy rect from the back buffer
void draw_kept(const kept_pixels &k);  // put the kept pixels back where they were taken;
                                       // the GL state is left as it was
// Window pixels as the units of drawing, the viewport's corner at the origin;
// the matrices are kept and put back at the end.
void begin_window_pixels();
void end_window_pixels();

// ---- Fonts ----
// One glyph's measures in em units, as the outline builder reports them.
struct glyph_metrics {
    float blackbox_x, blackbox_y;  // size of the inked box
    float origin_x, origin_y;      // upper-left corner of the inked box from the origin
    float cell_inc_x, cell_inc_y;  // advance to the next glyph's origin
};

extern GLuint base;              // 1 when the large font is built, 0 = none
extern GLuint sbase;             // 1 when the small font is built, 0 = none
extern glyph_metrics gmf[256];   // metrics of the font built last; not read by the game

int BuildFont();                 // the large bold font into base; 0 when no outline font exists
int BuildsFont();                // the small regular font into sbase; 0 when no outline font exists
void KillFont();                 // let go of the large font and the kept texts
void KillsFont();                // let go of the small font and the kept texts
void glPrint(const char *fmt, ...)    // printf-formatted text in the large font, at the current matrix
    __attribute__((format(printf, 1, 2)));
float print_width(const char *text);  // advance of the text in the large font, em units
// Texts printed again under the same matrices and viewport are put back from
// the pixels they covered the first time; how many are kept now.
int kept_texts();
int texts_frame_done();          // after each drawn frame: texts long unprinted let go, how many
void glsPrint(const char *fmt, ...)   // the same in the small font, 40 units deeper
    __attribute__((format(printf, 1, 2)));

// ---- Font files (shell/fontfile.cpp, platform) ----
// Path and face index of the installed outline face that stands in for the
// family at the given weight (bold 1 or 0); 0 when none is found.
int find_font_file(const char *family, int bold, char *path, size_t size, int *index);
