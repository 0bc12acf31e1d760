// Texture on real GL: 0xAARRGGBB words in, the same colours out, and the state cache kept true.
#include <GL/glew.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <vector>

#include "gl_cache_check.h"
#include "gl_window.h"
#include "glstate.h"
#include "texture.h"

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace
{

class TextureOnGL : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(window.ok());
        gls_make_current(&ctx);
    }
    void TearDown() override { gls_make_current(nullptr); }

    // The texture's level 0 as 0xAARRGGBB words, rows bottom-up as uploaded.
    static std::vector<uint32_t> read_back(const Texture& t)
    {
        std::vector<uint32_t> words(size_t(t.width) * t.height);
        GLint previous = 0;
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &previous);
        glBindTexture(GL_TEXTURE_2D, t.id);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_BGRA, GL_UNSIGNED_BYTE, words.data());
        glBindTexture(GL_TEXTURE_2D, previous);
        return words;
    }
    static GLint level_size(const Texture& t, GLenum what)
    {
        GLint value = -1;
        glBindTexture(GL_TEXTURE_2D, t.id);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, what, &value);
        return value;
    }

    GLWindow window{64, 64};
    GLStateContext ctx{64, 64};
};

TEST_F(TextureOnGL, PixelsAreTakenAsAARRGGBBWords)
{
    const uint32_t pixels[4] = {0xFF102030, 0x80FF0000, 0x0000FF00, 0xFFFFFFFF};
    Texture t(pixels, 2, 2);
    EXPECT_NE(t.id, 0u);
    EXPECT_EQ(t.target, uint32_t(GL_TEXTURE_2D));
    EXPECT_EQ(t.minFilter, uint32_t(GL_LINEAR));
    EXPECT_EQ(t.wrapT, uint32_t(GL_REPEAT));
    EXPECT_THAT(read_back(t), ElementsAre(0xFF102030u, 0x80FF0000u, 0x0000FF00u, 0xFFFFFFFFu));

    // The same pixel seen as GL's RGBA bytes: red first.
    uint8_t rgba[16];
    glBindTexture(GL_TEXTURE_2D, t.id);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
    EXPECT_THAT(std::vector<uint8_t>(rgba, rgba + 4), ElementsAre(0x10, 0x20, 0x30, 0xFF));
    glBindTexture(GL_TEXTURE_2D, 0);
}

TEST_F(TextureOnGL, EmptyTextureIsTransparentBlackAndReloadKeepsTheName)
{
    Texture t(2, 2);
    EXPECT_THAT(read_back(t), ElementsAre(0u, 0u, 0u, 0u));

    std::vector<uint32_t> bigger(16);
    for (uint32_t i = 0; i < 16; ++i)
        bigger[i] = 0xFF000000u | i;
    const uint32_t id = t.id;
    t.Reload(bigger.data(), 4, 4);
    EXPECT_EQ(t.id, id);
    EXPECT_EQ(t.width, 4);
    EXPECT_EQ(t.height, 4);
    EXPECT_EQ(level_size(t, GL_TEXTURE_WIDTH), 4);
    EXPECT_EQ(read_back(t), bigger);
}

TEST_F(TextureOnGL, UploadsLeaveTheCachedBindingInPlace)
{
    Texture first(1, 1);
    gls_push_bind_texture(first.id);
    Texture second(3, 3);
    second.Reload(nullptr, 2, 2);
    EXPECT_THAT(gl_cache_differences(ctx), IsEmpty());

    // A bound texture that dies leaves GL on texture 0, and the cache with it: the next texture may get
    // the same name and must then really be bound.
    {
        Texture doomed(1, 1);
        gls_bind_texture(doomed.id);
    }
    EXPECT_THAT(gl_cache_differences(ctx), IsEmpty());
    gls_pop_bind_texture();
    EXPECT_THAT(gl_cache_differences(ctx), IsEmpty());
}

TEST_F(TextureOnGL, UnusableSizesGiveAnEmptyTexture)
{
    Texture negative(-3, 5);
    EXPECT_EQ(negative.width, 0);
    EXPECT_EQ(negative.height, 0);
    Texture huge(1 << 30, 1 << 30);
    EXPECT_EQ(huge.width, 0);
    const uint32_t pixel = 0xFFFFFFFF;
    Texture zero(&pixel, 0, 1);
    EXPECT_EQ(zero.width, 0);

    Texture t(2, 2);
    t.Reload(&pixel, -1, -1);
    EXPECT_EQ(t.width, 0);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

} // namespace
