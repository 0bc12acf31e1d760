// GUIPainter: the one process-wide object all toolkit drawing goes through. It draws coloured 2D
// primitives with immediate-mode GL, keeps the clip stack and hands out fonts.
//
// Contracts
//  - Needs a current GL context and a current GLStateContext whenever it draws or creates a font.
//  - Coordinates are pixels with y growing downwards (the projection the setup window pushes).
//    Points and lines are placed on pixel centres, so a line of length n covers n pixels.
//  - Colours are 0xAARRGGBB. Every primitive sets its colour through the cache as a push and pops it
//    afterwards, so it leaves the GL state as it found it.
//  - Fonts: AcquireFont pairs with ReleaseFont. The painter owns the fonts it hands out; a font lives
//    until its last release (or until the painter is destroyed).
#pragma once

#include "gui_clip_stack.h"

#include <cstdint>
#include <string>

class GUIFont;

class GUIPainter
{
public:
    static constexpr int kMaxFonts = 32;

    GUIPainter();
    virtual ~GUIPainter();
    GUIPainter(const GUIPainter&) = delete;
    GUIPainter& operator=(const GUIPainter&) = delete;

    virtual void Point(int x, int y, uint32_t colour);
    // From (x, y) to (x + length, y).
    virtual void HorizontalLine(int x, int y, int length, uint32_t colour);
    // From (x, y) to (x, y + length).
    virtual void VerticalLine(int x, int y, int length, uint32_t colour);
    // A triangle strip through (x, y), (x + width, y), (x, y + height - 1), (x + width, y + height - 1).
    virtual void FillRect(int x, int y, int width, int height, uint32_t colour);
    // A line loop through (x, y), (x + width - 1, y), (x + width - 1, y + height - 1), (x, y + height - 1).
    virtual void OutlineRect(int x, int y, int width, int height, uint32_t colour);
    virtual void Line(int x1, int y1, int x2, int y2, uint32_t colour);
    // Top and left edges from (x, y) in `light`; the bottom edge at y + height and the right edge at
    // x + width in `dark`. A widget w x h framed inside its area passes w - 1 and h - 1.
    virtual void Frame(int x, int y, int width, int height, uint32_t light, uint32_t dark);
    // Inclusive limits; see GUIClipStack.
    virtual void PushClip(int left, int right, int top, int bottom);
    virtual void PopClip();
    virtual void SetDefaultFontSize(int size);
    virtual int GetDefaultFontSize() const;
    virtual const char* GetDefaultFontName() const;
    // Returns the cached font of that name and size, or creates it (an empty or null name means the
    // default name, size 0 the default size). Throws BasicException when 32 fonts are already in use or
    // the font cannot be created.
    virtual GUIFont* AcquireFont(const char* name, int size);
    // Hands a font back; the last release destroys it. Unknown fonts and null are ignored.
    virtual void ReleaseFont(GUIFont* font);
    // Builds a new font, not cached.
    virtual GUIFont* CreateFont(const char* name, int size);

    const GUIClipStack& clipStack() const { return clip_; }
    int cachedFonts() const { return fontCount_; }
    int references(const GUIFont* font) const;

private:
    std::string defaultFontName_ = "FreeSerif.ttf";
    int defaultFontSize_ = 14;
    GUIClipStack clip_;
    struct CacheEntry {
        GUIFont* font;
        int references;
    };
    CacheEntry fonts_[kMaxFonts] = {};
    int fontCount_ = 0;
};

// The current painter, or null before one is installed.
GUIPainter* gui_painter();
// Installs `painter` as the current one (taking ownership) and deletes the one installed before.
void gui_install_painter(GUIPainter* painter);
