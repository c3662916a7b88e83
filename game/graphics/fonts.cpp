// The two outline fonts: glyph outlines from FreeType, filled by the GLU
// tessellator into a vertex buffer in em units, the printf-style printers, and
// the texts kept as the pixels they cover.

#define GL_GLEXT_PROTOTYPES
#include <GL/gl.h>
#include <GL/glext.h>
#include <GL/glu.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include <array>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <algorithm>
#include <deque>
#include <string>
#include <unordered_map>
#include <vector>

#include "graphics.h"

GLuint base;
GLuint sbase;
glyph_metrics gmf[256];

static const int GLYPHS = 255;             // codes 0..254 get a glyph; 255 stays empty
static const int PRINT_BYTES = 4096;       // longest formatted text, NUL included
static const double FLATNESS = 1.0 / 512;  // largest gap between a curve and its chords, em units
static const int CURVE_STEPS_MAX = 64;     // chords per curve segment at most

// Unicode of Windows-1252's codes 128..159; the five it leaves undefined keep their own number.
static const unsigned short cp1252_high[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

typedef std::array<GLdouble, 3> point;

// Every vertex handed to the tessellator for the glyph being built; a deque,
// so the addresses the tessellator keeps stay valid until the polygon ends.
static std::deque<point> vertices;
static std::vector<point> contour;         // the contour being walked, in em units
static double em_scale;                    // em units per font unit of the face
static double pen_x, pen_y;                // the outline walk's current point, font units

// The filled glyphs of a font as triangles in one vertex buffer: each glyph's
// run of vertices, in em units, in the order GL draws them.
struct glyph_triangles {
    GLuint buffer = 0;
    GLint first[256];
    GLsizei count[256];
    float advance[256];
    float box[256][4];   // the glyph's triangles' left, bottom, right, top
    int font;            // 0 small, 1 large
};
static glyph_triangles large_glyphs, small_glyphs;
static std::vector<GLfloat> triangles;     // the font being built: every glyph's triangles
static GLenum prim_type;                   // the tessellator's primitive being handed over
static std::vector<point> prim;            // its vertices so far
static void forget_masks();                // every text kept as pixels let go

// Unicode code point of a Windows-1252 character code.
static unsigned code_point(int c)
{
    return c >= 128 && c < 160 ? cp1252_high[c - 128] : (unsigned)c;
}

static void GLAPIENTRY tess_begin(GLenum type)
{
    prim_type = type;
    prim.clear();
}

static void GLAPIENTRY tess_vertex(void *data)
{
    const GLdouble *v = (const GLdouble *)data;
    prim.push_back({v[0], v[1], v[2]});
}

static void add_triangle_vertex(const point &p)
{
    for (double c : p)
        triangles.push_back((GLfloat)c);
}

// The primitive handed over, as separate triangles in the order GL draws them.
static void GLAPIENTRY tess_end()
{
    size_t n = prim.size();
    for (size_t k = 0; k + 2 < n; k++) {
        if (prim_type == GL_TRIANGLES && k % 3 != 0)
            continue;
        size_t a = k, b = k + 1, c = k + 2;
        if (prim_type == GL_TRIANGLE_FAN)
            a = 0, b = k + 1, c = k + 2;
        else if (prim_type == GL_TRIANGLE_STRIP && k % 2)
            a = k + 1, b = k;
        add_triangle_vertex(prim[a]);
        add_triangle_vertex(prim[b]);
        add_triangle_vertex(prim[c]);
    }
}

// Where outlines cross or touch, the tessellator asks for a new vertex.
static void GLAPIENTRY tess_combine(GLdouble coords[3], void *[4], GLfloat[4], void **out)
{
    vertices.push_back({coords[0], coords[1], coords[2]});
    *out = vertices.back().data();
}

// Adds a point in font units to the contour, skipping repeats.
static void add_point(double x, double y)
{
    point p = {x * em_scale, y * em_scale, 0.0};
    if (contour.empty() || contour.back() != p)
        contour.push_back(p);
    pen_x = x;
    pen_y = y;
}

// Hands the walked contour to the tessellator, without the closing repeat of its start.
static void close_contour(GLUtesselator *tess)
{
    if (contour.size() > 1 && contour.back() == contour.front())
        contour.pop_back();
    if (contour.size() >= 3) {
        gluTessBeginContour(tess);
        for (const point &p : contour) {
            vertices.push_back(p);
            gluTessVertex(tess, vertices.back().data(), vertices.back().data());
        }
        gluTessEndContour(tess);
    }
    contour.clear();
}

// Chords needed so that a curve whose largest second difference is d strays
// less than FLATNESS from them; k is 1/4 for a quadratic, 3/4 for a cubic.
static int curve_steps(double d, double k)
{
    int n = (int)ceil(sqrt(d * em_scale * k / FLATNESS));
    return n < 1 ? 1 : n > CURVE_STEPS_MAX ? CURVE_STEPS_MAX : n;
}

static int walk_move(const FT_Vector *to, void *tess)
{
    close_contour((GLUtesselator *)tess);
    add_point(to->x, to->y);
    return 0;
}

static int walk_line(const FT_Vector *to, void *)
{
    add_point(to->x, to->y);
    return 0;
}

static int walk_conic(const FT_Vector *c, const FT_Vector *to, void *)
{
    double x0 = pen_x, y0 = pen_y;
    int n = curve_steps(hypot(x0 - 2 * c->x + to->x, y0 - 2 * c->y + to->y), 0.25);
    for (int i = 1; i <= n; i++) {
        double t = (double)i / n, u = 1 - t;
        add_point(u * u * x0 + 2 * u * t * c->x + t * t * to->x,
                  u * u * y0 + 2 * u * t * c->y + t * t * to->y);
    }
    return 0;
}

static int walk_cubic(const FT_Vector *c1, const FT_Vector *c2, const FT_Vector *to, void *)
{
    double x0 = pen_x, y0 = pen_y;
    double d1 = hypot(x0 - 2 * c1->x + c2->x, y0 - 2 * c1->y + c2->y);
    double d2 = hypot(c1->x - 2 * c2->x + to->x, c1->y - 2 * c2->y + to->y);
    int n = curve_steps(d1 > d2 ? d1 : d2, 0.75);
    for (int i = 1; i <= n; i++) {
        double t = (double)i / n, u = 1 - t;
        add_point(u * u * u * x0 + 3 * u * u * t * c1->x + 3 * u * t * t * c2->x + t * t * t * to->x,
                  u * u * u * y0 + 3 * u * u * t * c1->y + 3 * u * t * t * c2->y + t * t * t * to->y);
    }
    return 0;
}

// One character's filled outline, its box and its advance.
static void build_glyph(FT_Face face, GLUtesselator *tess, int code, glyph_triangles *g)
{
    g->first[code] = (GLint)(triangles.size() / 3);
    glyph_metrics &m = gmf[code];
    m = {};
    FT_UInt index = FT_Get_Char_Index(face, code_point(code));
    int loaded = FT_Load_Glyph(face, index, FT_LOAD_NO_SCALE | FT_LOAD_NO_BITMAP) == 0 &&
                 face->glyph->format == FT_GLYPH_FORMAT_OUTLINE;

    if (loaded) {
        FT_Outline *outline = &face->glyph->outline;
        FT_BBox box;
        FT_Outline_Get_CBox(outline, &box);
        m.blackbox_x = (float)((box.xMax - box.xMin) * em_scale);
        m.blackbox_y = (float)((box.yMax - box.yMin) * em_scale);
        m.origin_x = (float)(box.xMin * em_scale);
        m.origin_y = (float)(box.yMax * em_scale);
        m.cell_inc_x = (float)(face->glyph->metrics.horiAdvance * em_scale);

        static const FT_Outline_Funcs walk = {walk_move, walk_line, walk_conic, walk_cubic, 0, 0};
        vertices.clear();
        contour.clear();
        gluTessBeginPolygon(tess, nullptr);
        FT_Outline_Decompose(outline, &walk, tess);
        close_contour(tess);
        gluTessEndPolygon(tess);
    }
    g->count[code] = (GLsizei)(triangles.size() / 3) - g->first[code];
    g->advance[code] = m.cell_inc_x;
    float *box = g->box[code];
    box[0] = box[1] = 1e9f;
    box[2] = box[3] = -1e9f;
    for (size_t k = 3 * (size_t)g->first[code]; k < triangles.size(); k += 3) {
        box[0] = std::min(box[0], triangles[k]), box[2] = std::max(box[2], triangles[k]);
        box[1] = std::min(box[1], triangles[k + 1]), box[3] = std::max(box[3], triangles[k + 1]);
    }
}

// A tessellator filling by non-zero winding, so holes stay open, facing the viewer.
static GLUtesselator *new_glyph_tessellator()
{
    GLUtesselator *tess = gluNewTess();
    if (!tess)
        return nullptr;
    gluTessCallback(tess, GLU_TESS_BEGIN, (_GLUfuncptr)tess_begin);
    gluTessCallback(tess, GLU_TESS_VERTEX, (_GLUfuncptr)tess_vertex);
    gluTessCallback(tess, GLU_TESS_END, (_GLUfuncptr)tess_end);
    gluTessCallback(tess, GLU_TESS_COMBINE, (_GLUfuncptr)tess_combine);
    gluTessProperty(tess, GLU_TESS_WINDING_RULE, GLU_TESS_WINDING_NONZERO);
    gluTessNormal(tess, 0.0, 0.0, 1.0);
    return tess;
}

// Builds the glyphs of the face standing in for "Arial" at the weight into
// the font's vertex buffer; 1, or 0 when no outline face can be had.
static GLuint build_outline_font(int bold, glyph_triangles *g)
{
    g->font = bold;
    char path[1024];
    int face_index = 0;
    if (!find_font_file("Arial", bold, path, sizeof path, &face_index))
        return 0;
    FT_Library library;
    if (FT_Init_FreeType(&library))
        return 0;
    FT_Face face;
    GLuint built = 0;
    if (FT_New_Face(library, path, face_index, &face) == 0) {
        GLUtesselator *tess = FT_IS_SCALABLE(face) ? new_glyph_tessellator() : nullptr;
        if (tess) {
            em_scale = 1.0 / face->units_per_EM;
            triangles.clear();
            for (int code = 0; code < GLYPHS; code++)
                build_glyph(face, tess, code, g);
            g->first[GLYPHS] = 0;
            g->count[GLYPHS] = 0;
            g->advance[GLYPHS] = 0.0f;
            glGenBuffers(1, &g->buffer);
            glBindBuffer(GL_ARRAY_BUFFER, g->buffer);
            glBufferData(GL_ARRAY_BUFFER, (GLsizeiptr)(triangles.size() * sizeof(GLfloat)), triangles.data(),
                         GL_STATIC_DRAW);
            glBindBuffer(GL_ARRAY_BUFFER, 0);
            triangles = std::vector<GLfloat>();
            built = 1;
        }
        if (tess)
            gluDeleteTess(tess);
        FT_Done_Face(face);
    }
    FT_Done_FreeType(library);
    vertices = std::deque<point>();
    return built;
}

static float large_advance[256];  // the large font's advance of each code, em units

int BuildFont()
{
    KillFont();
    base = build_outline_font(1, &large_glyphs);
    for (int code = 0; code < 256; code++)
        large_advance[code] = base ? gmf[code].cell_inc_x : 0.0f;
    return base != 0;
}

float print_width(const char *text)
{
    float w = 0;
    for (const unsigned char *c = (const unsigned char *)text; *c; c++)
        w += large_advance[*c];
    return w;
}

int BuildsFont()
{
    KillsFont();
    sbase = build_outline_font(0, &small_glyphs);
    return sbase != 0;
}

void KillFont()
{
    base = 0;
    glDeleteBuffers(1, &large_glyphs.buffer);
    large_glyphs.buffer = 0;
    forget_masks();
}

void KillsFont()
{
    sbase = 0;
    glDeleteBuffers(1, &small_glyphs.buffer);
    small_glyphs.buffer = 0;
    forget_masks();
}

// Draws the text's glyphs from the font's buffer, each moved on by the
// advances before it.
static void draw_glyphs(const glyph_triangles &g, const char *text)
{
    glPushClientAttrib(GL_CLIENT_VERTEX_ARRAY_BIT);
    glBindBuffer(GL_ARRAY_BUFFER, g.buffer);
    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(3, GL_FLOAT, 0, nullptr);
    for (const unsigned char *c = (const unsigned char *)text; *c; c++) {
        if (*c == GLYPHS)
            continue;
        if (g.count[*c])
            glDrawArrays(GL_TRIANGLES, g.first[*c], g.count[*c]);
        glTranslatef(g.advance[*c], 0.0f, 0.0f);
    }
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glPopClientAttrib();
}

// ---- Texts kept as pixels ----
// A text printed again in the same font, under the same matrices and viewport,
// covers the same pixels. The second time, its glyphs are drawn in the frame
// once white and once black, and the pixels that differ between the two
// read-backs are the ones they cover; the glyphs then go over them in the
// text's own colour. Later prints fill those pixels as rectangles: a few
// triangles where the glyphs take thousands.
// Only state in which the rectangles give each covered pixel the very colour
// the glyphs give it qualifies: an opaque colour, every channel written, no
// blending or the usual alpha blend (so a pixel covered twice looks as if
// covered once), no texturing, depth, alpha, stencil or scissor test, no
// lighting, fog or culling. The rectangles are drawn with the state and so
// the shader the glyphs use: the rasteriser compiles nothing for kept texts.

struct text_mask {
    std::vector<GLshort> rects;  // the covered pixels as rectangles: left, bottom, right, top (exclusive)
    int kept = 0;                // the rectangles stand for the text (none: it covers no pixel)
    int seen = 0;                // printed once so far: a text that changes every time is never kept
    unsigned used = 0;           // drawn_frames when it was last printed
};
static const size_t MASKS_KEPT = 512;   // texts kept at most; all are let go beyond it
static const int MASK_MARGIN = 2;       // pixels around the glyphs' projected boxes
// Drawn frames a kept text may go unprinted before it is let go: the texts of
// a screen left behind do not stay for the rest of the run. Still frames are
// not drawn, so a still screen keeps its own.
static const unsigned MASK_IDLE_FRAMES = 124;
static std::unordered_map<std::string, text_mask> masks;
static unsigned drawn_frames;
static std::vector<GLfloat> mask_corners;   // the triangles of the mask being drawn

static void forget_masks()
{
    masks.clear();
}

int texts_frame_done()
{
    if (++drawn_frames % MASK_IDLE_FRAMES)
        return 0;
    int gone = 0;
    for (auto it = masks.begin(); it != masks.end();) {
        if (drawn_frames - it->second.used <= MASK_IDLE_FRAMES) {
            ++it;
            continue;
        }
        it = masks.erase(it);
        gone++;
    }
    return gone;
}

int kept_texts()
{
    int n = 0;
    for (const auto &m : masks)
        n += !m.second.rects.empty();
    return n;
}

// 1 when the state is one the rectangles reproduce exactly.
static bool plain_state()
{
    static const GLenum off[] = {GL_TEXTURE_2D, GL_DEPTH_TEST, GL_ALPHA_TEST, GL_STENCIL_TEST, GL_SCISSOR_TEST,
                                 GL_LIGHTING, GL_FOG, GL_CULL_FACE, GL_POLYGON_STIPPLE, GL_COLOR_LOGIC_OP,
                                 GL_TEXTURE_1D};
    for (GLenum cap : off)
        if (glIsEnabled(cap))
            return false;
    if (glIsEnabled(GL_BLEND)) {
        GLint f[6];
        glGetIntegerv(GL_BLEND_SRC_RGB, f);
        glGetIntegerv(GL_BLEND_SRC_ALPHA, f + 1);
        glGetIntegerv(GL_BLEND_DST_RGB, f + 2);
        glGetIntegerv(GL_BLEND_DST_ALPHA, f + 3);
        glGetIntegerv(GL_BLEND_EQUATION_RGB, f + 4);
        glGetIntegerv(GL_BLEND_EQUATION_ALPHA, f + 5);
        if (f[0] != GL_SRC_ALPHA || f[1] != GL_SRC_ALPHA || f[2] != GL_ONE_MINUS_SRC_ALPHA ||
            f[3] != GL_ONE_MINUS_SRC_ALPHA || f[4] != GL_FUNC_ADD || f[5] != GL_FUNC_ADD)
            return false;
    }
    GLfloat colour[4];
    glGetFloatv(GL_CURRENT_COLOR, colour);
    GLboolean writes[4];
    glGetBooleanv(GL_COLOR_WRITEMASK, writes);
    GLint modes[2], samples;
    glGetIntegerv(GL_POLYGON_MODE, modes);
    glGetIntegerv(GL_SAMPLE_BUFFERS, &samples);
    return colour[3] == 1.0f && writes[0] && writes[1] && writes[2] && writes[3] && modes[0] == GL_FILL &&
           modes[1] == GL_FILL && samples == 0;
}

// The window rectangle the text's glyphs can reach, from their boxes through
// the matrices m (modelview) and p (projection); 0 when a corner lies behind the eye.
static bool text_rect(const glyph_triangles &g, const char *text, const GLfloat m[16], const GLfloat p[16],
                      const GLint view[4], int rect[4])
{
    float left = 1e9f, bottom = 1e9f, right = -1e9f, top = -1e9f, x = 0;
    for (const unsigned char *c = (const unsigned char *)text; *c; c++) {
        if (*c == GLYPHS)
            continue;
        if (g.count[*c]) {
            left = std::min(left, x + g.box[*c][0]), right = std::max(right, x + g.box[*c][2]);
            bottom = std::min(bottom, g.box[*c][1]), top = std::max(top, g.box[*c][3]);
        }
        x += g.advance[*c];
    }
    if (left > right) {
        rect[2] = rect[3] = 0;
        return true;
    }
    double lo[2] = {1e30, 1e30}, hi[2] = {-1e30, -1e30};
    for (int k = 0; k < 4; k++) {
        double v[4] = {k & 1 ? right : left, k & 2 ? top : bottom, 0, 1}, e[4], c[4];
        for (int r = 0; r < 4; r++)
            e[r] = m[r] * v[0] + m[4 + r] * v[1] + m[8 + r] * v[2] + m[12 + r] * v[3];
        for (int r = 0; r < 4; r++)
            c[r] = p[r] * e[0] + p[4 + r] * e[1] + p[8 + r] * e[2] + p[12 + r] * e[3];
        if (c[3] <= 1e-6)
            return false;
        for (int a = 0; a < 2; a++) {
            double w = view[a] + (c[a] / c[3] + 1) * 0.5 * view[2 + a];
            lo[a] = std::min(lo[a], w), hi[a] = std::max(hi[a], w);
        }
    }
    for (int a = 0; a < 2; a++) {
        double from = std::max(lo[a] - MASK_MARGIN, (double)view[a]);
        double to = std::min(hi[a] + MASK_MARGIN + 1, (double)(view[a] + view[2 + a]));
        rect[a] = (int)std::floor(from);
        rect[2 + a] = to > from ? (int)std::ceil(to) - rect[a] : 0;
    }
    return true;
}

// The covered pixels of a w x h rectangle at (x, y) as rectangles: each row's
// runs, a run going on from the same run in the row below.
static void covered_rects(const std::vector<unsigned char> &covered, int x, int y, int w, int h,
                          std::vector<GLshort> *rects)
{
    std::vector<size_t> open, next;   // rectangles whose top is the row below, left to right
    for (int row = 0; row < h; row++) {
        next.clear();
        size_t o = 0;
        for (int col = 0; col < w;) {
            if (!covered[(size_t)row * w + col]) {
                col++;
                continue;
            }
            int from = col;
            while (col < w && covered[(size_t)row * w + col])
                col++;
            GLshort left = (GLshort)(x + from), right = (GLshort)(x + col);
            while (o < open.size() && (*rects)[open[o]] < left)
                o++;
            if (o < open.size() && (*rects)[open[o]] == left && (*rects)[open[o] + 2] == right) {
                (*rects)[open[o] + 3]++;
                next.push_back(open[o++]);
                continue;
            }
            next.push_back(rects->size());
            rects->insert(rects->end(), {left, (GLshort)(y + row), right, (GLshort)(y + row + 1)});
        }
        open.swap(next);
    }
}

// Finds the pixels the text's glyphs cover in the frame being drawn, and
// leaves them in the current colour, as the glyphs would.
static text_mask make_mask(const glyph_triangles &g, const char *text)
{
    text_mask mask;
    GLfloat m[16], p[16], colour[4];
    GLint view[4], rect[4], draw_fb, read_fb, draw_buffer, read_buffer;
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    glGetFloatv(GL_PROJECTION_MATRIX, p);
    glGetIntegerv(GL_VIEWPORT, view);
    glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &draw_fb);
    glGetIntegerv(GL_READ_FRAMEBUFFER_BINDING, &read_fb);
    glGetIntegerv(GL_DRAW_BUFFER, &draw_buffer);
    glGetIntegerv(GL_READ_BUFFER, &read_buffer);
    if (view[0] != 0 || view[1] != 0 || draw_fb != read_fb || !text_rect(g, text, m, p, view, rect)) {
        draw_glyphs(g, text);
        return mask;
    }
    int w = rect[2], h = rect[3];
    std::vector<unsigned char> shown[2];
    glGetFloatv(GL_CURRENT_COLOR, colour);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glMatrixMode(GL_MODELVIEW);
    for (int k = 0; k < 2 && w > 0 && h > 0; k++) {
        glColor4f((GLfloat)k, (GLfloat)k, (GLfloat)k, 1.0f);
        glPushMatrix();
        draw_glyphs(g, text);
        glPopMatrix();
        shown[k].resize((size_t)w * h * 4);
        glReadBuffer(draw_buffer);   // the pixels just drawn, whichever buffer is read elsewhere
        glReadPixels(rect[0], rect[1], w, h, GL_RGBA, GL_UNSIGNED_BYTE, shown[k].data());
        glReadBuffer(read_buffer);
    }
    glColor4fv(colour);
    draw_glyphs(g, text);
    // A pixel covered at the rectangle's edge, where the glyphs may reach
    // beyond it, leaves the text to its glyphs.
    std::vector<unsigned char> covered((size_t)w * h);
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++) {
            size_t at = (size_t)y * w + x;
            covered[at] = memcmp(&shown[0][at * 4], &shown[1][at * 4], 4) != 0;
            if (covered[at] && (x == 0 || y == 0 || x == w - 1 || y == h - 1))
                return mask;
        }
    covered_rects(covered, rect[0], rect[1], w, h, &mask.rects);
    mask.kept = 1;
    return mask;
}

// The kept rectangles in the current colour and state, in window pixels.
static void draw_mask(const text_mask &mask)
{
    mask_corners.clear();
    for (size_t k = 0; k + 3 < mask.rects.size(); k += 4) {
        GLfloat l = mask.rects[k], b = mask.rects[k + 1], r = mask.rects[k + 2], t = mask.rects[k + 3];
        mask_corners.insert(mask_corners.end(), {l, b, 0, r, b, 0, r, t, 0, l, b, 0, r, t, 0, l, t, 0});
    }
    if (mask_corners.empty())
        return;
    begin_window_pixels();
    glPushClientAttrib(GL_CLIENT_VERTEX_ARRAY_BIT);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(3, GL_FLOAT, 0, mask_corners.data());
    glDrawArrays(GL_TRIANGLES, 0, (GLsizei)(mask_corners.size() / 3));
    glPopClientAttrib();
    end_window_pixels();
}

// The text in the font: from its kept rectangles when the state allows, else as glyphs.
static void print_text(const glyph_triangles &g, const char *text)
{
    if (!g.buffer || !*text)
        return;
    // A pass of play drawn in part prints a text again only where something
    // moved over it or where it changed, so a mask made there is seldom used again.
    if (pass_boxed || !plain_state()) {
        draw_glyphs(g, text);
        return;
    }
    GLfloat matrices[32];
    GLint view[4];
    glGetFloatv(GL_MODELVIEW_MATRIX, matrices);
    glGetFloatv(GL_PROJECTION_MATRIX, matrices + 16);
    glGetIntegerv(GL_VIEWPORT, view);
    std::string key((const char *)matrices, sizeof matrices);
    key.append((const char *)view, sizeof view);
    key.push_back((char)g.font);
    key.append(text);
    auto it = masks.find(key);
    if (it == masks.end()) {
        if (masks.size() >= MASKS_KEPT)
            forget_masks();
        text_mask first;
        first.seen = 1;
        first.used = drawn_frames;
        masks.emplace(key, first);
        draw_glyphs(g, text);
        return;
    }
    text_mask &mask = it->second;
    mask.used = drawn_frames;
    if (mask.seen) {
        mask = make_mask(g, text);   // leaves the text drawn and the matrix moved on
        mask.used = drawn_frames;
        return;
    }
    if (!mask.kept) {
        draw_glyphs(g, text);
        return;
    }
    draw_mask(mask);
    for (const unsigned char *c = (const unsigned char *)text; *c; c++)
        if (*c != GLYPHS)
            glTranslatef(g.advance[*c], 0.0f, 0.0f);
}

void glPrint(const char *fmt, ...)
{
    if (!fmt)
        return;
    char text[PRINT_BYTES];
    va_list ap;
    va_start(ap, fmt);
    vsnprintf(text, sizeof text, fmt, ap);
    va_end(ap);
    if (base)
        print_text(large_glyphs, text);
}

void glsPrint(const char *fmt, ...)
{
    if (!fmt)
        return;
    char text[PRINT_BYTES];
    va_list ap;
    va_start(ap, fmt);
    vsnprintf(text, sizeof text, fmt, ap);
    va_end(ap);
    glTranslatef(0.0f, 0.0f, -40.0f);
    if (sbase)
        print_text(small_glyphs, text);
}
