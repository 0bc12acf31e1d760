// Picture files (PNG, JPEG, TGA, BMP) decoded into the pixel layout Texture takes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace media
{

struct DecodedPicture {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint32_t> pixels; // 0xAARRGGBB, the picture's top row first (the 'TXTR' row order)
};

// Pictures are refused before decoding when a side exceeds kMaxPictureSide or the pixel count exceeds
// kMaxPicturePixels: no GL we run on makes textures that large, and a few bytes of header can claim a
// picture of gigabytes that the decoder would fill with black.
constexpr int32_t kMaxPictureSide = 16384;
constexpr int64_t kMaxPicturePixels = int64_t(1) << 25; // 8192 x 4096

// Decodes a picture file held in memory. False with a short reason (never empty, printable ASCII only)
// when the bytes are not a picture of a known format, are damaged, the picture is too large (see above) or
// there is no memory for its pixels.
bool decode_picture(const std::vector<uint8_t>& bytes, DecodedPicture& picture, std::string& reason);

} // namespace media
