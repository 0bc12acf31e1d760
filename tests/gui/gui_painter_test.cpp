// The painter's primitives, clip stack and font cache, and the FreeType font atlases, on real GL pixels.
#include "gui_fixture.h"

#include "gui_font.h"
#include "gui_painter.h"
#include "vortel/plugin.h"

#include <GL/glew.h>
#include <cstdio>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace
{

constexpr uint32_t kRed = 0xFFFF0000;
constexpr uint32_t kGreen = 0xFF00FF00;
constexpr uint32_t kWhite = 0xFFFFFFFF;

// Bounding box of the lit pixels; empty (right < left) when nothing is lit.
struct Box {
    int left = 1 << 30, right = -1, top = 1 << 30, bottom = -1;
    bool empty() const { return right < left; }
};

Box lit_box(const Picture& p)
{
    Box b;
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x)
            if (lit(p, x, y)) {
                b.left = std::min(b.left, x);
                b.right = std::max(b.right, x);
                b.top = std::min(b.top, y);
                b.bottom = std::max(b.bottom, y);
            }
    return b;
}

std::string exception_text(const std::function<void()>& action)
{
    try {
        action();
    } catch (const BasicException& e) {
        return e.message;
    }
    return "(no exception)";
}

} // namespace

using PainterPrimitives = GuiFixture;

TEST_F(PainterPrimitives, FillLinesAndFramesLandOnTheirPixels)
{
    painter_->FillRect(10, 20, 30, 11, kRed); // rows 20..29: the strip ends at y + height - 1
    painter_->HorizontalLine(100, 50, 20, kGreen);
    painter_->VerticalLine(150, 60, 15, kGreen);
    painter_->Frame(200, 100, 40, 30, kWhite, kRed);
    painter_->Point(5, 5, kWhite);
    const Picture p = Screen();
    Save(p, "painter_primitives");

    EXPECT_EQ(p.at(10, 20), kRed);
    EXPECT_EQ(p.at(39, 29), kRed);
    EXPECT_FALSE(lit(p, 40, 25));
    EXPECT_FALSE(lit(p, 25, 30));
    EXPECT_FALSE(lit(p, 9, 25));

    int lineLength = 0;
    for (int x = 90; x < 130; ++x)
        lineLength += lit(p, x, 50);
    EXPECT_EQ(lineLength, 20);
    EXPECT_EQ(p.at(100, 50), kGreen);
    int columnLength = 0;
    for (int y = 50; y < 90; ++y)
        columnLength += lit(p, 150, y);
    EXPECT_EQ(columnLength, 15);

    EXPECT_EQ(p.at(205, 100), kWhite); // top edge light
    EXPECT_EQ(p.at(200, 110), kWhite); // left edge light
    EXPECT_EQ(p.at(205, 130), kRed);   // bottom edge dark, at y + height
    EXPECT_EQ(p.at(240, 110), kRed);   // right edge dark, at x + width
    EXPECT_FALSE(lit(p, 220, 115));    // the inside stays empty
    EXPECT_EQ(p.at(5, 5), kWhite);
}

TEST_F(PainterPrimitives, LeaveTheColourAndBlendStateAsTheyFoundIt)
{
    const uint32_t colour = gls_get(Color);
    painter_->FillRect(0, 0, 10, 10, kRed);
    painter_->OutlineRect(0, 0, 10, 10, kGreen);
    painter_->Line(0, 0, 50, 50, kGreen);
    GUIFont* font = painter_->AcquireFont("", 0);
    font->DrawText(10, 10, "Abc", kRed, false, 0.0f);
    EXPECT_EQ(gls_get(Color), colour);
    EXPECT_EQ(gls_get(BlendEnable), 0u);
    EXPECT_EQ(context_->boundTexture[context_->boundTextureDepth], 0u);
    EXPECT_FALSE(context_->textureEnable[context_->textureEnableDepth]);
    GLint bound = -1;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(bound, 0) << "the cache and GL disagree about the bound texture";
    painter_->ReleaseFont(font);
}

using PainterClip = GuiFixture;

TEST_F(PainterClip, ClipsToTheAreaAndANestedWiderAreaDoesNotWidenIt)
{
    painter_->PushClip(50, 100, 60, 120);
    painter_->PushClip(0, 320, 0, 240); // wider than its parent
    painter_->FillRect(0, 0, 320, 241, kRed);
    const Picture p = Screen();
    Save(p, "painter_nested_clip");
    const Box b = lit_box(p);
    EXPECT_GE(b.left, 50);
    EXPECT_LE(b.right, 100);
    EXPECT_GE(b.top, 60);
    EXPECT_LE(b.bottom, 120);
    EXPECT_EQ(p.at(75, 90), kRed);

    painter_->PopClip();
    painter_->PushClip(70, 300, 0, 200); // narrows only the left edge
    glClear(GL_COLOR_BUFFER_BIT);
    painter_->FillRect(0, 0, 320, 241, kRed);
    const Box narrowed = lit_box(Screen());
    EXPECT_GE(narrowed.left, 70);
    EXPECT_LE(narrowed.right, 100);
    EXPECT_LE(narrowed.bottom, 120);
    painter_->PopClip();
    painter_->PopClip();
    EXPECT_EQ(painter_->clipStack().depth(), 1);
}

TEST_F(PainterClip, PopRestoresEveryPlaneAndTheLastPopSwitchesThemOff)
{
    painter_->PopClip(); // the fixture's window clip
    EXPECT_EQ(gls_get(ClipEnable), 0u);
    const uint32_t base[4] = {gls_get(ClipMinX), gls_get(ClipMaxX), gls_get(ClipMinY), gls_get(ClipMaxY)};

    painter_->PushClip(10, 200, 20, 150);
    EXPECT_EQ(gls_get(ClipEnable), 1u);
    // Far deeper than the cache's 32 entries per plane: every level narrows every plane.
    for (int i = 1; i <= 100; ++i)
        painter_->PushClip(10 + i, 200 - i, 20 + i / 2, 150 - i / 2);
    EXPECT_EQ(painter_->clipStack().top().left, 110);
    EXPECT_EQ(int32_t(gls_get(ClipMinX)), 110);
    EXPECT_EQ(int32_t(gls_get(ClipMaxY)), 100);
    for (int i = 0; i < 100; ++i)
        painter_->PopClip();
    EXPECT_EQ(int32_t(gls_get(ClipMinX)), 10);
    EXPECT_EQ(int32_t(gls_get(ClipMaxX)), 200);
    painter_->PopClip();
    EXPECT_EQ(gls_get(ClipEnable), 0u);
    const uint32_t after[4] = {gls_get(ClipMinX), gls_get(ClipMaxX), gls_get(ClipMinY), gls_get(ClipMaxY)};
    EXPECT_EQ(std::vector<uint32_t>(base, base + 4), std::vector<uint32_t>(after, after + 4));

    // With the planes off, drawing reaches the whole window again.
    painter_->FillRect(0, 0, 320, 241, kRed);
    const Picture p = Screen();
    EXPECT_EQ(p.at(0, 0), kRed);
    EXPECT_EQ(p.at(319, 239), kRed);
    painter_->PushClip(0, kWidth, 0, kHeight); // what TearDown expects to find
}

TEST_F(PainterClip, RefusesMoreThan255LevelsAndAPopOnAnEmptyStack)
{
    for (int i = 1; i < GUIClipStack::kMaxLevels; ++i)
        painter_->PushClip(0, 320, 0, 240);
    EXPECT_EQ(painter_->clipStack().depth(), 255);
    EXPECT_NE(exception_text([&] { painter_->PushClip(0, 320, 0, 240); }), "(no exception)");
    while (painter_->clipStack().depth() > 0)
        painter_->PopClip();
    EXPECT_NE(exception_text([&] { painter_->PopClip(); }), "(no exception)");
    painter_->PushClip(0, kWidth, 0, kHeight);
}

using FontAtlas = GuiFixture;

TEST_F(FontAtlas, SideIsThePowerOfTwoAbove16Cells)
{
    GUIFont* f16 = painter_->AcquireFont("", 16);
    GUIFont* f14 = painter_->AcquireFont("", 14);
    GUIFont* f20 = painter_->AcquireFont("", 20);
    EXPECT_EQ(f16->atlasSide(), 256);
    EXPECT_EQ(f14->atlasSide(), 256);
    EXPECT_EQ(f20->atlasSide(), 512);

    // The texture really is side x side and holds white texels whose alpha is the coverage.
    GLint w = 0, h = 0;
    gls_push_texture_enable(true);
    gls_push_bind_texture(f16->texture());
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &w);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &h);
    std::vector<uint8_t> texels(size_t(w) * h * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    gls_pop_bind_texture();
    gls_pop_texture_enable();
    EXPECT_EQ(w, 256);
    EXPECT_EQ(h, 256);
    // Cell of 'M' (code 77): column 13, row 4.
    int covered = 0, nonWhite = 0;
    for (int y = 4 * 16; y < 5 * 16; ++y)
        for (int x = 13 * 16; x < 14 * 16; ++x) {
            const uint8_t* t = &texels[(size_t(y) * w + x) * 4];
            covered += t[3] > 128;
            nonWhite += t[3] && (t[0] != 255 || t[1] != 255 || t[2] != 255);
        }
    EXPECT_GT(covered, 20);
    EXPECT_EQ(nonWhite, 0);
    painter_->ReleaseFont(f16);
    painter_->ReleaseFont(f14);
    painter_->ReleaseFont(f20);
}

TEST_F(FontAtlas, TextIsDrawnUprightWithinItsMeasuredWidth)
{
    GUIFont* font = painter_->AcquireFont("", 16);
    const int width = font->TextWidth("TTT", 0, -1);
    EXPECT_EQ(font->DrawText(40, 50, "TTT", kWhite, false, 0.0f), 3);
    const Picture p = Screen();
    Save(p, "font_text");
    const Box b = lit_box(p);
    ASSERT_FALSE(b.empty());
    EXPECT_GE(b.left, 40);
    EXPECT_LE(b.right, 40 + width + 1);
    EXPECT_GE(b.top, 48); // accents of capitals may reach just above the line box
    EXPECT_LE(b.bottom, 50 + 16);
    // A 'T' is widest at its top: the bar must be above the stem.
    int topRow = 0, bottomRow = 0;
    for (int x = b.left; x <= b.right; ++x) {
        topRow += lit(p, x, b.top + 1);
        bottomRow += lit(p, x, b.bottom - 1);
    }
    EXPECT_GT(topRow, 2 * bottomRow);
    painter_->ReleaseFont(font);
}

TEST_F(FontAtlas, CharactersTheFontLacksTakeNoSpaceAndDrawNothing)
{
    GUIFont* font = painter_->AcquireFont("", 16);
    EXPECT_EQ(font->advance(1), 0);
    EXPECT_EQ(font->TextWidth("A\x01\x02\x1f"
                              "B",
                              0, -1),
              font->TextWidth("AB", 0, -1));
    font->DrawText(20, 20,
                   "A\x01\x02"
                   "B",
                   kWhite, false, 0.0f);
    const Picture with = Screen();
    glClear(GL_COLOR_BUFFER_BIT);
    font->DrawText(20, 20, "AB", kWhite, false, 0.0f);
    const Picture without = Screen();
    EXPECT_EQ(with.rgba, without.rgba);
    painter_->ReleaseFont(font);
}

TEST_F(FontAtlas, WidthCountsAPartOfTheTextAndBlanksStillAdvance)
{
    GUIFont* font = painter_->AcquireFont("", 16);
    const char* text = "Start Demo";
    EXPECT_EQ(font->TextWidth(text, 0, -1), font->TextWidth(text, 0, 10));
    EXPECT_EQ(font->TextWidth(text, 0, 99), font->TextWidth(text, 0, -1));
    EXPECT_LT(font->TextWidth(text, 6, -1), font->TextWidth(text, 0, -1));
    EXPECT_EQ(font->TextWidth(text, 10, -1), 0);
    EXPECT_EQ(font->TextWidth(text, 50, 3), 0);
    EXPECT_GT(font->TextWidth(" ", 0, -1), 0);

    // Skipping blanks draws the same picture as drawing them (a space has no texels).
    font->DrawText(10, 10, "a b\tc", kWhite, true, 0.0f);
    const Picture skipped = Screen();
    glClear(GL_COLOR_BUFFER_BIT);
    font->DrawText(10, 10, "a b\tc", kWhite, false, 0.0f);
    EXPECT_EQ(Screen().rgba, skipped.rgba);
    painter_->ReleaseFont(font);
}

using FontCache = GuiFixture;

TEST_F(FontCache, SameNameAndSizeShareOneFontUntilTheLastRelease)
{
    const int before = GUIFont::fontsInUse();
    GUIFont* a = painter_->AcquireFont("FreeSerif.ttf", 16);
    GUIFont* b = painter_->AcquireFont("", 0); // default name, default size 16
    EXPECT_EQ(a, b);
    EXPECT_EQ(painter_->references(a), 2);
    EXPECT_EQ(GUIFont::fontsInUse(), before + 1);
    GUIFont* other = painter_->AcquireFont("", 14);
    EXPECT_NE(other, a);

    painter_->ReleaseFont(a);
    EXPECT_EQ(painter_->references(a), 1);
    EXPECT_EQ(GUIFont::fontsInUse(), before + 2);
    painter_->ReleaseFont(b);
    EXPECT_EQ(GUIFont::fontsInUse(), before + 1);
    EXPECT_EQ(painter_->cachedFonts(), 1);
    EXPECT_EQ(painter_->AcquireFont("", 14), other) << "the moved cache entry is still found";
    painter_->ReleaseFont(other);
    painter_->ReleaseFont(other);
    painter_->ReleaseFont(nullptr); // ignored
    EXPECT_EQ(painter_->cachedFonts(), 0);
}

TEST_F(FontCache, RefusesA33rdFont)
{
    std::vector<GUIFont*> fonts;
    for (int size = 4; size < 4 + GUIPainter::kMaxFonts; ++size)
        fonts.push_back(painter_->AcquireFont("", size));
    EXPECT_EQ(exception_text([&] { painter_->AcquireFont("", 40); }),
              "Too much fonts used simultaneously!\n");
    // An already cached font is still handed out.
    GUIFont* again = painter_->AcquireFont("", 4);
    EXPECT_EQ(again, fonts[0]);
    painter_->ReleaseFont(again);
    for (GUIFont* f : fonts)
        painter_->ReleaseFont(f);
    EXPECT_EQ(painter_->cachedFonts(), 0);
}

TEST_F(FontCache, BadFontsRaiseTheirMessagesAndLeaveTheCacheEmpty)
{
    const int before = GUIFont::fontsInUse();
    EXPECT_EQ(exception_text([&] { painter_->AcquireFont("NoSuchFont.ttf", 16); }),
              "Error 1 during opening of font NoSuchFont.ttf!\n");
    {
        std::ofstream junk("not_a_font.ttf");
        junk << "this is not a font file\n";
    }
    EXPECT_EQ(exception_text([&] { painter_->AcquireFont("./not_a_font.ttf", 16); }),
              "Font ./not_a_font.ttf is in an unsupported font format!\n");
    EXPECT_EQ(exception_text([&] { painter_->AcquireFont("", -3); }),
              "Couldn't set size -3 for font FreeSerif.ttf!\n");
    EXPECT_EQ(exception_text([&] { painter_->AcquireFont("", 100000); }),
              "Couldn't set size 100000 for font FreeSerif.ttf!\n");
    EXPECT_EQ(painter_->cachedFonts(), 0);
    EXPECT_EQ(GUIFont::fontsInUse(), before);
}

TEST(FontFile, IsFoundInTheSystemFontFolderWhenNotBesideUs)
{
    EXPECT_EQ(gui_find_font_file("FreeSerif.ttf"), "/usr/share/fonts/truetype/freefont/FreeSerif.ttf");
    EXPECT_EQ(gui_find_font_file("dir/Font.ttf"), "dir/Font.ttf");
    EXPECT_EQ(gui_find_font_file("Missing.ttf"), "Missing.ttf");
}
