#include "gui_font.h"

#include "glstate.h"
#include "gui_messages.h"
#include "vortel/plugin.h"

#include <GL/glew.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <climits>
#include <memory>
#include <new>
#include <unistd.h>
#include <vector>

namespace
{

FT_Library g_freetype = nullptr;
int g_fontsInUse = 0;

FT_Library freetype()
{
    if (!g_freetype) {
        FT_Error error = FT_Init_FreeType(&g_freetype);
        if (error) {
            g_freetype = nullptr;
            throw BasicException::format(gui_msg::kFreeTypeInit, error);
        }
    }
    return g_freetype;
}

bool file_exists(const std::string& path)
{
    return access(path.c_str(), R_OK) == 0;
}

std::string program_folder()
{
    char path[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", path, sizeof(path) - 1);
    if (n <= 0)
        return std::string();
    std::string exe(path, size_t(n));
    size_t slash = exe.rfind('/');
    return slash == std::string::npos ? std::string() : exe.substr(0, slash + 1);
}

int smallest_power_of_two_not_below(long value)
{
    int side = 1;
    while (side < value)
        side *= 2;
    return side;
}

struct FaceCloser {
    void operator()(FT_FaceRec_* face) const { FT_Done_Face(face); }
};

// Coverage of bitmap texel (col, row), row 0 at the top whatever the sign of the pitch.
uint8_t coverage(const FT_Bitmap& bitmap, int col, int row)
{
    const int pitch = bitmap.pitch;
    const unsigned char* line =
        pitch >= 0 ? bitmap.buffer + row * pitch : bitmap.buffer + (int(bitmap.rows) - 1 - row) * -pitch;
    if (bitmap.pixel_mode == FT_PIXEL_MODE_MONO)
        return (line[col >> 3] & (0x80 >> (col & 7))) ? 255 : 0;
    return line[col];
}

bool is_blank(unsigned char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

} // namespace

std::string gui_find_font_file(const char* name)
{
    std::string given(name ? name : "");
    if (given.empty() || given.find('/') != std::string::npos)
        return given;
    const std::string candidates[] = {given, program_folder() + given,
                                      "/usr/share/fonts/truetype/freefont/" + given};
    for (const std::string& candidate : candidates)
        if (file_exists(candidate))
            return candidate;
    return given;
}

int GUIFont::fontsInUse()
{
    return g_fontsInUse;
}

GUIFont::GUIFont(const char* name, int size) : name_(name ? name : ""), size_(size)
{
    FT_Library library = freetype();

    FT_Face rawFace = nullptr;
    const std::string path = gui_find_font_file(name_.c_str());
    FT_Error error = FT_New_Face(library, path.c_str(), 0, &rawFace);
    if (error == FT_Err_Unknown_File_Format)
        throw BasicException::format(gui_msg::kUnsupportedFormat, name_.c_str());
    if (error)
        throw BasicException::format(gui_msg::kOpenError, error, name_.c_str());
    std::unique_ptr<FT_FaceRec_, FaceCloser> face(rawFace);

    // A size whose atlas GL cannot hold would only ever draw nothing; refuse it like a size FreeType refuses.
    GLint maxTexture = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxTexture);
    if (size <= 0 || (maxTexture > 0 && 16L * size > maxTexture) || FT_Set_Pixel_Sizes(face.get(), 0, size))
        throw BasicException::format(gui_msg::kSetSize, size, name_.c_str());

    side_ = smallest_power_of_two_not_below(16L * size);
    std::unique_ptr<uint32_t[]> texels(new (std::nothrow) uint32_t[size_t(side_) * side_]());
    if (!texels)
        throw BasicException::format(gui_msg::kNoMemory, name_.c_str());

    for (int code = 0; code < 256; ++code) {
        // A code without a glyph of its own would render the font's placeholder: it gets no space at all.
        if (FT_Get_Char_Index(face.get(), FT_ULong(code)) == 0 ||
            FT_Load_Char(face.get(), FT_ULong(code), FT_LOAD_RENDER))
            continue;
        const FT_GlyphSlot glyph = face->glyph;
        const FT_Bitmap& bitmap = glyph->bitmap;
        advance_[code] = int32_t(glyph->linearHoriAdvance);
        left_[code] = int16_t(glyph->bitmap_left);
        top_[code] = int16_t(glyph->bitmap_top);
        // Tall or wide glyphs (accents, descenders) are cut at their cell so they never spill into a
        // neighbour or past the atlas; the quad uses the same cut size.
        const int w = std::min(int(bitmap.width), size);
        const int h = std::min(int(bitmap.rows), size);
        width_[code] = int16_t(w);
        height_[code] = int16_t(h);
        const int cellX = size * (code % 16), cellY = size * (code / 16);
        for (int row = 0; row < h; ++row)
            for (int col = 0; col < w; ++col)
                texels[size_t(cellY + row) * side_ + cellX + col] =
                    (uint32_t(coverage(bitmap, col, row)) << 24) | 0xFFFFFFu;
    }

    gls_push_texture_enable(true);
    glGenTextures(1, &texture_);
    // Bound through the cache so that its idea of the bound texture stays true afterwards.
    gls_push_bind_texture(texture_);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glTexImage2D(GL_TEXTURE_2D, 0, 4, side_, side_, 0, GL_BGRA, GL_UNSIGNED_BYTE, texels.get());
    gls_pop_bind_texture();
    gls_pop_texture_enable();
    ++g_fontsInUse;
}

GUIFont::~GUIFont()
{
    glDeleteTextures(1, &texture_);
    --g_fontsInUse;
}

int GUIFont::DrawText(int x, int y, const char* text, uint32_t colour, bool skipBlanks, float depth) const
{
    if (!text)
        return 0;
    int64_t pen = int64_t(x) * 64;
    int count = 0;
    for (; text[count]; ++count) {
        const unsigned char code = static_cast<unsigned char>(text[count]);
        if (!(skipBlanks && is_blank(code)))
            DrawGlyph(int(pen / 64), y, code, colour, depth);
        pen += advance_[code] >> 10;
    }
    return count;
}

int GUIFont::TextWidth(const char* text, int first, int count) const
{
    if (!text || first < 0)
        return 0;
    const size_t length = std::char_traits<char>::length(text);
    if (size_t(first) >= length)
        return 0;
    size_t end = count < 0 ? length : std::min(length, size_t(first) + size_t(count));
    int64_t sum = 0;
    for (size_t i = size_t(first); i < end; ++i)
        sum += advance_[static_cast<unsigned char>(text[i])] >> 10;
    return int(sum / 64);
}

void GUIFont::DrawGlyph(int x, int y, unsigned char code, uint32_t colour, float depth) const
{
    if (width_[code] == 0 || height_[code] == 0)
        return;
    gls_push_texture_enable(true);
    gls_push_bind_texture(texture_);
    gls_push(BlendEnable, 1);
    gls_push(BlendSrc, GL_SRC_ALPHA);
    gls_push(BlendDst, GL_ONE_MINUS_SRC_ALPHA);
    // The colour goes through the cache too: a direct glColor would leave it believing another colour.
    gls_push(Color, colour);

    const float side = float(side_);
    const float s0 = float(size_ * (code % 16)) / side, t0 = float(size_ * (code / 16)) / side;
    const float s1 = s0 + float(width_[code]) / side, t1 = t0 + float(height_[code]) / side;
    const float L = float(x + left_[code]);
    const float T = float(y + (2 * size_) / 3 - top_[code]);
    const float R = L + float(width_[code]), B = T + float(height_[code]);
    glBegin(GL_QUADS);
    glNormal3f(0.0f, 0.0f, 1.0f);
    glTexCoord2f(s0, t1);
    glVertex3f(L, B, depth);
    glTexCoord2f(s1, t1);
    glVertex3f(R, B, depth);
    glTexCoord2f(s1, t0);
    glVertex3f(R, T, depth);
    glTexCoord2f(s0, t0);
    glVertex3f(L, T, depth);
    glEnd();

    gls_pop(Color);
    gls_pop(BlendSrc);
    gls_pop(BlendDst);
    gls_pop(BlendEnable);
    gls_pop_texture_enable();
    gls_pop_bind_texture();
}
