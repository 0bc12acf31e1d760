// 'TXTR' resources from picture files: decoded the right way up, shared while held, served from the packed
// data file, and refused with a reason when missing or damaged.
#include "data_file.h"
#include "gl_window.h"
#include "media_session.h"

#include "scene/texture.h"

#include <GL/glew.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace
{

std::string file_bytes(const std::string& name)
{
    std::ifstream in(name, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

// A 4 x 2 PNG: top row red, bottom row blue, the bottom-right pixel half transparent green.
std::string write_two_row_png(const std::string& name)
{
    Picture picture;
    picture.width = 4;
    picture.height = 2;
    for (int i = 0; i < 4; ++i)
        picture.rgba.insert(picture.rgba.end(), {255, 0, 0, 255});
    for (int i = 0; i < 3; ++i)
        picture.rgba.insert(picture.rgba.end(), {0, 0, 255, 255});
    picture.rgba.insert(picture.rgba.end(), {0, 255, 0, 128});
    picture.save_png(name);
    return name;
}

// The texture's pixels as GL holds them: 0xAARRGGBB words, first row (t = 0) first.
std::vector<uint32_t> texels(const Texture& texture)
{
    std::vector<uint32_t> pixels(size_t(texture.width) * size_t(texture.height));
    glBindTexture(GL_TEXTURE_2D, texture.id);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_BGRA, GL_UNSIGNED_BYTE, pixels.data());
    glBindTexture(GL_TEXTURE_2D, 0);
    return pixels;
}

Texture* acquire(const char* name, bool* isStatic = nullptr)
{
    bool scratch = false;
    return static_cast<Texture*>(MediaSession::get().services.AcquireByName(
        kTypeTexture, name, nullptr, false, "test", "image", isStatic ? isStatic : &scratch));
}

class PictureTextures : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(session.ok());
        session.take_log();
    }
    MediaSession& session = MediaSession::get();
};

TEST_F(PictureTextures, APngBecomesAnUprightStaticTexture)
{
    Picture::from_argb(quarter_pixels(4), 4, 4).save_png("quarters.png");
    bool isStatic = false;
    Texture* texture = acquire("quarters.png", &isStatic);
    ASSERT_NE(texture, nullptr);
    EXPECT_TRUE(isStatic);
    EXPECT_EQ(texture->width, 4);
    EXPECT_EQ(texture->height, 4);
    // The picture's top row is the texture's first row (t = 0), as every 'TXTR' holds it.
    EXPECT_EQ(texels(*texture), quarter_pixels(4));
    EXPECT_TRUE(session.log.empty());
    MediaSession::get().services.ReleaseByName(kTypeTexture, "quarters.png", texture);
}

TEST_F(PictureTextures, IsSharedWhileHeldAndDeletedAtTheLastRelease)
{
    write_two_row_png("shared.png");
    Texture* first = acquire("shared.png");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(acquire("shared.png"), first);
    const uint32_t id = first->id;
    EXPECT_NE(MediaSession::get().services.ReleaseByName(kTypeTexture, "shared.png", nullptr), 0);
    EXPECT_TRUE(glIsTexture(id));
    EXPECT_NE(MediaSession::get().services.ReleaseByName(kTypeTexture, "shared.png", first), 0);
    EXPECT_FALSE(glIsTexture(id));
    EXPECT_EQ(MediaSession::get().services.ReleaseByName(kTypeTexture, "shared.png", nullptr), 0)
        << "nothing left to release";
    // Acquired again, it is read again.
    Texture* again = acquire("shared.png");
    ASSERT_NE(again, nullptr);
    MediaSession::get().services.ReleaseByName(kTypeTexture, "shared.png", again);
}

TEST_F(PictureTextures, OtherFormatsDecodeToo)
{
    // An uncompressed 2 x 1 TGA of 24-bit BGR pixels, stored bottom row first: yellow, white.
    const unsigned char tga[] = {0, 0, 2, 0, 0,  0, 0, 0,   0,   0,   0,   0,
                                 2, 0, 1, 0, 24, 0, 0, 255, 255, 255, 255, 255};
    write_file("pixels.tga", std::string(reinterpret_cast<const char*>(tga), sizeof(tga)));
    Texture* texture = acquire("pixels.tga");
    ASSERT_NE(texture, nullptr);
    EXPECT_EQ(texels(*texture), (std::vector<uint32_t>{0xFFFFFF00u, 0xFFFFFFFFu}));
    MediaSession::get().services.ReleaseByName(kTypeTexture, "pixels.tga", texture);
}

TEST_F(PictureTextures, ThePackedDataFileServesPicturesBeforeTheDisk)
{
    const std::string png = file_bytes(write_two_row_png("packed_source.png"));
    const std::string packed =
        "7F 1 " + std::to_string(png.size()) + "\nPICS/LOGO.PNG " + std::to_string(png.size()) + "\n" + png;
    write_file("media.dat", packed);
    ASSERT_TRUE(open_data_file("media.dat"));
    Texture* texture = acquire("pics/logo.png"); // not on disk at all
    ASSERT_NE(texture, nullptr);
    EXPECT_EQ(texture->width, 4);
    EXPECT_EQ(texels(*texture)[0], 0xFFFF0000u);
    MediaSession::get().services.ReleaseByName(kTypeTexture, "pics/logo.png", texture);
    open_data_file(nullptr);
    EXPECT_EQ(acquire("pics/logo.png"), nullptr);
}

TEST_F(PictureTextures, MissingAndDamagedPicturesGiveNullWithAReason)
{
    EXPECT_EQ(acquire("nothing-here.png"), nullptr);
    EXPECT_TRUE(session.logged("Media: cannot open picture 'nothing-here.png'\n"));
    EXPECT_GE(session.log.size(), 2u) << "and the registry's own not-found line";

    write_file("garbage.png", std::string(300, '\x5A'));
    EXPECT_EQ(acquire("garbage.png"), nullptr);
    EXPECT_TRUE(session.logged("Media: cannot decode picture 'garbage.png': "));

    const std::string png = file_bytes(write_two_row_png("whole.png"));
    write_file("truncated.png", png.substr(0, png.size() / 2));
    EXPECT_EQ(acquire("truncated.png"), nullptr);
    EXPECT_TRUE(session.logged("Media: cannot decode picture 'truncated.png': "));

    write_file("empty.png", "");
    EXPECT_EQ(acquire("empty.png"), nullptr);
    EXPECT_TRUE(session.logged("Media: cannot decode picture 'empty.png': empty file"));
    // A failure leaves nothing behind to release.
    EXPECT_EQ(MediaSession::get().services.ReleaseByName(kTypeTexture, "garbage.png", nullptr), 0);

    // Larger than any picture (a sparse file: refused by its size before a byte is read).
    write_file("huge.png", "");
    std::filesystem::resize_file("huge.png", uintmax_t(512) << 20);
    EXPECT_EQ(acquire("huge.png"), nullptr);
    EXPECT_TRUE(
        session.logged("Media: 'huge.png' is larger than a picture or beat file can be (268435456 bytes)\n"));
    std::filesystem::remove("huge.png");
}

TEST_F(PictureTextures, AHeaderClaimingAHugePictureIsRefusedBeforeDecoding)
{
    // 54 bytes of BMP header for 16384 x 16384 pixels of 32 bits and no pixels: decoded, it took minutes
    // and two gigabytes of black pixels before the texture could refuse it.
    const unsigned char bmp[54] = {'B', 'M', 54, 0, 0,    0, 0, 0, 0,    0, 54, 0, 0, 0,  40,
                                   0,   0,   0,  0, 0x40, 0, 0, 0, 0x40, 0, 0,  1, 0, 32, 0};
    write_file("huge.bmp", std::string(reinterpret_cast<const char*>(bmp), sizeof(bmp)));
    EXPECT_EQ(acquire("huge.bmp"), nullptr);
    EXPECT_TRUE(
        session.logged("Media: cannot decode picture 'huge.bmp': picture too large (16384 x 16384)\n"));
}

TEST_F(PictureTextures, ReasonsMadeFromTheFilesBytesStayReadable)
{
    // A PNG header, then a chunk whose type starts with a NUL (the decoder's reason then read as empty),
    // and one whose type holds a line break.
    const std::string header("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR\0\0\0\x10\0\0\0\x10\x08\0\0\0\0\0\0\0\0", 33);
    write_file("nul_chunk.png", header + std::string("\0\0\0\0\0\0\0\x10\0\0\0\0", 12));
    EXPECT_EQ(acquire("nul_chunk.png"), nullptr);
    EXPECT_TRUE(
        session.logged("Media: cannot decode picture 'nul_chunk.png': damaged or of an unknown format\n"));
    write_file("newline_chunk.png", header + std::string("\0\0\0\0\nBCD\0\0\0\0", 12));
    EXPECT_EQ(acquire("newline_chunk.png"), nullptr);
    EXPECT_TRUE(
        session.logged("Media: cannot decode picture 'newline_chunk.png': ?BCD PNG chunk not known\n"));
}

TEST_F(PictureTextures, AJpegTableOfMoreThan256CodesIsRefused)
{
    // A JPEG whose first Huffman table declares 1 + 1 + 255 codes: the decoder copied their lengths past
    // the end of the table (found by the picture fuzz target).
    std::string jpeg("\xff\xd8\xff\xc4\x00\x4b\x00", 7);
    jpeg += std::string("\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\xff", 16);
    jpeg += std::string(300, '\0') + "\xff\xd9";
    write_file("many_codes.jpg", jpeg);
    EXPECT_EQ(acquire("many_codes.jpg"), nullptr);
    EXPECT_TRUE(session.logged(
        "Media: cannot decode picture 'many_codes.jpg': bad Huffman table (more than 256 codes)\n"));

    // Progressive pictures bring tables between their scans: past coded data with a coded 0xFF and a
    // restart marker in it.
    std::string scans("\xff\xd8\xff\xda\x00\x02\x12\xff\x00\x34\xff\xd0\x56", 13);
    write_file("late_table.jpg", scans + jpeg.substr(2));
    EXPECT_EQ(acquire("late_table.jpg"), nullptr);
    EXPECT_TRUE(session.logged("Media: cannot decode picture 'late_table.jpg': bad Huffman table"));

    // Fill bytes before the start of the image.
    write_file("filled.jpg", std::string(40, '\xff') + jpeg);
    EXPECT_EQ(acquire("filled.jpg"), nullptr);
    EXPECT_TRUE(session.logged("Media: cannot decode picture 'filled.jpg': bad Huffman table"));
}

int gRenderAnswers = 0;
Texture* gRenderTexture = nullptr;
void* answer_render(const char* name, void*, bool* outFlag)
{
    if (std::string(name) != "Render1")
        return nullptr;
    ++gRenderAnswers;
    *outFlag = true;
    return gRenderTexture;
}
bool release_render(const char*, void*)
{
    return false;
}

TEST_F(PictureTextures, OffScreenBufferNamesAreLeftToTheirOwnProducer)
{
    // Media registered first: the name passes it by, unlogged, to the producer registered after it.
    Texture offScreen(4, 4);
    gRenderTexture = &offScreen;
    MediaSession::get().services.RegisterType(kTypeTexture, answer_render, release_render);
    EXPECT_EQ(acquire("Render1"), &offScreen);
    EXPECT_EQ(gRenderAnswers, 1);
    EXPECT_FALSE(session.logged("Media:"));
    EXPECT_EQ(acquire("Render2"), nullptr);
    EXPECT_FALSE(session.logged("Media:"));
}

} // namespace
