// The two outline fonts: glyph outlines from FreeType, filled by the GLU
// tessellator into a vertex buffer in em units, and the printf-style printers.

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
#include <deque>
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
};
static glyph_triangles large_glyphs, small_glyphs;
static std::vector<GLfloat> triangles;     // the font being built: every glyph's triangles
static GLenum prim_type;                   // the tessellator's primitive being handed over
static std::vector<point> prim;            // its vertices so far

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
}

void KillsFont()
{
    sbase = 0;
    glDeleteBuffers(1, &small_glyphs.buffer);
    small_glyphs.buffer = 0;
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

// The text in the font, each glyph moved on by the advances before it.
static void print_text(const glyph_triangles &g, const char *text)
{
    if (g.buffer && *text)
        draw_glyphs(g, text);
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
