#include "gui_painter.h"

#include "glstate.h"
#include "gui_font.h"
#include "gui_messages.h"
#include "vortel/plugin.h"

#include <GL/glew.h>

namespace
{

GUIPainter* g_painter = nullptr;

// Pixel centres: an integer coordinate names a pixel, and lines through centres hit it for sure.
constexpr float kCentre = 0.5f;

class ColourScope
{
public:
    explicit ColourScope(uint32_t colour) { gls_push(Color, colour); }
    ~ColourScope() { gls_pop(Color); }
};

void vertex_at_centre(int x, int y)
{
    glVertex2f(float(x) + kCentre, float(y) + kCentre);
}

} // namespace

GUIPainter* gui_painter()
{
    return g_painter;
}

void gui_install_painter(GUIPainter* painter)
{
    GUIPainter* previous = g_painter;
    g_painter = painter;
    if (previous != painter)
        delete previous;
}

GUIPainter::GUIPainter() = default;

GUIPainter::~GUIPainter()
{
    for (int i = 0; i < fontCount_; ++i)
        delete fonts_[i].font;
    if (g_painter == this)
        g_painter = nullptr;
}

void GUIPainter::Point(int x, int y, uint32_t colour)
{
    ColourScope scope(colour);
    glBegin(GL_POINTS);
    vertex_at_centre(x, y);
    glEnd();
}

void GUIPainter::HorizontalLine(int x, int y, int length, uint32_t colour)
{
    Line(x, y, x + length, y, colour);
}

void GUIPainter::VerticalLine(int x, int y, int length, uint32_t colour)
{
    Line(x, y, x, y + length, colour);
}

void GUIPainter::FillRect(int x, int y, int width, int height, uint32_t colour)
{
    ColourScope scope(colour);
    glBegin(GL_TRIANGLE_STRIP);
    glVertex2i(x, y);
    glVertex2i(x + width, y);
    glVertex2i(x, y + height - 1);
    glVertex2i(x + width, y + height - 1);
    glEnd();
}

void GUIPainter::OutlineRect(int x, int y, int width, int height, uint32_t colour)
{
    ColourScope scope(colour);
    glBegin(GL_LINE_LOOP);
    vertex_at_centre(x, y);
    vertex_at_centre(x + width - 1, y);
    vertex_at_centre(x + width - 1, y + height - 1);
    vertex_at_centre(x, y + height - 1);
    glEnd();
}

void GUIPainter::Line(int x1, int y1, int x2, int y2, uint32_t colour)
{
    ColourScope scope(colour);
    glBegin(GL_LINES);
    vertex_at_centre(x1, y1);
    vertex_at_centre(x2, y2);
    glEnd();
}

void GUIPainter::Frame(int x, int y, int width, int height, uint32_t light, uint32_t dark)
{
    HorizontalLine(x, y, width, light);
    VerticalLine(x, y, height, light);
    HorizontalLine(x, y + height, width, dark);
    VerticalLine(x + width, y, height, dark);
}

void GUIPainter::PushClip(int left, int right, int top, int bottom)
{
    clip_.Push(left, right, top, bottom);
}

void GUIPainter::PopClip()
{
    clip_.Pop();
}

void GUIPainter::SetDefaultFontSize(int size)
{
    defaultFontSize_ = size;
}

int GUIPainter::GetDefaultFontSize() const
{
    return defaultFontSize_;
}

const char* GUIPainter::GetDefaultFontName() const
{
    return defaultFontName_.c_str();
}

GUIFont* GUIPainter::AcquireFont(const char* name, int size)
{
    if (!name || !*name)
        name = GetDefaultFontName();
    if (size == 0)
        size = GetDefaultFontSize();
    for (int i = 0; i < fontCount_; ++i) {
        if (fonts_[i].font->size() == size && fonts_[i].font->name() == name) {
            ++fonts_[i].references;
            return fonts_[i].font;
        }
    }
    if (fontCount_ >= kMaxFonts)
        throw BasicException(gui_msg::kTooManyFonts);
    GUIFont* font = CreateFont(name, size);
    fonts_[fontCount_++] = CacheEntry{font, 1};
    return font;
}

void GUIPainter::ReleaseFont(GUIFont* font)
{
    for (int i = 0; i < fontCount_; ++i) {
        if (fonts_[i].font != font)
            continue;
        if (--fonts_[i].references == 0) {
            delete font;
            fonts_[i] = fonts_[--fontCount_];
        }
        return;
    }
}

GUIFont* GUIPainter::CreateFont(const char* name, int size)
{
    return new GUIFont(name, size);
}

int GUIPainter::references(const GUIFont* font) const
{
    for (int i = 0; i < fontCount_; ++i)
        if (fonts_[i].font == font)
            return fonts_[i].references;
    return 0;
}
