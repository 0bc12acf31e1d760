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
    std::vector<uint32_t> pixels; // 0xAARRGGBB, rows bottom-up (the picture's last row first)
};

// Decodes a picture file held in memory. False with a short reason when the bytes are not a picture of a
// known format (or are damaged).
bool decode_picture(const std::vector<uint8_t>& bytes, DecodedPicture& picture, std::string& reason);

} // namespace media
