#include "picture_decode.h"

#include "jpeg_tables.h"

#include <climits>
#include <new>

// The decoder stays private to Media.so, so no other library's copy can be bound in its place.
#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#define STBI_ONLY_JPEG
#define STBI_ONLY_TGA
#define STBI_ONLY_BMP
#define STBI_NO_STDIO
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#include <stb_image.h>
#pragma GCC diagnostic pop

namespace media
{

namespace
{
// The decoder writes some reasons with bytes of the file in them (an unknown PNG chunk's type), which can
// be anything: control characters that would garble the log, or a NUL that leaves the reason empty.
std::string readable_reason(const char* text)
{
    std::string reason;
    for (const char* c = text; c && *c; ++c)
        reason += *c >= 0x20 && *c < 0x7f ? *c : '?';
    return reason.empty() ? "damaged or of an unknown format" : reason;
}
} // namespace

bool decode_picture(const std::vector<uint8_t>& bytes, DecodedPicture& picture, std::string& reason)
{
    if (bytes.empty() || bytes.size() > size_t(INT_MAX)) {
        reason = bytes.empty() ? "empty file" : "file too large";
        return false;
    }
    if (!jpeg_tables_fit(bytes.data(), bytes.size())) {
        reason = "bad Huffman table (more than 256 codes)";
        return false;
    }
    int width = 0, height = 0, channels = 0;
    if (stbi_info_from_memory(bytes.data(), int(bytes.size()), &width, &height, &channels) &&
        (width > kMaxPictureSide || height > kMaxPictureSide ||
         int64_t(width) * int64_t(height) > kMaxPicturePixels)) {
        reason = "picture too large (" + std::to_string(width) + " x " + std::to_string(height) + ")";
        return false;
    }
    stbi_uc* rgba = stbi_load_from_memory(bytes.data(), int(bytes.size()), &width, &height, &channels, 4);
    if (!rgba) {
        reason = readable_reason(stbi_failure_reason());
        return false;
    }
    try {
        picture.pixels.resize(size_t(width) * size_t(height));
    } catch (const std::bad_alloc&) {
        stbi_image_free(rgba);
        reason = "not enough memory (" + std::to_string(width) + " x " + std::to_string(height) + ")";
        return false;
    }
    picture.width = width;
    picture.height = height;
    const stbi_uc* in = rgba;
    for (uint32_t& out : picture.pixels) {
        out = (uint32_t(in[3]) << 24) | (uint32_t(in[0]) << 16) | (uint32_t(in[1]) << 8) | in[2];
        in += 4;
    }
    stbi_image_free(rgba);
    return true;
}

} // namespace media
