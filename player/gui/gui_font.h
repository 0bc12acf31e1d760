// GUIFont: the first 256 character codes of a font file, rasterised once with FreeType into a 16 x 16 grid
// of size x size cells in one RGBA texture (white texels, coverage in alpha). Text is drawn as one
// textured quad per character through the current GLStateContext.
//
// Contracts
//  - Construction needs a current GL context and a current GLStateContext; it throws BasicException
//    with the font's own message on any failure and then holds nothing.
//  - Fonts are normally obtained from GUIPainter::AcquireFont and handed back with ReleaseFont.
//  - Positions are in pixels with y growing downwards; y is the top of the text line, the baseline lies
//    at y + 2 * size / 3.
#pragma once

#include <cstdint>
#include <string>

class GUIFont
{
public:
    // `name` is a file name; a name without '/' is looked for as described at gui_find_font_file.
    GUIFont(const char* name, int size);
    ~GUIFont();
    GUIFont(const GUIFont&) = delete;
    GUIFont& operator=(const GUIFont&) = delete;

    // Draws the text with the pen starting at x; returns the number of characters. With skipBlanks,
    // spaces, tabs, newlines and carriage returns advance the pen but draw nothing.
    int DrawText(int x, int y, const char* text, uint32_t colour, bool skipBlanks, float depth) const;
    // Width in whole pixels of `count` characters from `first` (count -1: to the end of the text).
    int TextWidth(const char* text, int first, int count) const;
    void DrawGlyph(int x, int y, unsigned char code, uint32_t colour, float depth) const;

    const std::string& name() const { return name_; }
    int size() const { return size_; }
    int atlasSide() const { return side_; }
    uint32_t texture() const { return texture_; }
    // Horizontal advance of a code, 16.16 fixed-point pixels; 0 for codes the font does not contain.
    int32_t advance(unsigned char code) const { return advance_[code]; }

    // Fonts alive in this process (every successfully built atlas until it is destroyed).
    static int fontsInUse();

private:
    std::string name_;
    int size_ = 0;
    int side_ = 0;
    int32_t advance_[256] = {};
    int16_t left_[256] = {};
    int16_t top_[256] = {};
    int16_t width_[256] = {};
    int16_t height_[256] = {};
    uint32_t texture_ = 0;
};

// Resolves a font file name: a name containing '/' is used as given; otherwise the current directory,
// the folder of the running program and /usr/share/fonts/truetype/freefont/ are tried in that order.
// Returns the name unchanged when none of them holds the file.
std::string gui_find_font_file(const char* name);
